#pragma once
// The command line shared by the window and the script driver.
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calendar/date_ops.h"
#include "data/counter_folders.h"

namespace kippurun {

struct ProgramOptions {
    std::optional<std::string> script;  // --script FILE ("-" standard input)
    std::optional<Date> today;          // --today YYYY-MM-DD
    std::filesystem::path untinDir;     // --untin DIR, else chooseFolders
    std::filesystem::path counterDir;   // --counter DIR, else chooseFolders
    bool quitAfterShow = false;         // --quit-after-show: window shown, then exit 0
    bool check = false;                 // --check: the fare office's check of the tables
    bool strict = false;                // --strict: the check counts warnings as errors
    bool priceList = false;             // --price-list: the CSV price list of every journey
    // --diff OLD NEW: what the table folder NEW changes against OLD
    std::optional<std::pair<std::filesystem::path, std::filesystem::path>> diff;
    // --install-tables NEW: the checked set NEW put into the --untin folder
    std::optional<std::filesystem::path> installTables;
    // --export-tables DIR: every table of the --untin folder as a spreadsheet
    std::optional<std::filesystem::path> exportTables;
    // --import-tables DIR --into NEW: the spreadsheets of DIR as a new set NEW
    std::optional<std::filesystem::path> importTables;
    std::optional<std::filesystem::path> into;
    bool help = false;
    bool version = false;  // --version
};

struct OptionsResult {
    std::optional<ProgramOptions> options;
    std::string error;  // Japanese message when options is empty
};

OptionsResult parseProgramOptions(const std::vector<std::string>& args);

// The folder of the installed tables ("Untin") and counter ("counter").
inline constexpr const char* InstalledDataFolder = "/var/lib/kippurun";

// Which folders the program uses: the options first; the folders beside
// the program next ("Untin", and "counter" where there is one); the
// installed ones last. Without a counter folder the pair lives with the
// tables, as with `--untin` alone. Where no tables folder is found, the
// one beside the program is named, for the reader to report it missing.
CounterFolders chooseFolders(const std::optional<std::filesystem::path>& untin,
                             const std::optional<std::filesystem::path>& counter,
                             const std::filesystem::path& besideProgram,
                             const std::filesystem::path& installed);
std::string usageText();
// "kippurun 0.9.0": the program and its version, one line.
std::string versionText();
// The folder that holds the running program.
std::filesystem::path programFolder();

}  // namespace kippurun
