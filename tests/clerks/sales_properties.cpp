#include "tests/clerks/sales_properties.h"

#include "data/key_layout.h"
#include "data/number_reading.h"
#include "data/station_catalogue.h"

#include <charconv>

namespace kippurun::testing {

namespace {

std::string describe(const ComboBox& list) {
    return list.name() + " at " + std::to_string(list.listIndex()) + " of " +
           std::to_string(list.count());
}

// A number box mirrors its list's position as decimal text.
std::optional<std::string> mirrorFault(const TextBox& box, const ComboBox& list) {
    if (box.text == std::to_string(list.listIndex())) return std::nullopt;
    return box.name() + " holds \"" + box.text + "\" but " + describe(list);
}

// An amount on the bill is whole yen in plain digits.
std::optional<long long> wholeYen(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// "#,###" of a whole amount, the empty text for 0.
std::string grouped(long long amount) {
    if (amount == 0) return {};
    std::string digits = std::to_string(amount < 0 ? -amount : amount);
    std::string out = amount < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::optional<std::string> listFaults(frmStart& s) {
    for (const Control* control : s.controls().all()) {
        if (control->kind() != ControlKind::DropDown) continue;
        const auto& list = static_cast<const ComboBox&>(*control);
        if (list.listIndex() < -1 || list.listIndex() >= list.count())
            return "position outside the list: " + describe(list);
    }
    // The screen keeps a ticket type in every type list and a station in
    // both lists of journey section 1, and in section 2 while it is shown.
    for (const ComboBox* list : {&s.cboKenshu, &s.cboKenshu3, &s.cboKenshu4, &s.cboHatsu,
                                 &s.cboChaku, &s.cboHatsu2, &s.cboChaku2}) {
        if (!list->visible && (list == &s.cboHatsu2 || list == &s.cboChaku2)) continue;
        if (list->listIndex() < 0) return "no selection: " + describe(*list);
    }
    return std::nullopt;
}

std::optional<std::string> numberBoxFaults(frmStart& s) {
    if (auto fault = mirrorFault(s.txtHatsu, s.cboHatsu)) return fault;
    if (auto fault = mirrorFault(s.txtChaku, s.cboChaku)) return fault;
    if (s.cboHatsu2.visible)
        if (auto fault = mirrorFault(s.txthatsu2, s.cboHatsu2)) return fault;
    if (s.cboChaku2.visible)
        if (auto fault = mirrorFault(s.txtChaku2, s.cboChaku2)) return fault;
    if (s.frameRyokin2.visible) {
        // A stop list just refilled has no selection until a stop is chosen;
        // its box keeps the last stop until then.
        if (s.cboHatsu4.listIndex() >= 0)
            if (auto fault = mirrorFault(s.txtHatsu4, s.cboHatsu4)) return fault;
        if (s.cboChaku4.listIndex() >= 0)
            if (auto fault = mirrorFault(s.txtChaku4, s.cboChaku4)) return fault;
    }
    return std::nullopt;
}

// A charge section never prices from stops of another kind: a マリン ticket
// over the 15 マリン stops, an express ticket never over them. (Section 2's
// lists may still be empty for an express ticket the run then prices not.)
std::optional<std::string> chargeStopFaults(frmStart& s) {
    struct Section {
        const ComboBox& type;
        const ComboBox& hatsu;
        bool inUse;
    };
    const Section sections[] = {{s.cboKenshu3, s.cboHatsu3, true},
                                {s.cboKenshu4, s.cboHatsu4, s.frameRyokin2.visible}};
    for (const Section& section : sections) {
        const int type = section.type.listIndex();
        if (!section.inUse || type < 0 || type > 4) continue;
        const bool marineStops = section.hatsu.count() == MarineStopCount;
        if (marineStops != (type >= 3))
            return section.type.name() + " \"" + section.type.text() + "\" over " +
                   describe(section.hatsu);
    }
    return std::nullopt;
}

std::optional<std::string> billFaults(frmStart& s) {
    long long shownSum = 0;
    for (const frmStart::BillLine& line : s.billLines()) {
        const TextBox& subtotal = *line.subtotal;
        if (line.block > 0 && subtotal.visible && !subtotal.text.empty()) {
            const Label& name = s.lblKenshuM(line.block);
            if (name.caption.empty() || !name.visible)
                return "charge line " + std::string(line.suffix) + " shows \"" + subtotal.text +
                       "\" under no ticket name";
        }
        if (!subtotal.visible || subtotal.text.empty()) continue;
        const std::optional<long long> yen = wholeYen(subtotal.text);
        if (!yen) return subtotal.name() + " holds \"" + subtotal.text + "\", no whole amount";
        shownSum += *yen;
    }
    // The total is shown only with the bill page in front, and is then the
    // sum of the lines the clerk sees.
    if (!s.txtBill.text.empty() && s.txtBill.text != grouped(shownSum))
        return "total \"" + s.txtBill.text + "\" but the lines shown add up to \"" +
               grouped(shownSum) + "\"";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> salesScreenFault(frmStart& screen) {
    if (auto fault = listFaults(screen)) return fault;
    if (auto fault = numberBoxFaults(screen)) return fault;
    if (auto fault = chargeStopFaults(screen)) return fault;
    return billFaults(screen);
}

namespace {

// The station a text of the grid or start pair names; -1 for none.
int stationIn(const std::string& text) {
    const std::optional<long long> value = readWholeNumber(text);
    return value && *value >= 0 && *value < StationCount ? static_cast<int>(*value) : -1;
}

}  // namespace

std::optional<std::string> settingsScreenFault(frmSettei& screen) {
    for (int k = 0; k < StationKeyCount; ++k) {
        const std::string& cell = screen.grid[static_cast<std::size_t>(k)];
        const int station = stationIn(cell);
        const std::string number = keyNumberText(k);
        const std::string expected = station >= 0 ? std::string(*stationName(station)) : number;
        if (screen.cmdEki(k).caption != expected)
            return "cmdEki" + number + " shows \"" + screen.cmdEki(k).caption +
                   "\" for the cell \"" + cell + "\"";
    }
    const TextBox* boxes[] = {&screen.txtHatsu, &screen.txtChaku};
    for (std::size_t i = 0; i < 2; ++i) {
        const int station = stationIn(screen.start[i]);
        if (station >= 0 && boxes[i]->text != *stationName(station))
            return boxes[i]->name() + " shows \"" + boxes[i]->text + "\" for the start value \"" +
                   screen.start[i] + "\"";
    }
    return std::nullopt;
}

}  // namespace kippurun::testing
