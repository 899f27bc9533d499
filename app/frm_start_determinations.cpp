// The determinations of the sales screen: which charge stops the journey
// maps to, and which ticket keys the journey allows. The rules decide; these
// procedures write the decisions into the controls in the screen's order,
// so that every selection they change runs that list's own handling.
#include <string>

#include "app/frm_start.h"
#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "fare/determinations.h"
#include "fare/ticket_types.h"

namespace kippurun {

using namespace std::string_literals;

namespace {

constexpr int MatsuyamaStop = 17;  // 松山 in the express stop list

// A number box holds a list position as decimal text. Anything else (empty,
// typed text, a number far outside) reads as no station: -1, which every
// table look-up treats as outside the table.
int numberIn(const TextBox& box) {
    const std::optional<long long> value = readWholeNumber(box.text);
    if (!value || *value < 0 || *value > 1'000'000) return -1;
    return static_cast<int>(*value);
}

// A stop the rule could not map leaves the list's selection as it is.
void selectStop(ComboBox& list, int stop) {
    if (stop != NotSet) list.setListIndex(stop);
}

void fillStops(ComboBox& hatsu, ComboBox& chaku, const int* stations, int count) {
    for (ComboBox* list : {&hatsu, &chaku}) {
        list->clear();
        for (int i = 0; i < count; ++i) list->addItem(std::string(*stationName(stations[i])));
    }
}

void applyPlan(ComboBox& hatsu, ComboBox& chaku, const StopPlan& plan) {
    if (plan.down) {
        selectStop(hatsu, plan.departure);
        selectStop(chaku, plan.arrival);
    } else {
        selectStop(chaku, plan.arrival);
        selectStop(hatsu, plan.departure);
    }
}

}  // namespace

// ---- Express stops ----

void frmStart::ExpressSet() {
    fillStops(cboHatsu3, cboChaku3, ExpressStopList().data(), ExpressStopCount);
}

void frmStart::ExpressSet2() {
    fillStops(cboHatsu4, cboChaku4, ExpressStopList().data(), ExpressStopCount);
}

void frmStart::ExpressHantei() {
    const StopPlan plan = expressStops(cboHatsu.listIndex(), cboChaku.listIndex());
    applyPlan(cboHatsu3, cboChaku3, plan);
    if (expressAllowed(plan.down, cboHatsu3.listIndex(), cboChaku3.listIndex())) {
        expressKeys(true);
        return;
    }
    expressKeys(false);
    cmdJiyuKai.enabled = false;
    cboKenshu3.setListIndex(NoCharge);
}

void frmStart::ExpressHantei2() {
    if (!cboHatsu2.visible) return;
    ExpressSet2();
    const StopPlan plan = expressStops(cboHatsu2.listIndex(), cboChaku2.listIndex());
    if (plan.down) {
        selectStop(cboHatsu4, plan.departure);
        selectStop(cboChaku4, plan.arrival);
    } else {
        // The up direction goes through the number boxes; a station that maps
        // to no stop leaves the box's previous text.
        if (plan.arrival != NotSet) txtChaku4.text = std::to_string(plan.arrival);
        if (plan.departure != NotSet) txtHatsu4.text = std::to_string(plan.departure);
        if (!txtHatsu4.text.empty()) cboHatsu4.setListIndex(numberIn(txtHatsu4));
        if (!txtChaku4.text.empty()) cboChaku4.setListIndex(numberIn(txtChaku4));
    }

    // Section 1 allowing an express ticket is enough; the express coupon is
    // never sold for a continuous journey.
    const bool allowed = cmdJitoku.enabled ||
                         expressAllowed(plan.down, cboHatsu4.listIndex(), cboChaku4.listIndex());
    expressKeys(allowed);
    cmdJiyuKai.enabled = false;
}

void frmStart::Norikae() {
    if (chargeKind(cboKenshu3.listIndex()) != TicketKind::Express) return;
    // On a continuous ticket charge section 2 belongs to journey section 2;
    // splitting section 1 at 松山 would overwrite it (Yes) or drop it (No).
    if (cboHatsu2.visible) return;
    // Only a section leaving the 岡山 end for 松山 or beyond can change there.
    const int s = cboHatsu3.listIndex();
    const int t = cboChaku3.listIndex();
    if (s < 0 || s > 1 || t < MatsuyamaStop) return;

    if (prompt_.ask("乗継判定", "松山乗換えですか？", PromptButtons::YesNo) == PromptAnswer::Yes) {
        frameRyokin2.visible = true;
        ExpressSet2();
        cboKenshu4.setListIndex(cboKenshu3.listIndex());
        cboChaku4.setListIndex(cboChaku3.listIndex());
        cboChaku3.setListIndex(MatsuyamaStop);
        cboHatsu4.setListIndex(MatsuyamaStop);
    } else {
        frameRyokin2.visible = false;
        cboKenshu4.setListIndex(NoCharge);
    }
}

void frmStart::expressKeys(bool allowed) {
    cmdJitoku.enabled = allowed;
    cmdShiToku.enabled = allowed;
    cmdGToku.enabled = allowed;
}

// ---- マリン stops ----

void frmStart::MarineHantei() {
    bool allowed = marineAllowed(tables, numberIn(txtChaku), cboHatsu.listIndex());
    if (cboHatsu2.visible)
        allowed = allowed || marineAllowed(tables, numberIn(txtChaku2), cboHatsu2.listIndex());
    cmdMarine.enabled = allowed;
    cmdMarineG.enabled = allowed;
}

void frmStart::MarineSet() {
    fillStops(cboHatsu3, cboChaku3, MarineStopList().data(), MarineStopCount);
}

void frmStart::MarineSet2() {
    fillStops(cboHatsu4, cboChaku4, MarineStopList().data(), MarineStopCount);
}

void frmStart::MarineSettei() {
    applyPlan(cboHatsu3, cboChaku3, marineStops(cboHatsu.listIndex(), cboChaku.listIndex()));
}

void frmStart::MarineSettei2() {
    applyPlan(cboHatsu4, cboChaku4, marineStops(cboHatsu2.listIndex(), cboChaku2.listIndex()));
}

// ---- Student discount and coupons ----

void frmStart::closeStudentDiscount() {
    cmdGaku.enabled = false;
    lblGaku.visible = false;
    txtNinzuG.visible = false;
    txtNinzuG.text = "0"s;
}

void frmStart::Ghantei() {
    bool allowed = studentDiscountAllowed(tables, numberIn(txtChaku), cboHatsu.listIndex());
    if (cboHatsu2.visible)
        allowed =
            allowed || studentDiscountAllowed(tables, numberIn(txtChaku2), cboHatsu2.listIndex());
    if (allowed)
        cmdGaku.enabled = true;
    else
        closeStudentDiscount();
}

void frmStart::distanceRule() {
    if (distanceAllowsStudent(tables, numberIn(txtChaku), numberIn(txtHatsu)))
        cmdGaku.enabled = true;
    else
        closeStudentDiscount();
}

void frmStart::couponRule() { closeStudentDiscount(); }

void frmStart::KHantei() {
    if (std::optional<CouponKeys> keys =
            couponKeys(tables, numberIn(txtChaku), cboHatsu.listIndex())) {
        cmd11Kai.enabled = keys->elevenTickets;
        cmd6Kai.enabled = keys->sixTickets;
    }
    // A coupon type whose key has just closed falls back to one-way, and the
    // current type's student and section-2 settings apply again.
    cboKenshu_Click();
}

void frmStart::JiKaiHantei() {
    if (expressCouponAllowed(tables, numberIn(txtChaku), cboHatsu.listIndex())) {
        cmdJiyuKai.enabled = true;
        return;
    }
    cmdJiyuKai.enabled = false;
    if (cboKenshu.listIndex() == ExpressCouponTicket) cboKenshu.setListIndex(OneWayTicket);
}

}  // namespace kippurun
