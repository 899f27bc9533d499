// The ticket-type and count keys, the count boxes, and the release,
// student and settings keys of the sales screen.
#include <string>

#include "app/frm_start.h"
#include "data/data_file_error.h"
#include "data/station_catalogue.h"
#include "data/untin_lock.h"
#include "fare/determinations.h"

namespace kippurun {

using namespace std::string_literals;

namespace {

constexpr int OneWay = 0;
constexpr int Continuous = 2;
constexpr int NoCharge = 5;

bool isCoupon(int type) { return type >= 3 && type <= 6; }

}  // namespace

// ---- Passenger ticket type ----

void frmStart::cboKenshu_Click() {
    // A type the journey does not allow falls back to one-way; that choice
    // runs this handler again, so the rest applies once, for one-way.
    int p = cboKenshu.listIndex();
    const bool refused = (p == 3 && !cmd11Kai.enabled) ||
                         ((p == 4 || p == 6) && !cmd6Kai.enabled) ||
                         (p == 5 && !cmdJiyuKai.enabled);
    if (refused) cboKenshu.setListIndex(OneWay);

    p = cboKenshu.listIndex();
    if (p == Continuous) {
        for (ComboBox* list : {&cboHatsu2, &cboChaku2}) {
            list->clear();
            for (std::string_view name : stationNames()) list->addItem(std::string(name));
        }
        cboHatsu2.setListIndex(cboHatsu.listIndex());
        cboChaku2.setListIndex(cboChaku.listIndex());
        cboHatsu2.visible = true;
        cboChaku2.visible = true;
        lblKukan1(1).visible = true;
        lblArrow(1).visible = true;
        txtHatsu.text = std::to_string(cboHatsu.listIndex());
        txthatsu2.text = std::to_string(cboHatsu2.listIndex());
        txtChaku.text = std::to_string(cboChaku.listIndex());
        txtChaku2.text = std::to_string(cboChaku2.listIndex());
        cmd11Kai.enabled = false;
        cmd6Kai.enabled = false;
        frameRyokin2.visible = true;
        Ghantei();
        chargeSection1Again(true);
        chargeSection2Again();
    } else if (isCoupon(p)) {
        couponRule();
        cboHatsu2.clear();
        cboChaku2.clear();
        cboHatsu2.visible = false;
        cboChaku2.visible = false;
        lblKukan1(1).visible = false;
        frameRyokin.visible = false;
        lblArrow(1).visible = false;
    } else {
        distanceRule();
        cboHatsu2.clear();
        cboChaku2.clear();
        frameRyokin2.visible = needsSecondChargeSection(cboHatsu.listIndex(), cboChaku.listIndex());
        cboHatsu2.visible = false;
        cboChaku2.visible = false;
        lblKukan1(1).visible = false;
        lblArrow(1).visible = false;
    }
}

void frmStart::cmdKatamichi_Click() { cboKenshu.setListIndex(0); }
void frmStart::cmdOfuku_Click() { cboKenshu.setListIndex(1); }
void frmStart::cmdRenzoku_Click() { cboKenshu.setListIndex(2); }
void frmStart::cmd11Kai_Click() { cboKenshu.setListIndex(3); }
void frmStart::cmd6Kai_Click() { cboKenshu.setListIndex(4); }
void frmStart::cmdJiyuKai_Click() { cboKenshu.setListIndex(5); }

// ---- Charge tickets ----

void frmStart::cboKenshu3_Click() {
    const int k = cboKenshu3.listIndex();
    if (k >= 0 && k <= 2) {
        const CommandButton* keys[] = {&cmdJitoku, &cmdShiToku, &cmdGToku};
        if (keys[k]->enabled) {
            ExpressSet();
            ExpressHantei();
        } else {
            cboKenshu3.setListIndex(NoCharge);
        }
        Norikae();
    } else if (k == 3 || k == 4) {
        if ((k == 3 ? cmdMarine : cmdMarineG).enabled) {
            MarineSet();
            MarineSettei();
        } else {
            cboKenshu3.setListIndex(NoCharge);
        }
    }
    // A section that starts and ends at the same stop sells nothing.
    if (cboHatsu3.listIndex() == cboChaku3.listIndex()) cboKenshu3.setListIndex(NoCharge);
}

void frmStart::cboKenshu4_Click() {
    const int k = cboKenshu4.listIndex();
    if (k >= 0 && k <= 2) {
        const CommandButton* keys[] = {&cmdJitoku, &cmdShiToku, &cmdGToku};
        if (!keys[k]->enabled) {
            cboKenshu4.setListIndex(NoCharge);
            return;
        }
        // An express charge is never priced from マリン stops: lists that
        // hold them take the express stops again.
        if (cboHatsu4.count() == MarineStopCount) {
            ExpressSet2();
            ExpressHantei2();
        }
    } else if (k == 3 || k == 4) {
        if (!(k == 3 ? cmdMarine : cmdMarineG).enabled) {
            cboKenshu4.setListIndex(NoCharge);
            return;
        }
        MarineSet2();
        MarineSettei2();
    }
}

void frmStart::cboKenshu_GotFocus() { MeisaiClear(); }
void frmStart::cboKenshu3_GotFocus() { enterList(optRyokin1); }
void frmStart::cboKenshu4_GotFocus() { enterList(optRyokin2); }

void frmStart::expressKey(int type) {
    if (optRyokin1.value()) {
        // Pressed again for the same ticket: the stops stay, but the clerk
        // is asked about the change at 松山 once more.
        if (cboKenshu3.listIndex() == type) Norikae();
        cboKenshu3.setListIndex(type);
    } else {
        cboKenshu4.setListIndex(type);
    }
    if (isCoupon(cboKenshu.listIndex())) cboKenshu.setListIndex(OneWay);
    frameRyokin.visible = true;
}

void frmStart::marineKey(int type) {
    frameRyokin.visible = true;
    (optRyokin1.value() ? cboKenshu3 : cboKenshu4).setListIndex(type);
    if (isCoupon(cboKenshu.listIndex())) cboKenshu.setListIndex(OneWay);
}

void frmStart::cmdJitoku_Click() { expressKey(0); }
void frmStart::cmdShiToku_Click() { expressKey(1); }
void frmStart::cmdGToku_Click() { expressKey(2); }
void frmStart::cmdMarine_Click() { marineKey(3); }
void frmStart::cmdMarineG_Click() { marineKey(4); }

// ---- Passenger counts ----

void frmStart::cmdO1_Click() { txtNinzu.text = "1"s; }
void frmStart::cmdO2_Click() { txtNinzu.text = "2"s; }
void frmStart::cmdO3_Click() { txtNinzu.text = "3"s; }
void frmStart::cmdO4_Click() { txtNinzu.text = "4"s; }
void frmStart::cmdK1_Click() { txtNinzuK.text = "1"s; }
void frmStart::cmdK2_Click() { txtNinzuK.text = "2"s; }
void frmStart::cmdK3_Click() { txtNinzuK.text = "3"s; }
void frmStart::cmdK4_Click() { txtNinzuK.text = "4"s; }

// A click into a count box empties it for the new count; the bill on the
// screen no longer belongs to the entry.
void frmStart::txtNinzu_Click() {
    txtNinzu.text.clear();
    MeisaiClear();
}
void frmStart::txtNinzuK_Click() {
    txtNinzuK.text.clear();
    MeisaiClear();
}
void frmStart::txtNinzuG_Click() {
    txtNinzuG.text.clear();
    MeisaiClear();
}

// However the clerk reached the box, a typed count makes the bill stale.
void frmStart::txtNinzu_Change() { MeisaiClear(); }
void frmStart::txtNinzuK_Change() { MeisaiClear(); }
void frmStart::txtNinzuG_Change() { MeisaiClear(); }

// ---- Release, student and settings keys ----

void frmStart::cmdKaihou_Click() {
    // Every control goes back to the state the form table gives it (the
    // eleven lists emptied with the rest), so that the load step finds the
    // screen a fresh start finds: the load step writes only what it
    // changes. The student fares are no control and stay.
    registry_.restoreInitialState();
    Form_Load();
}

void frmStart::cmdGaku_Click() {
    // The student fares are read on every press. A file that cannot be used
    // is reported and the sale on the screen goes on with the fares held.
    try {
        const UntinLock lock(untinDir_, UntinLockMode::Shared);
        tables.Gakuwari = GakuwariLoad(untinDir_);
    } catch (const DataFileError& e) {
        prompt_.inform("学割運賃表", e.what());
        return;
    }
    lblGaku.visible = true;
    txtNinzuG.visible = true;
    txtNinzuG.text = "1"s;
}

// The settings screen opens in place of this one; the entry in progress
// goes with it.
void frmStart::cmdSettei_Click() {
    if (shell_) shell_->openSettings();
}

}  // namespace kippurun
