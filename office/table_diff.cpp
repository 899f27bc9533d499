#include "office/table_diff.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "calendar/season_rule.h"
#include "data/amount.h"
#include "data/folder_transaction.h"
#include "data/station_catalogue.h"
#include "data/value_scanner.h"
#include "fare/determinations.h"
#include "office/csv_row.h"
#include "office/table_check.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

// Every season's reserved charge: a comparison holds for any travel date.
std::vector<std::string> allSeasons() {
    return {std::string(SeasonPeak), std::string(SeasonRegular), std::string(SeasonOffPeak)};
}

std::string_view nameOf(int station) { return stationName(station).value_or(""); }

// An amount as the pricing reads it; nothing for a name, an empty field or
// a cell that is no amount.
std::optional<std::int64_t> amountOf(std::string_view text) { return readAmount(text).yen; }

std::string signedText(std::int64_t value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

std::string percentText(double percent) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%+.1f %%", percent);
    return buffer;
}

std::string journeyText(int departure, int arrival) {
    return std::string(nameOf(departure)) + " → " + std::string(nameOf(arrival));
}

// Value by value, for every file; a changed value that no changed journey of
// the list accounts for is listed by its position.
void compareFiles(
    const TableSet& older, const TableSet& newer,
    const std::vector<std::vector<bool>>& journeyChanged,
    const std::array<std::array<bool, ExpressStopCount>, ExpressStopCount>& stopsChanged,
    TableDiff& diff) {
    for (const std::string& name : checkedFiles()) {
        const auto before = older.files.find(name);
        const auto after = newer.files.find(name);
        const bool hasBefore = before != older.files.end();
        const bool hasAfter = after != newer.files.end();
        if (!hasBefore || !hasAfter) {
            if (hasBefore || hasAfter) {
                const auto& missing = hasBefore ? newer.unreadable : older.unreadable;
                const auto why = missing.find(name);
                diff.files.push_back(
                    {name, 0,
                     std::string(hasBefore ? "新" : "旧") + "のフォルダでは読めません（" +
                         (why != missing.end() ? why->second : std::string()) + "）"});
            }
            continue;
        }
        const FileValues& x = before->second;
        const FileValues& y = after->second;
        const std::size_t count = std::min(x.spans.size(), y.spans.size());
        const std::size_t side = checkedFileShape(name).side;
        const ListedBy listed = listedBy(name);
        std::size_t changed = 0;
        std::vector<DataFileError::Position> positions;  // of the new file, found when needed
        for (std::size_t k = 0; k < count; ++k) {
            if (x.value(k) == y.value(k)) continue;
            ++changed;
            bool shown = false;
            if (side > 0) {
                const std::size_t a = k / side;
                const std::size_t d = k % side;
                if (listed == ListedBy::Journey) shown = journeyChanged[d][a];
                if (listed == ListedBy::ExpressStops) shown = stopsChanged[a][d];
            }
            if (shown) continue;
            if (positions.empty()) positions = valuePositions(y.content);
            const DataFileError::Position at =
                k < positions.size() ? positions[k] : valuePosition(y.content, k);
            diff.cells.push_back(
                {name, k, at.line, at.field, std::string(x.value(k)), std::string(y.value(k))});
        }
        if (changed > 0) diff.files.push_back({name, changed, {}});
    }
}

}  // namespace

TableSet readTableSetNow(const fs::path& dir);

TableSet readTableSet(const fs::path& dir) {
    return readWholeSet({dir}, [&] { return readTableSetNow(dir); });
}

TableSet readTableSetNow(const fs::path& dir) {
    TableSet set;
    set.tables = FareTableLoad(dir);
    set.tables.Gakuwari = GakuwariLoad(dir);
    for (const std::string& name : checkedFiles()) {
        try {
            set.files.emplace(name, takeFileValues(name, readTableFileBytes(dir, name),
                                                   checkedFileShape(name).count));
        } catch (const DataFileError& failure) {
            set.unreadable.emplace(name, failure.what());
        }
    }
    return set;
}

TableDiff diffTableSets(const TableSet& older, const TableSet& newer) {
    const JourneyPricer before(older.tables, allSeasons());
    const JourneyPricer after(newer.tables, allSeasons());
    TableDiff diff;
    diff.columns = before.columns();

    std::size_t expressKey = 0;
    for (std::size_t c = 0; c < diff.columns.size(); ++c)
        if (diff.columns[c].name == "特急キー") expressKey = c;

    std::vector<std::vector<bool>> journeyChanged(StationCount,
                                                  std::vector<bool>(StationCount, false));
    std::array<std::array<bool, ExpressStopCount>, ExpressStopCount> stopsChanged{};
    std::vector<std::string> x, y;
    std::vector<std::string> failuresBefore, failuresAfter;
    for (int d = 0; d < StationCount; ++d) {
        for (int a = 0; a < StationCount; ++a) {
            before.price(d, a, x, failuresBefore);
            after.price(d, a, y, failuresAfter);
            if (x == y) continue;
            for (std::size_t c = 0; c < x.size(); ++c) {
                if (x[c] == y[c]) continue;
                PriceChange change{d, a, c, x[c], y[c], std::nullopt};
                const auto old = amountOf(x[c]);
                const auto now = amountOf(y[c]);
                if (old && now) change.difference = *now - *old;
                diff.prices.push_back(std::move(change));
            }
            ++diff.journeys;
            journeyChanged[static_cast<std::size_t>(d)][static_cast<std::size_t>(a)] = true;
            // A charge cell stands for every journey between its two stops.
            if (x[expressKey] == "1" || y[expressKey] == "1") {
                const StopPlan stops = expressStops(d, a);
                stopsChanged[static_cast<std::size_t>(stops.arrival)]
                            [static_cast<std::size_t>(stops.departure)] = true;
            }
        }
    }
    for (std::string& failure : failuresBefore) diff.failures.push_back("旧: " + failure);
    for (std::string& failure : failuresAfter) diff.failures.push_back("新: " + failure);
    compareFiles(older, newer, journeyChanged, stopsChanged, diff);
    return diff;
}

