#pragma once
// Every file of the table folder, one entry each: its name, its shape, the
// FareTables member it is read into, whether the sales screen's load step
// reads it, and what its values are. The load step, the fare office's check,
// the sample tables and the benchmarks all go through this list, so a file
// is named nowhere else.
#include <array>
#include <cstddef>
#include <stdexcept>
#include <string_view>

#include "data/fare_tables.h"
#include "data/station_catalogue.h"

namespace kippurun {

enum class IndexSpace { None, Stations, ExpressStops, MarineStops };

// What a file's values are.
enum class TableValue {
    StartStation,       // Start.csv: the default departure and arrival
    KeyStation,         // Ekimei1.csv: a key's station number, or 999
    Amount,             // a fare or charge, whole yen
    Distance,           // kilometres, read strictly by the pricing
    Flag,               // GHan: a number, non-zero sells
    MarineFlag,         // MHan: as GHan, and only between マリン stops
    CouponCode,         // KHan: "0", "6", "11", "60"
    ExpressCouponCode,  // JiKaiHan: "1" sells the express coupon
};

struct TableFile {
    std::string_view literal;  // "\Untin\Otona.csv", as the program names it
    std::size_t perLine;       // the side of a square table; values on a line of the others
    std::size_t count;         // values the program reads
    IndexSpace space;
    TableMember member;  // nullptr for the two files that are no square table
    bool startUp;        // read by the sales screen's load step, in this order
    TableValue value;
    // A child or student price table: the adult table of the same journeys.
    TableMember adultTable = nullptr;
    // What the fare office calls the table ("大人 片道運賃"); empty for the two
    // files that are no square table.
    std::string_view title = {};

