// Station entry on the sales screen: the station lists and their number
// boxes, the determinations each change runs, the station keys and the
// target list they fill.
#include <string>

#include "app/frm_start.h"
#include "fare/determinations.h"
#include "fare/ticket_types.h"

namespace kippurun {

namespace {

// After a マリン fill: a stop the journey has none of (beyond 坂出) turns
// the section's ticket to "なし", as a refused type; true when it did.
bool marineStopsMissing(ComboBox& type, const ComboBox& hatsu, const ComboBox& chaku) {
    if (hatsu.listIndex() >= 0 && chaku.listIndex() >= 0) return false;
    type.setListIndex(NoCharge);
    return true;
}

}  // namespace

// The charge stops of section 1 follow journey section 1 in the kind of
// stop the section's ticket type needs ("なし" keeps the express stops).
// A マリン ticket the journey has no stops for becomes "なし" and takes the
// express stops as "なし" does.
void frmStart::chargeBranch() {
    const int p = cboKenshu3.listIndex();
    if (chargeKind(p) != TicketKind::Express && p != NoCharge) {
        MarineSet();
        MarineSettei();
        if (!marineStopsMissing(cboKenshu3, cboHatsu3, cboChaku3)) return;
    }
    ExpressSet();
    ExpressHantei();
    chargeSection2Again();
}

// ---- Re-deriving a charge section in the stops of its type ----

namespace {

// What the express determination decides from the journey, without the
// lists: the stops the journey maps to move in its direction.
bool journeyAllowsExpress(int departure, int arrival) {
    const StopPlan plan = expressStops(departure, arrival);
    return plan.departure != NotSet && plan.arrival != NotSet &&
           expressAllowed(plan.down, plan.departure, plan.arrival);
}

}  // namespace

void frmStart::chargeSection1Again(bool refill) {
    if (chargeKind(cboKenshu3.listIndex()) == TicketKind::Marine) {
        MarineSet();
        MarineSettei();
        if (!marineStopsMissing(cboKenshu3, cboHatsu3, cboChaku3)) {
            // The express keys as the express determination leaves them;
            // the マリン ticket is no express ticket and stays.
            const bool allowed = journeyAllowsExpress(cboHatsu.listIndex(), cboChaku.listIndex());
            expressKeys(allowed);
            if (!allowed) cmdJiyuKai.enabled = false;
            return;
        }
        refill = true;
    }
    // Stops of another kind left by "なし" are no ground for the express keys.
    if (refill || cboHatsu3.count() != ExpressStopCount) ExpressSet();
    ExpressHantei();
}

void frmStart::chargeSection2Again() {
    if (!cboHatsu2.visible) return;
    if (chargeKind(cboKenshu4.listIndex()) == TicketKind::Marine) {
        MarineSet2();
        MarineSettei2();
        if (!marineStopsMissing(cboKenshu4, cboHatsu4, cboChaku4)) {
            const bool allowed = cmdJitoku.enabled ||
                                 journeyAllowsExpress(cboHatsu2.listIndex(), cboChaku2.listIndex());
            expressKeys(allowed);
            cmdJiyuKai.enabled = false;
            return;
        }
    }
    ExpressHantei2();
}

void frmStart::cboHatsu_Click() {
    txtHatsu.text = std::to_string(cboHatsu.listIndex());
    Ghantei();
    // Coupons are never sold for a continuous journey.
    if (cboHatsu2.visible) {
        cmd11Kai.enabled = false;
        cmd6Kai.enabled = false;
    } else {
        KHantei();
    }
    MarineHantei();
    JiKaiHantei();
    chargeBranch();
    Norikae();
}

void frmStart::cboChaku_Click() {
    const int arrival = cboChaku.listIndex();
    txtChaku.text = std::to_string(arrival);
    if (cboHatsu2.visible) {
        // Section 2 departs where section 1 arrives.
        cboHatsu2.setListIndex(arrival);
        txthatsu2.text = std::to_string(arrival);
        cmd11Kai.enabled = false;
        cmd6Kai.enabled = false;
    } else {
        KHantei();
    }
    Ghantei();
    MarineHantei();
    JiKaiHantei();
    chargeBranch();
    Norikae();
}

void frmStart::cboHatsu2_Click() {
    const int departure = cboHatsu2.listIndex();
    txthatsu2.text = std::to_string(departure);
    Ghantei();
    if (cboHatsu2.visible) {
        // Section 1 arrives where section 2 departs; the list already at that
        // station runs nothing, so the two lists never chase each other.
        cboChaku.setListIndex(departure);
        txtChaku.text = std::to_string(departure);
    }
    chargeSection1Again(false);
    chargeSection2Again();
    MarineHantei();
}

void frmStart::cboChaku2_Click() {
    txtChaku2.text = std::to_string(cboChaku2.listIndex());
    Ghantei();
    chargeSection1Again(false);
    chargeSection2Again();
    MarineHantei();
}

void frmStart::cboHatsu4_Click() { txtHatsu4.text = std::to_string(cboHatsu4.listIndex()); }
void frmStart::cboChaku4_Click() { txtChaku4.text = std::to_string(cboChaku4.listIndex()); }

// Entering a list makes it the station keys' target (or the charge keys'
// section); a bill on the screen must belong to the entry shown, so
// entering any list empties it.
void frmStart::enterList(OptionButton& target) {
    target.select();
    MeisaiClear();
}

void frmStart::cboHatsu_GotFocus() { enterList(optHatsu1); }
void frmStart::cboChaku_GotFocus() { enterList(optChaku1); }
void frmStart::cboHatsu2_GotFocus() { enterList(optHatsu2); }
void frmStart::cboChaku2_GotFocus() { enterList(optChaku2); }
void frmStart::cboHatsu3_GotFocus() { enterList(optHatsu3); }
void frmStart::cboChaku3_GotFocus() { enterList(optChaku3); }
void frmStart::cboHatsu4_GotFocus() { enterList(optHatsu4); }
void frmStart::cboChaku4_GotFocus() { enterList(optChaku4); }

// The departure list gives the captions; an unassigned key shows nothing.
void frmStart::Eki1Set() {
    captionStationKeys(
        module(), cboHatsu, [this](int k) -> CommandButton& { return cmdEki(k); },
        [](int) { return std::string(); });
}

// A key sets its station in the target list; a charge list takes the
// station's stop of the kind its ticket type shows. A list that does not
// hold the position (section 2 after leaving the continuous ticket) refuses
// it and the press changes nothing.
void frmStart::cmdEki_Click(int k) {
    const StationKeyEntry& entry = module().key(k);
    if (entry.station == NotSet) return;

    struct Target {
        OptionButton* option;
        ComboBox* list;
        ComboBox* type;  // the charge-ticket list of a charge section
    };
    const Target targets[] = {
        {&optHatsu1, &cboHatsu, nullptr},      {&optChaku1, &cboChaku, nullptr},
        {&optHatsu2, &cboHatsu2, nullptr},     {&optChaku2, &cboChaku2, nullptr},
        {&optHatsu3, &cboHatsu3, &cboKenshu3}, {&optChaku3, &cboChaku3, &cboKenshu3},
        {&optHatsu4, &cboHatsu4, &cboKenshu4}, {&optChaku4, &cboChaku4, &cboKenshu4},
    };
    for (const Target& target : targets) {
        if (!target.option->value()) continue;
        if (!target.type) {
            target.list->setListIndex(entry.station);
            return;
        }
        const int p = target.type->listIndex();
        if (chargeKind(p) == TicketKind::Express && entry.expressIndex != NotSet)
            target.list->setListIndex(entry.expressIndex);
        else if (chargeKind(p) == TicketKind::Marine && entry.marineIndex != NotSet)
            target.list->setListIndex(entry.marineIndex);
        return;
    }
}

}  // namespace kippurun
