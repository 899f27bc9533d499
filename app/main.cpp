// キップルン: the window, or a script run without any display.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/program_options.h"
#include "app/qt/window_main.h"
#include "app/script/script_driver.h"
#include "office/office_commands.h"
#include "office/table_sheets.h"

int main(int argc, char** argv) {
    // A file-size limit (ulimit -f) must fail the write, which is then
    // reported like any other, rather than kill the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = kippurun::parseProgramOptions(args);
    if (!parsed.options) {
        std::cerr << parsed.error << "\n" << kippurun::usageText();
        return 2;
    }
    const kippurun::ProgramOptions& options = *parsed.options;
    if (options.help) {
        std::cout << kippurun::usageText();
        return 0;
    }
    if (options.version) {
        std::cout << kippurun::versionText();
        return 0;
    }
    const kippurun::CounterFolders folders(options.untinDir, options.counterDir);
    if (options.check) return kippurun::runTableCheck(folders, options.strict, std::cout);
    if (options.priceList) {
        const kippurun::Date today = kippurun::SystemClock(options.today).today();
        return kippurun::runPriceList(folders, today, std::cout, std::cerr);
    }
    if (options.diff) {
        return kippurun::runTableDiff(options.diff->first, options.diff->second, std::cout,
                                      std::cerr);
    }
    if (options.installTables) {
        return kippurun::runInstallTables(*options.installTables, options.untinDir, std::cout,
                                          std::cerr);
    }
    if (options.exportTables)
        return kippurun::runExportTables(options.untinDir, *options.exportTables, std::cout,
                                         std::cerr);
    if (options.importTables) {
        return kippurun::runImportTables(*options.importTables, *options.into, options.untinDir,
                                         std::cout, std::cerr);
    }
    if (options.script) return kippurun::runScript(options, std::cin, std::cout, std::cerr);
    return kippurun::runWindow(argc, argv, options);
}
