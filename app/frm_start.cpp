// The sales screen's controls: construction, the look-up of the keys held
// by position, and the fixed order of the registry.
#include "app/frm_start.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace kippurun {

namespace {

std::string twoDigits(int n) {
    char buf[12];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

using KeyMember = CommandButton frmStart::*;

// The named keys of page 0 by position; the gaps are the empty cmdFullNN keys.
const std::array<KeyMember, 53>& namedFullKeys() {
    static const std::array<KeyMember, 53> keys = [] {
        std::array<KeyMember, 53> k{};
        k[1] = &frmStart::cmdToday;
        k[2] = &frmStart::cmdTomorrow;
        k[3] = &frmStart::cmdAsatte;
        k[5] = &frmStart::cmdO1;
        k[6] = &frmStart::cmdO2;
        k[7] = &frmStart::cmdO3;
        k[8] = &frmStart::cmdO4;
        k[9] = &frmStart::cmdK1;
        k[10] = &frmStart::cmdK2;
        k[11] = &frmStart::cmdK3;
        k[12] = &frmStart::cmdK4;
        k[13] = &frmStart::cmdKatamichi;
        k[14] = &frmStart::cmdOfuku;
        k[15] = &frmStart::cmdRenzoku;
        k[17] = &frmStart::cmd11Kai;
        k[18] = &frmStart::cmd6Kai;
        k[19] = &frmStart::cmdJiyuKai;
        k[21] = &frmStart::cmdJitoku;
        k[22] = &frmStart::cmdShiToku;
        k[23] = &frmStart::cmdGToku;
        k[25] = &frmStart::cmdMarine;
        k[26] = &frmStart::cmdMarineG;
        k[29] = &frmStart::cmdGaku;
        return k;
    }();
    return keys;
}

}  // namespace

frmStart::frmStart(std::filesystem::path untinDir, const Clock& clock, Prompt& prompt,
                   Module1* module)
    : untinDir_(std::move(untinDir)),
      clock_(clock),
      prompt_(prompt),
      module_(module ? module : &ownModule_) {
    cmdFull_.resize(53);
    for (int n = 1; n <= 52; ++n)
        if (!namedFullKeys()[static_cast<std::size_t>(n)])
            cmdFull_[static_cast<std::size_t>(n)] =
                std::make_unique<CommandButton>("cmdFull" + twoDigits(n));
    for (int k = 0; k < 52; ++k)
        cmdEki_.push_back(std::make_unique<CommandButton>("cmdEki" + twoDigits(k)));
    for (int n = 0; n < 42; ++n)
        lblHi_.push_back(std::make_unique<Label>("lblHi" + std::to_string(n)));

    setCaptions();
    setInitialState();
    buildRegistry();
    wireHandlers();
}

CommandButton& frmStart::fullKey(int n) {
    if (n < 1 || n > 52) throw std::out_of_range("fullKey: position " + std::to_string(n));
    KeyMember named = namedFullKeys()[static_cast<std::size_t>(n)];
    return named ? this->*named : *cmdFull_[static_cast<std::size_t>(n)];
}

CommandButton& frmStart::cmdFull(int n) {
    if (n < 1 || n > 52 || !cmdFull_[static_cast<std::size_t>(n)])
        throw std::out_of_range("cmdFull: position " + std::to_string(n));
    return *cmdFull_[static_cast<std::size_t>(n)];
}

CommandButton& frmStart::cmdEki(int k) { return *cmdEki_.at(static_cast<std::size_t>(k)); }

Label& frmStart::lblHi(int n) { return *lblHi_.at(static_cast<std::size_t>(n)); }

std::array<frmStart::BillLine, 7> frmStart::billLines() {
    return {{
        {"01", 0, &lbl01, &txtTan01, &txtNin01, &txtSho01},
        {"02", 0, &lbl02, &txtTan02, &txtNin02, &txtSho02},
        {"03", 0, &lbl03, &txtTan03, &txtNin03, &txtSho03},
        {"21", 1, &lbl21, &txtTan21, &txtNin21, &txtSho21},
        {"22", 1, &lbl22, &txtTan22, &txtNin22, &txtSho22},
        {"31", 2, &lbl31, &txtTan31, &txtNin31, &txtSho31},
        {"32", 2, &lbl32, &txtTan32, &txtNin32, &txtSho32},
    }};
}

void frmStart::wireHandlers() {
    for (int i = 0; i < cmdExit.size(); ++i) cmdExit(i).onClick = [this, i] { cmdExit_Click(i); };
    cmdSettei.onClick = [this] { cmdSettei_Click(); };
    cmdJikkou.onClick = [this] { cmdJikkou_Click(); };
    cmdKaihou.onClick = [this] { cmdKaihou_Click(); };

    cboKenshu.onClick = [this] { cboKenshu_Click(); };
    cboKenshu.onGotFocus = [this] { cboKenshu_GotFocus(); };
    cboKenshu3.onClick = [this] { cboKenshu3_Click(); };
    cboKenshu3.onGotFocus = [this] { cboKenshu3_GotFocus(); };
    cboKenshu4.onClick = [this] { cboKenshu4_Click(); };
    cboKenshu4.onGotFocus = [this] { cboKenshu4_GotFocus(); };

    cboHatsu.onClick = [this] { cboHatsu_Click(); };
    cboChaku.onClick = [this] { cboChaku_Click(); };
    cboHatsu2.onClick = [this] { cboHatsu2_Click(); };
    cboChaku2.onClick = [this] { cboChaku2_Click(); };
    cboHatsu4.onClick = [this] { cboHatsu4_Click(); };
    cboChaku4.onClick = [this] { cboChaku4_Click(); };
    cboHatsu.onGotFocus = [this] { cboHatsu_GotFocus(); };
    cboChaku.onGotFocus = [this] { cboChaku_GotFocus(); };
    cboHatsu2.onGotFocus = [this] { cboHatsu2_GotFocus(); };
    cboChaku2.onGotFocus = [this] { cboChaku2_GotFocus(); };
    cboHatsu3.onGotFocus = [this] { cboHatsu3_GotFocus(); };
    cboChaku3.onGotFocus = [this] { cboChaku3_GotFocus(); };
    cboHatsu4.onGotFocus = [this] { cboHatsu4_GotFocus(); };
    cboChaku4.onGotFocus = [this] { cboChaku4_GotFocus(); };

    txtNinzu.onClick = [this] { txtNinzu_Click(); };
    txtNinzuK.onClick = [this] { txtNinzuK_Click(); };
    txtNinzuG.onClick = [this] { txtNinzuG_Click(); };
    txtNinzu.onChange = [this] { txtNinzu_Change(); };
    txtNinzuK.onChange = [this] { txtNinzuK_Change(); };
    txtNinzuG.onChange = [this] { txtNinzuG_Change(); };
    txtTuki.onClick = [this] { txtTuki_Click(); };
    txtNichi.onClick = [this] { txtNichi_Click(); };

    tabFullKey.onClick = [this] { tabFullKey_Click(); };
    cmdToday.onClick = [this] { cmdToday_Click(); };
    cmdTomorrow.onClick = [this] { cmdTomorrow_Click(); };
    cmdAsatte.onClick = [this] { cmdAsatte_Click(); };
    cmdO1.onClick = [this] { cmdO1_Click(); };
    cmdO2.onClick = [this] { cmdO2_Click(); };
    cmdO3.onClick = [this] { cmdO3_Click(); };
    cmdO4.onClick = [this] { cmdO4_Click(); };
    cmdK1.onClick = [this] { cmdK1_Click(); };
    cmdK2.onClick = [this] { cmdK2_Click(); };
    cmdK3.onClick = [this] { cmdK3_Click(); };
    cmdK4.onClick = [this] { cmdK4_Click(); };
    cmdKatamichi.onClick = [this] { cmdKatamichi_Click(); };
    cmdOfuku.onClick = [this] { cmdOfuku_Click(); };
    cmdRenzoku.onClick = [this] { cmdRenzoku_Click(); };
    cmd11Kai.onClick = [this] { cmd11Kai_Click(); };
    cmd6Kai.onClick = [this] { cmd6Kai_Click(); };
    cmdJiyuKai.onClick = [this] { cmdJiyuKai_Click(); };
    cmdJitoku.onClick = [this] { cmdJitoku_Click(); };
    cmdShiToku.onClick = [this] { cmdShiToku_Click(); };
    cmdGToku.onClick = [this] { cmdGToku_Click(); };
    cmdMarine.onClick = [this] { cmdMarine_Click(); };
    cmdMarineG.onClick = [this] { cmdMarineG_Click(); };
    cmdGaku.onClick = [this] { cmdGaku_Click(); };
    for (int k = 0; k < 52; ++k) cmdEki(k).onClick = [this, k] { cmdEki_Click(k); };

    cmdZenNen.onClick = [this] { cmdZenNen_Click(); };
    cmdYokuNen.onClick = [this] { cmdYokuNen_Click(); };
    cmdZenGetu.onClick = [this] { cmdZenGetu_Click(); };
    cmdYokuGetsu.onClick = [this] { cmdYokuGetsu_Click(); };
    cmdDayKettei.onClick = [this] { cmdDayKettei_Click(); };
    for (int n = 0; n < 42; ++n) lblHi(n).onClick = [this, n] { lblHi_Click(n); };
}

void frmStart::buildRegistry() {
    ControlRegistry& r = registry_;
    // The form itself
    for (int i = 0; i <= 8; ++i) r.add(cmdExit(i));
    r.add(cmdSettei);
    r.add(cmdJikkou);
    r.add(txtDate);
    r.add(txtJoryouken);
    r.add(cmdExit(9));
    r.add(cmdExit(10));
    r.add(cmdKaihou);

    r.add(frameJosha);
    r.add(lblKenshu(0));
    r.add(cboKenshu);
    r.add(lblHizuke);
    r.add(txtTuki);
    r.add(lblSrash);
    r.add(txtNichi);
    r.add(lblKukan1(0));
    r.add(cboHatsu);
    r.add(lblArrow(0));
    r.add(cboChaku);
    r.add(lblKukan1(1));
    r.add(cboHatsu2);
    r.add(lblArrow(1));
    r.add(cboChaku2);
    r.add(txtHatsu);
    r.add(txtChaku);
    r.add(txthatsu2);
    r.add(txtChaku2);
    r.add(lblOtona);
    r.add(txtNinzu);
    r.add(lblShoni);
    r.add(txtNinzuK);
    r.add(lblGaku);
    r.add(txtNinzuG);

    r.add(frameRyokin);
    r.add(lblKenshu(1));
    r.add(cboKenshu3);
    r.add(lblKukan1(2));
    r.add(cboHatsu3);
    r.add(lblArrow(2));
    r.add(cboChaku3);
    r.add(optRyokin1);
    r.add(optRyokin2);
    r.add(frameRyokin2);
    r.add(lblKenshu(2));
    r.add(cboKenshu4);
    r.add(lblKukan1(3));
    r.add(cboHatsu4);
    r.add(lblArrow(3));
    r.add(cboChaku4);
    r.add(txtHatsu4);
    r.add(txtChaku4);

    r.add(optHatsu1);
    r.add(optChaku1);
    r.add(optHatsu2);
    r.add(optChaku2);
    r.add(optHatsu3);
    r.add(optChaku3);
    r.add(optHatsu4);
    r.add(optChaku4);
    r.add(lblKenshu(3));
    r.add(txtBill);

    r.add(tabFullKey);
    for (int n = 1; n <= 52; ++n) r.add(fullKey(n));
    for (int k = 0; k < 52; ++k) r.add(cmdEki(k));

    r.add(picYear);
    r.add(cmdZenNen);
    r.add(txtNannen);
    r.add(cmdYokuNen);
    r.add(picMonth);
    r.add(cmdZenGetu);
    r.add(txtNangatsu);
    r.add(cmdYokuGetsu);
    r.add(picCalender);
    for (int i = 0; i < lblWeek.size(); ++i) r.add(lblWeek(i));
    for (int i = 0; i < lblDay.size(); ++i) r.add(lblDay(i));
    for (int n = 0; n < 42; ++n) r.add(lblHi(n));
    r.add(Label1);
    r.add(txtSeason);
    r.add(cmdDayKettei);
    r.add(txtFocus);
    r.add(txtYear);
    r.add(txtMonth);
    r.add(txtDay);
    r.add(txtWeek);

    r.add(lblTanka);
    r.add(lblMaisu);
    r.add(lblShokei);
    int block = -1;
    for (const BillLine& line : billLines()) {
        if (line.block != block) r.add(lblKenshuM(block = line.block));
        r.add(*line.label);
        r.add(*line.unit);
        r.add(*line.count);
        r.add(*line.subtotal);
    }
}

}  // namespace kippurun
