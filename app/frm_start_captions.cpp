// The sales screen as it stands before its load step: fixed captions,
// colours, alignment and which controls start hidden.
#include <initializer_list>

#include "app/frm_start.h"

namespace kippurun {

void frmStart::setCaptions() {
    cmdExit(0).caption = "終 了";
    cmdSettei.caption = "設 定";
    cmdJikkou.caption = "実 行";
    txtJoryouken.text = "乗 料 券";
    cmdKaihou.caption = "開 放";

    for (int i = 0; i < 3; ++i) lblKenshu(i).caption = "券種";
    lblKenshu(3).caption = "合計金額";
    lblHizuke.caption = "乗車日";
    lblSrash.caption = "／";
    lblKukan1(0).caption = "区間１";
    lblKukan1(1).caption = "区間２";
    lblKukan1(2).caption = "区間１";
    lblKukan1(3).caption = "区間２";
    for (int i = 0; i < 4; ++i) lblArrow(i).caption = "→";
    lblOtona.caption = "大人";
    lblShoni.caption = "小児";
    lblGaku.caption = "学割";

    frameRyokin.caption = "料金券";
    optRyokin1.caption = "R1";
    optRyokin2.caption = "R2";
    optHatsu1.caption = "H1";
    optHatsu2.caption = "H2";
    optHatsu3.caption = "H3";
    optHatsu4.caption = "H4";
    optChaku1.caption = "C1";
    optChaku2.caption = "C2";
    optChaku3.caption = "C3";
    optChaku4.caption = "C4";

    tabFullKey.captions = {"フルキー", "駅名", "カレンダー", "明細"};
    cmdToday.caption = "本 日";
    cmdTomorrow.caption = "明 日";
    cmdAsatte.caption = "明後日";
    cmdO1.caption = "大人１";
    cmdO2.caption = "大人２";
    cmdO3.caption = "大人３";
    cmdO4.caption = "大人４";
    cmdK1.caption = "小児１";
    cmdK2.caption = "小児２";
    cmdK3.caption = "小児３";
    cmdK4.caption = "小児４";
    cmdKatamichi.caption = "片 道";
    cmdOfuku.caption = "往 復";
    cmdRenzoku.caption = "連 続";
    cmd11Kai.caption = "回数券";
    cmd6Kai.caption = "６枚回数";
    cmdJiyuKai.caption = "自特回数";
    cmdJitoku.caption = "自特急";
    cmdShiToku.caption = "指特急";
    cmdGToku.caption = "グ特急";
    cmdMarine.caption = "マリン指";
    cmdMarineG.caption = "マリンＧ";
    cmdGaku.caption = "学 生";

    cmdZenNen.caption = "▲";
    cmdYokuNen.caption = "▼";
    cmdZenGetu.caption = "▲";
    cmdYokuGetsu.caption = "▼";
    cmdDayKettei.caption = "決定";
    const char* const weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int i = 0; i < 7; ++i) lblWeek(i).caption = weekdays[i];

    lblTanka.caption = "単　価";
    lblMaisu.caption = "枚数";
    lblShokei.caption = "小　計";
    lbl01.caption = "大人";
    lbl02.caption = "小児";
    lbl03.caption = "学割";
    lbl21.caption = "大人";
    lbl22.caption = "小児";
    lbl31.caption = "大人";
    lbl32.caption = "小児";
}

void frmStart::setInitialState() {
    txtJoryouken.backColor = Rgb{192, 255, 192};

    for (TextBox* holder : {&txtHatsu, &txtChaku, &txthatsu2, &txtChaku2, &txtHatsu4, &txtChaku4,
                            &txtFocus, &txtYear, &txtMonth, &txtDay, &txtWeek})
        holder->visible = false;
    for (OptionButton* option : {&optRyokin1, &optRyokin2, &optHatsu1, &optChaku1, &optHatsu2,
                                 &optChaku2, &optHatsu3, &optChaku3, &optHatsu4, &optChaku4})
        option->visible = false;
    lblGaku.visible = false;
    txtNinzuG.visible = false;
    // Journey section 2 belongs to the continuous ticket and charge section 2
    // to a journey that needs it; a fresh sale has neither.
    for (Control* row : {static_cast<Control*>(&cboHatsu2), static_cast<Control*>(&cboChaku2),
                         static_cast<Control*>(&lblKukan1(1)), static_cast<Control*>(&lblArrow(1))})
        row->visible = false;
    frameRyokin2.visible = false;

    // No sale has ten thousand passengers; a longer count would only carry
    // the amounts past what they can hold exactly.
    for (TextBox* count : {&txtNinzu, &txtNinzuK, &txtNinzuG}) {
        count->digitsOnly = true;
        count->maxLength = 4;
    }

    lblWeek(0).foreColor = RgbRed;
    lblWeek(6).foreColor = RgbBlue;
    for (int k = 0; k < lblDay.size(); ++k) {
        Label& day = lblDay(k);
        day.caption = "・";
        day.pointSize = 18;
        day.foreColor = k % 7 == 0 ? RgbRed : k % 7 == 6 ? RgbBlue : RgbBlack;
    }
    for (int n = 0; n < 42; ++n) {
        Label& mark = lblHi(n);
        mark.transparent = true;
        mark.pointSize = 18;
        mark.foreColor = Rgb{255, 128, 128};
    }
    picCalender.geometry.height = 3495;
    txtSeason.centred = true;

    for (const BillLine& line : billLines()) {
        line.unit->rightAligned = true;
        line.count->rightAligned = true;
        line.subtotal->rightAligned = true;
    }
    txtBill.rightAligned = true;
}

}  // namespace kippurun