std::string diffCsv(const TableDiff& diff) {
    std::string csv(CsvByteOrderMark);
    csv.reserve(64 + diff.prices.size() * 80);
    CsvRow(csv) << "発駅番号"
                << "発駅"
                << "着駅番号"
                << "着駅"
                << "欄"
                << "旧"
                << "新"
                << "差";
    for (const PriceChange& change : diff.prices) {
        CsvRow(csv) << std::to_string(change.departure) << nameOf(change.departure)
                    << std::to_string(change.arrival) << nameOf(change.arrival)
                    << diff.columns[change.column].name << change.before << change.after
                    << (change.difference ? std::to_string(*change.difference) : "");
    }
    return csv;
}

namespace {

// The largest rise or fall of one ticket type, in yen or in per cent.
struct Extreme {
    const PriceChange* change = nullptr;
    double measure = 0;
};

struct TypeExtremes {
    std::string type;
    Extreme riseYen, risePercent, fallYen, fallPercent;
};

void keep(Extreme& extreme, const PriceChange& change, double measure, bool rise) {
    if (rise ? measure > extreme.measure : measure < extreme.measure) extreme = {&change, measure};
}

std::string extremeText(const TableDiff& diff, const Extreme& extreme, bool percent) {
    const PriceChange& c = *extreme.change;
    const std::string& column = diff.columns[c.column].name;
    const std::string who = column.substr(column.rfind(' ') + 1);
    return (percent ? percentText(extreme.measure)
                    : signedText(static_cast<std::int64_t>(extreme.measure)) + " 円") +
           "（" + journeyText(c.departure, c.arrival) + " " + who + " " + c.before + " → " +
           c.after + "）";
}

}  // namespace

std::vector<std::string> diffSummary(const TableDiff& diff) {
    std::vector<std::string> lines;
    if (!diff.files.empty()) {
        std::string line = "違いのあるファイル: ";
        for (std::size_t i = 0; i < diff.files.size(); ++i) {
            const FileChange& file = diff.files[i];
            line += (i > 0 ? "、" : "") + file.file + "（" +
                    (file.note.empty() ? "値 " + std::to_string(file.values) + " 個" : file.note) +
                    "）";
        }
        lines.push_back(line);
    }
    if (diff.journeys > 0) {
        lines.push_back("変わる区間: " + std::to_string(diff.journeys) + " 区間（一覧の値 " +
                        std::to_string(diff.prices.size()) + " 個）");
    }

    std::vector<TypeExtremes> types;
    struct KeyCount {
        std::size_t opened = 0, closed = 0;
    };
    std::map<std::size_t, KeyCount> keys;
    for (const PriceChange& change : diff.prices) {
        const PriceColumn& column = diff.columns[change.column];
        if (column.kind == PriceColumnKind::Key) {
            KeyCount& count = keys[change.column];
            if (change.after == "1") ++count.opened;
            if (change.before == "1") ++count.closed;
            continue;
        }
        if (column.kind != PriceColumnKind::Price || !change.difference) continue;
        auto type = std::find_if(types.begin(), types.end(), [&](const TypeExtremes& t) {
            return t.type == column.ticketType;
        });
        if (type == types.end())
            type = types.insert(types.end(), {column.ticketType, {}, {}, {}, {}});
        const auto yen = static_cast<double>(*change.difference);
        keep(type->riseYen, change, yen, true);
        keep(type->fallYen, change, yen, false);
        const std::optional<std::int64_t> old = amountOf(change.before);
        if (old && *old > 0) {
            const double percent = yen * 100.0 / static_cast<double>(*old);
            keep(type->risePercent, change, percent, true);
            keep(type->fallPercent, change, percent, false);
        }
    }
    for (const TypeExtremes& type : types) {
        std::string line = type.type + ": 値上げ ";
        line += type.riseYen.change ? "最大 " + extremeText(diff, type.riseYen, false) : "なし";
        if (type.risePercent.change) line += "、最大 " + extremeText(diff, type.risePercent, true);
        line += "。値下げ ";
        line += type.fallYen.change ? "最大 " + extremeText(diff, type.fallYen, false) : "なし";
        if (type.fallPercent.change) line += "、最大 " + extremeText(diff, type.fallPercent, true);
        lines.push_back(line);
    }
    for (const auto& [column, count] : keys) {
        lines.push_back(diff.columns[column].name + ": 開く区間 " + std::to_string(count.opened) +
                        "、閉じる区間 " + std::to_string(count.closed));
    }
    for (const CellChange& cell : diff.cells) {
        lines.push_back(cell.file + ":" + std::to_string(cell.line) + ":" +
                        std::to_string(cell.field) + ": " + std::to_string(cell.valueNumber + 1) +
                        " 番目の値 " + valueExcerpt(cell.before) + " → " +
                        valueExcerpt(cell.after) + "（一覧の値は変わりません）");
    }
    for (const std::string& failure : diff.failures) lines.push_back(failure);
    lines.push_back(diff.same()
                        ? "まとめ: 違いはありません"
                        : "まとめ: 違いがあります（一覧の値 " + std::to_string(diff.prices.size()) +
                              " 個、" + std::to_string(diff.journeys) + " 区間、一覧に出ない値 " +
                              std::to_string(diff.cells.size()) + " 個）");
    return lines;
}

}  // namespace kippurun
