// The ticket-type and count keys, the count boxes, and the release,
// student and settings keys of the sales screen.
#include <string>

#include "app/frm_start.h"
#include "data/data_file_error.h"
#include "data/folder_transaction.h"
#include "data/station_catalogue.h"
#include "fare/determinations.h"
#include "fare/ticket_types.h"

namespace kippurun {

using namespace std::string_literals;

namespace {

// The charge-ticket keys fill the charge section the option buttons name.
void expressKey(frmStart& s, int type) {
    if (s.optRyokin1.value()) {
        // Pressed again for the same ticket: the stops stay, but the clerk
        // is asked about the change at 松山 once more.
        if (s.cboKenshu3.listIndex() == type) s.Norikae();
        s.cboKenshu3.setListIndex(type);
    } else {
        s.cboKenshu4.setListIndex(type);
    }
    if (isCoupon(s.cboKenshu.listIndex())) s.cboKenshu.setListIndex(OneWayTicket);
    s.frameRyokin.visible = true;
}

void marineKey(frmStart& s, int type) {
    s.frameRyokin.visible = true;
    (s.optRyokin1.value() ? s.cboKenshu3 : s.cboKenshu4).setListIndex(type);
    if (isCoupon(s.cboKenshu.listIndex())) s.cboKenshu.setListIndex(OneWayTicket);
}

}  // namespace

// ---- What the journey allows ----

const CommandButton* frmStart::permittingKey(TicketPermit permit) const {
    switch (permit) {
        case TicketPermit::Always:
            return nullptr;
        case TicketPermit::ElevenTickets:
            return &cmd11Kai;
        case TicketPermit::SixTickets:
            return &cmd6Kai;
        case TicketPermit::ExpressCoupon:
            return &cmdJiyuKai;
        case TicketPermit::UnreservedExpress:
            return &cmdJitoku;
        case TicketPermit::ReservedExpress:
            return &cmdShiToku;
        case TicketPermit::GreenExpress:
            return &cmdGToku;
        case TicketPermit::MarineSeat:
            return &cmdMarine;
        case TicketPermit::MarineGreen:
            return &cmdMarineG;
    }
    return nullptr;
}

namespace {

bool keyOpen(const CommandButton* key) { return !key || key->enabled; }

}  // namespace

bool frmStart::passengerTypePermitted(int position) const {
    const PassengerType* type = passengerType(position);
    return !type || keyOpen(permittingKey(type->permit));
}

bool frmStart::chargeTypePermitted(int position) const {
    const ChargeType* type = chargeType(position);
    return !type || keyOpen(permittingKey(type->permit));
}

// ---- Passenger ticket type ----

void frmStart::cboKenshu_Click() {
    // A type the journey does not allow falls back to one-way; that choice
    // runs this handler again, so the rest applies once, for one-way.
    int p = cboKenshu.listIndex();
    if (!passengerTypePermitted(p)) cboKenshu.setListIndex(OneWayTicket);

    p = cboKenshu.listIndex();
    if (p == ContinuousTicket) {
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

void frmStart::cmdKatamichi_Click() { cboKenshu.setListIndex(OneWayTicket); }
void frmStart::cmdOfuku_Click() { cboKenshu.setListIndex(ReturnTicket); }
void frmStart::cmdRenzoku_Click() { cboKenshu.setListIndex(ContinuousTicket); }
void frmStart::cmd11Kai_Click() { cboKenshu.setListIndex(ElevenTicketCoupon); }
void frmStart::cmd6Kai_Click() { cboKenshu.setListIndex(SixRideCoupon); }
void frmStart::cmdJiyuKai_Click() { cboKenshu.setListIndex(ExpressCouponTicket); }

// ---- Charge tickets ----

void frmStart::cboKenshu3_Click() {
    const int k = cboKenshu3.listIndex();
    if (chargeKind(k) == TicketKind::Express) {
        if (chargeTypePermitted(k)) {
            ExpressSet();
            ExpressHantei();
        } else {
            cboKenshu3.setListIndex(NoCharge);
        }
        Norikae();
    } else if (chargeKind(k) == TicketKind::Marine) {
        if (chargeTypePermitted(k)) {
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
    if (chargeKind(k) == TicketKind::Express) {
        if (!chargeTypePermitted(k)) {
            cboKenshu4.setListIndex(NoCharge);
            return;
        }
        // An express charge is never priced from マリン stops: lists that
        // hold them take the express stops again.
        if (cboHatsu4.count() == MarineStopCount) {
            ExpressSet2();
            ExpressHantei2();
        }
    } else if (chargeKind(k) == TicketKind::Marine) {
        if (!chargeTypePermitted(k)) {
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

void frmStart::cmdJitoku_Click() { expressKey(*this, UnreservedExpress); }
void frmStart::cmdShiToku_Click() { expressKey(*this, ReservedExpress); }
void frmStart::cmdGToku_Click() { expressKey(*this, GreenExpress); }
void frmStart::cmdMarine_Click() { marineKey(*this, MarineSeat); }
void frmStart::cmdMarineG_Click() { marineKey(*this, MarineGreen); }

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
        tables.Gakuwari =
            readWholeSet({folders_.tables}, [&] { return GakuwariLoad(folders_.tables); });
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
