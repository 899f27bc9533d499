// The calculation run of "実 行": prices the entry on the screen into the
// bill and brings the bill page to the front.
#include <optional>
#include <stdexcept>
#include <string>

#include "app/frm_start.h"
#include "calendar/season_rule.h"
#include "data/number_reading.h"
#include "fare/charge_pricing.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"
#include "fare/ticket_types.h"

namespace kippurun {

using namespace std::string_literals;

namespace {

// A subtotal box left empty (nothing priced) counts as 0.
bool isZero(const std::string& text) {
    std::optional<double> value = readStrict(text);
    return !value || *value == 0;
}

void showLine(const frmStart::BillLine& line, bool shown) {
    line.label->visible = shown;
    line.unit->visible = shown;
    line.count->visible = shown;
    line.subtotal->visible = shown;
}

// A charge ticket chosen for a section that has no stops to price it from.
class ChargeWithoutStops : public std::runtime_error {
  public:
    ChargeWithoutStops(int section, const std::string& ticket)
        : std::runtime_error("料金区間" + std::string(section == 1 ? "１" : "２") + "の" + ticket +
                             "は、発駅と着駅が選ばれていないため計算できません。" +
                             "区間の駅を選ぶか、料金券を「なし」にしてください。") {}
};

void priceChargeSection(frmStart& s, int section, int j, int e, int f,
                        std::array<Yen, 7>& amounts) {
    // A count box may be empty (cleared for typing) or hold something typed
    // that is no whole number; such a count is no passenger at all.
    const ChargeSection input{.j = j,
                              .e = e,
                              .f = f,
                              .k = s.cboKenshu.listIndex(),
                              .season = seasonNamed(s.txtSeason.text),
                              .adults = readCount(s.txtNinzu.text),
                              .children = readCount(s.txtNinzuK.text),
                              .students = readCount(s.txtNinzuG.text)};
    const ChargePricing pricing = priceCharge(s.tables, input);
    // A coupon's bill carries no charge tickets, so nothing would be lost.
    if (pricing.soldWithoutStops && !isCoupon(s.cboKenshu.listIndex())) {
        throw ChargeWithoutStops(section, section == 1 ? s.cboKenshu3.text() : s.cboKenshu4.text());
    }
    if (!pricing.touched) return;

    const std::array<frmStart::BillLine, 7> lines = s.billLines();
    const frmStart::BillLine& adult = lines[section == 1 ? 3 : 5];
    const frmStart::BillLine& child = lines[section == 1 ? 4 : 6];
    Label& name = s.lblKenshuM(section);
    if (pricing.lines) {
        const ChargeLines& priced = *pricing.lines;
        // マリン tickets write their lines before the caption.
        const bool captionLast = chargeKind(j) == TicketKind::Marine;
        if (!captionLast) name.caption = priced.caption;
        adult.unit->text = priced.adult.unit;
        adult.count->text = std::to_string(priced.adult.count);
        adult.subtotal->text = priced.adult.amount.text();
        child.unit->text = priced.child.unit;
        // The child count is the box's text as it stands, an empty box
        // included; the subtotal counts only a whole number of children.
        child.count->text = s.txtNinzuK.text;
        child.subtotal->text = priced.child.amount.text();
        amounts[section == 1 ? 3 : 5] = priced.adult.amount;
        amounts[section == 1 ? 4 : 6] = priced.child.amount;
        if (captionLast) name.caption = priced.caption;
    }
    s.lblKenshuM(0).visible = true;
}

void showChargeLines(frmStart& s, int section) {
    const std::array<frmStart::BillLine, 7> lines = s.billLines();
    const frmStart::BillLine& adult = lines[section == 1 ? 3 : 5];
    const frmStart::BillLine& child = lines[section == 1 ? 4 : 6];
    const bool adultShown = !isZero(adult.subtotal->text);
    const bool childShown = !isZero(child.subtotal->text);
    showLine(adult, adultShown);
    showLine(child, childShown);
    s.lblKenshuM(section).visible = adultShown || childShown;
}

void zeroCouponChargeLines(frmStart& s, std::array<Yen, 7>& amounts) {
    if (!isCoupon(s.cboKenshu.listIndex())) return;
    for (std::size_t i = 3; i < amounts.size(); ++i) amounts[i] = Yen::fixed(0);
    const std::array<frmStart::BillLine, 7> lines = s.billLines();
    for (std::size_t i = 3; i < lines.size(); ++i)
        for (TextBox* box : {lines[i].count, lines[i].subtotal}) box->text = "0"s;
}

void runCalculation(frmStart& s) {
    const int hatsu = s.cboHatsu.listIndex();
    const int chaku = s.cboChaku.listIndex();
    const int hatsu3 = s.cboHatsu3.listIndex();
    const int chaku3 = s.cboChaku3.listIndex();
    const int hatsu4 = s.cboHatsu4.listIndex();
    const int chaku4 = s.cboChaku4.listIndex();

    s.MeisaiClear();
    s.lblKenshuM(0).caption = s.cboKenshu.text();
    const int k = s.cboKenshu.listIndex();
    s.lblMaisu.caption = isCoupon(k) ? "冊数" : "枚数";

    const std::array<frmStart::BillLine, 7> lines = s.billLines();
    // The amount of each line's subtotal, added up exactly for the total.
    std::array<Yen, 7> amounts{};
    if (passengerType(k) != nullptr) {
        PassengerJourney journey{
            k, hatsu, chaku, s.cboHatsu2.listIndex(), s.cboChaku2.listIndex(), hatsu3, chaku3};
        if (std::optional<PassengerUnitPrices> prices = pricePassenger(s.tables, journey)) {
            const TextBox* counts[] = {&s.txtNinzu, &s.txtNinzuK, &s.txtNinzuG};
            const std::string* units[] = {&prices->adult, &prices->child, &prices->student};
            const Yen* yens[] = {&prices->adultYen, &prices->childYen, &prices->studentYen};
            for (std::size_t i = 0; i < 3; ++i) {
                const frmStart::BillLine& line = lines[i];
                line.unit->text = *units[i];
                line.count->text = counts[i]->text;
                amounts[i] = yens[i]->subtotal(readCount(line.count->text));
                line.subtotal->text = amounts[i].text();
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        const frmStart::BillLine& line = lines[static_cast<std::size_t>(i)];
        showLine(line, readCount(line.count->text) != 0);
    }

    priceChargeSection(s, 1, s.cboKenshu3.listIndex(), hatsu3, chaku3, amounts);
    showChargeLines(s, 1);
    zeroCouponChargeLines(s, amounts);

    if (s.frameRyokin2.visible) {
        priceChargeSection(s, 2, s.cboKenshu4.listIndex(), hatsu4, chaku4, amounts);
        showChargeLines(s, 2);
    } else {
        showLine(lines[5], false);
        showLine(lines[6], false);
        s.lblKenshuM(2).visible = false;
    }
    zeroCouponChargeLines(s, amounts);

    Yen total;
    for (const Yen& amount : amounts) total = total.plus(amount);
    s.txtBill.text = formatTotal(total.value());

    s.tabFullKey.setTab(3);
}

}  // namespace

void frmStart::cmdJikkou_Click() {
    try {
        runCalculation(*this);
    } catch (const TableValueError& e) {
        // Better no bill than a wrong one.
        MeisaiClear();
        prompt_.inform("運賃表エラー", e.what());
    } catch (const ChargeWithoutStops& e) {
        MeisaiClear();
        prompt_.inform("入力エラー", e.what());
    }
}

void frmStart::tabFullKey_Click() {
    // The total belongs to the bill page; the lines stay for the next look.
    if (tabFullKey.tab() != 3) txtBill.text.clear();
}

}  // namespace kippurun
