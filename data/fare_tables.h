#pragma once
// Every table the sales screen reads when it opens, and the student fares
// read on demand. Paths: `untinDir` is the table folder (the "Untin" folder
// beside the program, or the folder given with --untin); a file's literal
// "\Untin\Otona.csv" names `untinDir / "Otona.csv"`.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/data_file_error.h"
#include "data/table.h"

namespace kippurun {

struct StartStations {
    int departure = 0;
    int arrival = 0;
};

struct FareTables {
    std::array<std::string, 2> Start;  // the two texts of Start.csv
    StartStations start;               // the same, checked and rounded
    Table Otona, Kodomo;
    Table Kai6, Kai6K;  // the files 6Kai.csv and 6KaiK.csv
    Table Ekiro, GHan, KHan, MHan;
    Table Jiyu, JiyuK, Kansan, KansanK, Tujo, TujoK, Hanbo, HanboK, Green, GreenK;
    Table Jiyukai, JiyuKaiK;
    Table JiKaiHan;
    Table MKiro;
    Table Gakuwari;  // side 0 (all texts empty) until GakuwariLoad fills it
};

// One of the square tables, &FareTables::Otona; data/table_files.h names
// its file.
using TableMember = Table FareTables::*;

// The files of the start-up list, in their fixed order, each completely
// before the next. Throws DataFileError; nothing partial is ever returned.
FareTables FareTableLoad(const std::filesystem::path& untinDir);
// The same, "Start.csv" read from the counter's own folder.
FareTables FareTableLoad(const std::filesystem::path& untinDir,
                         const std::filesystem::path& counterDir);

// "Gakuwari.csv", 107 x 107. Throws DataFileError.
Table GakuwariLoad(const std::filesystem::path& untinDir);

// The path a literal such as "\Untin\Otona.csv" names inside `untinDir`.
std::filesystem::path tablePath(const std::filesystem::path& untinDir, std::string_view literal);

}  // namespace kippurun
