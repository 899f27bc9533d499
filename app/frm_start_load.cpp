// The sales screen's load step, and the way out of the program.
#include <string>
#include <utility>

#include "app/frm_start.h"
#include "app/table_prefetch.h"
#include "data/key_layout.h"
#include "data/station_catalogue.h"
#include "fare/ticket_types.h"

namespace kippurun {

using namespace std::string_literals;

void frmStart::Form_Load() {
    // A set read ahead was read as this step would read it.
    std::optional<CounterSet> ahead;
    if (const auto source = std::exchange(tablesAhead_, nullptr)) ahead = source();

    dateBoxesFromToday();

    for (const BillLine& line : billLines())
        for (TextBox* box : {line.unit, line.count, line.subtotal}) box->text.clear();
    txtBill.text.clear();

    // The student fares are read only by the student key and survive a reload.
    CounterSet loaded = ahead ? std::move(*ahead) : readCounterSet(folders_);
    loaded.tables.Gakuwari = std::move(tables.Gakuwari);
    tables = std::move(loaded.tables);

    for (const PassengerType& type : PassengerTypes) cboKenshu.addItem(std::string(type.name));
    cboKenshu.setListIndex(OneWayTicket);

    txtNinzu.text = "1"s;
    txtNinzuK.text = "0"s;
    txtNinzuG.text = "0"s;

    for (std::string_view name : stationNames()) cboHatsu.addItem(std::string(name));
    for (std::string_view name : stationNames()) cboChaku.addItem(std::string(name));

    for (ComboBox* list : {&cboKenshu3, &cboKenshu4})
        for (const ChargeType& type : ChargeTypes) list->addItem(std::string(type.name));
    cboKenshu3.setListIndex(NoCharge);
    cboKenshu4.setListIndex(NoCharge);

    module().ekimei = std::move(loaded.ekimei);
    Eki1Set();

    cboHatsu.setListIndex(tables.start.departure);
    cboChaku.setListIndex(tables.start.arrival);
    txtChaku.text = std::to_string(cboChaku.listIndex());

    JiKaiHantei();

    tabFullKey.setTab(0);
    frameRyokin.visible = false;
    optRyokin1.select();
    optHatsu1.select();

    KHantei();
    Ghantei();

    // The calendar is drawn for the month Today() sets; drawing leaves the
    // date boxes on the month's first day, so Today() runs again to put
    // them, and the day's mark, back on today.
    Today();
    Calender();
    Today();

    ExpressSet();
    ExpressHantei();
    MarineHantei();

    cmdDayKettei_Click();
}

void frmStart::cmdExit_Click(int) {
    if (prompt_.ask("終了", "キップルンを終了しますか？", PromptButtons::YesNo) ==
        PromptAnswer::Yes)
        ended_ = true;
}

}  // namespace kippurun
