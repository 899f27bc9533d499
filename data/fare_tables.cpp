#include "data/fare_tables.h"

#include "data/station_catalogue.h"
#include "data/table_file.h"

namespace kippurun {

namespace {

struct TableFile {
    Table FareTables::*table;
    std::string_view literal;
    int side;
};

// The start-up list after "\Untin\Start.csv", in reading order.
constexpr TableFile kStartUpTables[] = {
    {&FareTables::Otona, "\\Untin\\Otona.csv", StationCount},
    {&FareTables::Kodomo, "\\Untin\\Kodomo.csv", StationCount},
    {&FareTables::Kai6, "\\Untin\\6Kai.csv", StationCount},
    {&FareTables::Kai6K, "\\Untin\\6KaiK.csv", StationCount},
    {&FareTables::Ekiro, "\\Untin\\Ekiro.csv", StationCount},
    {&FareTables::GHan, "\\Untin\\GHan.csv", StationCount},
    {&FareTables::KHan, "\\Untin\\KHan.csv", StationCount},
    {&FareTables::MHan, "\\Untin\\MHan.csv", StationCount},
    {&FareTables::Jiyu, "\\Untin\\Jiyu.csv", ExpressStopCount},
    {&FareTables::JiyuK, "\\Untin\\JiyuK.csv", ExpressStopCount},
    {&FareTables::Kansan, "\\Untin\\Kansan.csv", ExpressStopCount},
    {&FareTables::KansanK, "\\Untin\\KansanK.csv", ExpressStopCount},
    {&FareTables::Tujo, "\\Untin\\Tujo.csv", ExpressStopCount},
    {&FareTables::TujoK, "\\Untin\\TujoK.csv", ExpressStopCount},
    {&FareTables::Hanbo, "\\Untin\\Hanbo.csv", ExpressStopCount},
    {&FareTables::HanboK, "\\Untin\\HanboK.csv", ExpressStopCount},
    {&FareTables::Green, "\\Untin\\Green.csv", ExpressStopCount},
    {&FareTables::GreenK, "\\Untin\\GreenK.csv", ExpressStopCount},
    {&FareTables::Jiyukai, "\\Untin\\Jiyukai.csv", ExpressStopCount},
    {&FareTables::JiyuKaiK, "\\Untin\\JiyuKaiK.csv", ExpressStopCount},
    {&FareTables::JiKaiHan, "\\Untin\\JiKaiHan.csv", StationCount},
    {&FareTables::MKiro, "\\Untin\\MKiro.csv", MarineStopCount},
};

}  // namespace

FareTables FareTableLoad(const std::filesystem::path& untinDir) {
    FareTables tables;
    tables.start = readStartStations(untinDir, &tables.Start);
    for (const TableFile& file : kStartUpTables) {
        tables.*file.table = readSquareTable(untinDir, file.literal, file.side);
    }
    return tables;
}

Table GakuwariLoad(const std::filesystem::path& untinDir) {
    return readSquareTable(untinDir, "\\Untin\\Gakuwari.csv", StationCount);
}

}  // namespace kippurun
