// The calculation run of "実 行": prices the entry on the screen into the
// bill and brings the bill page to the front.
#include <optional>
#include <stdexcept>
#include <string>

#include "app/frm_start.h"
#include "data/number_reading.h"
#include "fare/charge_pricing.h"
#include "fare/passenger_pricing.h"
#include "fare/table_value_error.h"

namespace kippurun {

// One-character literals go in as std::string: GCC 12 wrongly warns
// (-Wrestrict) when they are assigned as const char*.
using namespace std::string_literals;

namespace {

// A count box may be empty (cleared for typing) or hold something typed
// that is no whole number; such a count is no passenger at all.
std::string countText(const std::string& text) { return readWholeNumber(text) ? text : "0"; }

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

bool isCoupon(int k) { return k >= 3 && k <= 6; }

// A charge ticket chosen for a section that has no stops to price it from.
class ChargeWithoutStops : public std::runtime_error {
  public:
    ChargeWithoutStops(int section, const std::string& ticket)
        : std::runtime_error("料金区間" + std::string(section == 1 ? "１" : "２") + "の" + ticket +
                             "は、発駅と着駅が選ばれていないため計算できません。" +
                             "区間の駅を選ぶか、料金券を「なし」にしてください。") {}
};

}  // namespace

void frmStart::cmdJikkou_Click() {
    try {
        runCalculation();
    } catch (const TableValueError& e) {
        // Better no bill than a wrong one.
        MeisaiClear();
        prompt_.inform("運賃表エラー", e.what());
    } catch (const ChargeWithoutStops& e) {
        MeisaiClear();
        prompt_.inform("入力エラー", e.what());
    }
}

void frmStart::runCalculation() {
    const int hatsu = cboHatsu.listIndex();
    const int chaku = cboChaku.listIndex();
    const int hatsu3 = cboHatsu3.listIndex();
    const int chaku3 = cboChaku3.listIndex();
    const int hatsu4 = cboHatsu4.listIndex();
    const int chaku4 = cboChaku4.listIndex();

    MeisaiClear();
    lblKenshuM(0).caption = cboKenshu.text();
    const int k = cboKenshu.listIndex();
    lblMaisu.caption = isCoupon(k) ? "冊数" : "枚数";

    const std::array<BillLine, 7> lines = billLines();
    // The amount of each line's subtotal, added up exactly for the total.
    std::array<Yen, 7> amounts{};
    if (k >= 0 && k <= 6) {
        PassengerJourney journey{k,      hatsu, chaku, cboHatsu2.listIndex(), cboChaku2.listIndex(),
                                 hatsu3, chaku3};
        if (std::optional<PassengerUnitPrices> prices = pricePassenger(tables, journey)) {
            const TextBox* counts[] = {&txtNinzu, &txtNinzuK, &txtNinzuG};
            const std::string* units[] = {&prices->adult, &prices->child, &prices->student};
            const Yen* yens[] = {&prices->adultYen, &prices->childYen, &prices->studentYen};
            for (std::size_t i = 0; i < 3; ++i) {
                const BillLine& line = lines[i];
                line.unit->text = *units[i];
                line.count->text = counts[i]->text;
                amounts[i] = yens[i]->subtotal(readCount(line.count->text));
                line.subtotal->text = amounts[i].text();
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        const BillLine& line = lines[static_cast<std::size_t>(i)];
        showLine(line, readCount(line.count->text) != 0);
    }

    priceChargeSection(1, cboKenshu3.listIndex(), hatsu3, chaku3, amounts);
    showChargeLines(1);
    zeroCouponChargeLines(amounts);

    if (frameRyokin2.visible) {
        priceChargeSection(2, cboKenshu4.listIndex(), hatsu4, chaku4, amounts);
        showChargeLines(2);
    } else {
        showLine(lines[5], false);
        showLine(lines[6], false);
        lblKenshuM(2).visible = false;
    }
    zeroCouponChargeLines(amounts);

    Yen total;
    for (const Yen& amount : amounts) total = total.plus(amount);
    txtBill.text = formatTotal(total.value());

    tabFullKey.setTab(3);
}

void frmStart::priceChargeSection(int section, int j, int e, int f, std::array<Yen, 7>& amounts) {
    const std::string adults = countText(txtNinzu.text);
    const std::string children = countText(txtNinzuK.text);
    const std::string students = countText(txtNinzuG.text);
    ChargeSection input{j, e, f, cboKenshu.listIndex(), txtSeason.text, adults, children, students};
    ChargePricing pricing = priceCharge(tables, input);
    // A coupon's bill carries no charge tickets, so nothing would be lost.
    if (pricing.soldWithoutStops && !isCoupon(cboKenshu.listIndex())) {
        throw ChargeWithoutStops(section, section == 1 ? cboKenshu3.text() : cboKenshu4.text());
    }
    if (!pricing.touched) return;

    const std::array<BillLine, 7> lines = billLines();
    const BillLine& adult = lines[section == 1 ? 3 : 5];
    const BillLine& child = lines[section == 1 ? 4 : 6];
    Label& name = lblKenshuM(section);
    if (pricing.lines) {
        const ChargeLines& priced = *pricing.lines;
        if (!priced.captionLast) name.caption = priced.caption;
        adult.unit->text = priced.adult.unit;
        adult.count->text = priced.adult.count;
        adult.subtotal->text = priced.adult.subtotal;
        child.unit->text = priced.child.unit;
        // The child count is the box's text as it stands, an empty box
        // included; the subtotal counts only a whole number of children.
        child.count->text = txtNinzuK.text;
        child.subtotal->text = priced.child.subtotal;
        amounts[section == 1 ? 3 : 5] = priced.adult.amount;
        amounts[section == 1 ? 4 : 6] = priced.child.amount;
        if (priced.captionLast) name.caption = priced.caption;
    }
    lblKenshuM(0).visible = true;
}

void frmStart::showChargeLines(int section) {
    const std::array<BillLine, 7> lines = billLines();
    const BillLine& adult = lines[section == 1 ? 3 : 5];
    const BillLine& child = lines[section == 1 ? 4 : 6];
    const bool adultShown = !isZero(adult.subtotal->text);
    const bool childShown = !isZero(child.subtotal->text);
    showLine(adult, adultShown);
    showLine(child, childShown);
    lblKenshuM(section).visible = adultShown || childShown;
}

void frmStart::zeroCouponChargeLines(std::array<Yen, 7>& amounts) {
    if (!isCoupon(cboKenshu.listIndex())) return;
    for (std::size_t i = 3; i < amounts.size(); ++i) amounts[i] = Yen::fixed(0);
    for (TextBox* box :
         {&txtNin21, &txtSho21, &txtNin22, &txtSho22, &txtNin31, &txtSho31, &txtNin32, &txtSho32})
        box->text = "0"s;
}

void frmStart::tabFullKey_Click() {
    // The total belongs to the bill page; the lines stay for the next look.
    if (tabFullKey.tab() != 3) txtBill.text.clear();
}

}  // namespace kippurun