    // "Otona.csv"
    constexpr std::string_view fileName() const { return literal.substr(literal.rfind('\\') + 1); }
};

inline constexpr TableFile StartStationsFile{
    "\\Untin\\Start.csv", 2, 2, IndexSpace::None, nullptr, true, TableValue::StartStation};
inline constexpr TableFile KeyLayoutFile{
    "\\Untin\\Ekimei1.csv", 10, 100, IndexSpace::None, nullptr, false, TableValue::KeyStation};

namespace table_files_detail {

// The list as written below, in room enough for it; TableFiles is cut to
// its length, so that an entry is all a new file needs.
struct WrittenList {
    std::array<TableFile, 64> files{};
    std::size_t count = 0;
};

// The start-up list in reading order; then the student fares, read by the
// student key, and the key layout, read by both screens.
inline constexpr WrittenList Written = [] {
    using F = FareTables;
    using V = TableValue;
    WrittenList list;
    auto& files = list.files;
    std::size_t& n = list.count;
    const auto square = [&](std::string_view literal, std::size_t side, IndexSpace space,
                            TableMember member, V value, TableMember adult = nullptr) {
        files[n++] = {literal, side, side * side, space, member, true, value, adult};
    };
    const auto stations = [&](std::string_view literal, TableMember member, V value,
                              TableMember adult = nullptr) {
        square(literal, StationCount, IndexSpace::Stations, member, value, adult);
    };
    // An adult charge table and the child table of the same charges.
    const auto charges = [&](std::string_view adultLiteral, TableMember adult,
                             std::string_view childLiteral, TableMember child) {
        square(adultLiteral, ExpressStopCount, IndexSpace::ExpressStops, adult, V::Amount);
        square(childLiteral, ExpressStopCount, IndexSpace::ExpressStops, child, V::Amount, adult);
    };
    files[n++] = StartStationsFile;
    stations("\\Untin\\Otona.csv", &F::Otona, V::Amount);
    stations("\\Untin\\Kodomo.csv", &F::Kodomo, V::Amount, &F::Otona);
    stations("\\Untin\\6Kai.csv", &F::Kai6, V::Amount);
    stations("\\Untin\\6KaiK.csv", &F::Kai6K, V::Amount, &F::Kai6);
    stations("\\Untin\\Ekiro.csv", &F::Ekiro, V::Distance);
    stations("\\Untin\\GHan.csv", &F::GHan, V::Flag);
    stations("\\Untin\\KHan.csv", &F::KHan, V::CouponCode);
    stations("\\Untin\\MHan.csv", &F::MHan, V::MarineFlag);
    charges("\\Untin\\Jiyu.csv", &F::Jiyu, "\\Untin\\JiyuK.csv", &F::JiyuK);
    charges("\\Untin\\Kansan.csv", &F::Kansan, "\\Untin\\KansanK.csv", &F::KansanK);
    charges("\\Untin\\Tujo.csv", &F::Tujo, "\\Untin\\TujoK.csv", &F::TujoK);
    charges("\\Untin\\Hanbo.csv", &F::Hanbo, "\\Untin\\HanboK.csv", &F::HanboK);
    charges("\\Untin\\Green.csv", &F::Green, "\\Untin\\GreenK.csv", &F::GreenK);
    charges("\\Untin\\Jiyukai.csv", &F::Jiyukai, "\\Untin\\JiyuKaiK.csv", &F::JiyuKaiK);
    stations("\\Untin\\JiKaiHan.csv", &F::JiKaiHan, V::ExpressCouponCode);
    square("\\Untin\\MKiro.csv", MarineStopCount, IndexSpace::MarineStops, &F::MKiro, V::Distance);
    stations("\\Untin\\Gakuwari.csv", &F::Gakuwari, V::Amount, &F::Otona);
    files[n - 1].startUp = false;
    files[n++] = KeyLayoutFile;
    const auto title = [&](TableMember member, std::string_view text) {
        for (std::size_t i = 0; i < n; ++i)
            if (files[i].member == member) files[i].title = text;
    };
    title(&F::Otona, "大人 片道運賃");
    title(&F::Kodomo, "小児 片道運賃");
    title(&F::Kai6, "大人 ６回回数券");
    title(&F::Kai6K, "小児 ６回回数券");
    title(&F::Ekiro, "営業キロ");
    title(&F::GHan, "学割の可否（0 以外で発売）");
    title(&F::KHan, "回数券の区分（0 なし、6 両方、11 普通回数券のみ、60 ６回回数券のみ）");
    title(&F::MHan, "マリン座席券の可否（0 以外で発売）");
    title(&F::Jiyu, "大人 自由席特急料金");
    title(&F::JiyuK, "小児 自由席特急料金");
    title(&F::Kansan, "大人 指定席特急料金 閑散期");
    title(&F::KansanK, "小児 指定席特急料金 閑散期");
    title(&F::Tujo, "大人 指定席特急料金 通常期");
    title(&F::TujoK, "小児 指定席特急料金 通常期");
    title(&F::Hanbo, "大人 指定席特急料金 繁忙期");
    title(&F::HanboK, "小児 指定席特急料金 繁忙期");
    title(&F::Green, "大人 グリーン料金");
    title(&F::GreenK, "小児 グリーン料金");
    title(&F::Jiyukai, "大人 自由席特急回数券");
    title(&F::JiyuKaiK, "小児 自由席特急回数券");
    title(&F::JiKaiHan, "自由席特急回数券の可否（1 で発売）");
    title(&F::MKiro, "マリン区間のキロ");
    title(&F::Gakuwari, "学割 片道運賃");
    return list;
}();

}  // namespace table_files_detail

inline constexpr std::size_t TableFileCount = table_files_detail::Written.count;
inline constexpr std::array<TableFile, TableFileCount> TableFiles = [] {
    std::array<TableFile, TableFileCount> files{};
    for (std::size_t i = 0; i < TableFileCount; ++i)
        files[i] = table_files_detail::Written.files[i];
    return files;
}();
static_assert(TableFiles.back().value == TableValue::KeyStation);

// The square tables, every file but Start.csv and Ekimei1.csv: what the fare
// office installs and edits as sheets.
inline constexpr std::size_t SquareTableCount = [] {
    std::size_t count = 0;
    for (const TableFile& file : TableFiles) count += file.member != nullptr;
    return count;
}();

// The entry named `name` ("Otona.csv"); nullptr for a name of no table file.
constexpr const TableFile* tableFileNamed(std::string_view name) {
    for (const TableFile& file : TableFiles)
        if (file.fileName() == name) return &file;
    return nullptr;
}

// The catalogue number of the station at `index` of a table's side: the
// index itself for a station table, the stop's station for the express and
// マリン tables.
inline int stationAtIndex(IndexSpace space, std::size_t index) {
    const int i = static_cast<int>(index);
    switch (space) {
        case IndexSpace::ExpressStops:
            return stationOfExpressStop(i);
        case IndexSpace::MarineStops:
            return stationOfMarineStop(i);
        default:
            return i;
    }
}

// The entry of a FareTables member. Throws std::logic_error for a member
// that has none (a fault of the program, not of the files).
constexpr const TableFile& tableFileOf(TableMember member) {
    for (const TableFile& file : TableFiles) {
        if (member != nullptr && file.member == member) return file;
    }
    throw std::logic_error("tableFileOf: a table with no file");
}

// "Otona.csv" for &FareTables::Otona.
constexpr std::string_view fileNameOf(TableMember member) { return tableFileOf(member).fileName(); }

}  // namespace kippurun
