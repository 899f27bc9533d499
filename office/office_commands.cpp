#include "office/office_commands.h"

#include "calendar/season_rule.h"
#include "data/fare_tables.h"
#include "data/key_layout.h"
#include "office/price_list.h"
#include "office/table_check.h"

#include <utility>

namespace kippurun {

int runTableCheck(const std::filesystem::path& untinDir, bool strict, std::ostream& out) {
    std::vector<Finding> findings;
    // The check opens the folder like the program does: a settings save cut
    // short is settled first, so that the pair checked is whole.
    try {
        recoverKeySettings(untinDir);
    } catch (const DataFileError& failure) {
        findings.push_back({failure.path(), 0, 0, Severity::Error, failure.what()});
    }
    for (Finding& finding : checkTables(untinDir)) findings.push_back(std::move(finding));
    for (const Finding& finding : findings) out << findingLine(finding) << "\n";
    out << summaryLine(findings, strict) << "\n";
    out.flush();
    return checkFails(findings, strict) ? 1 : 0;
}

int runPriceList(const std::filesystem::path& untinDir, Date travelDate, std::ostream& out,
                 std::ostream& err) {
    FareTables tables;
    try {
        tables = FareTableLoad(untinDir);
        tables.Gakuwari = GakuwariLoad(untinDir);
    } catch (const DataFileError& failure) {
        err << failure.what() << "\n";
        return 1;
    }
    const PriceList list = makePriceList(tables, seasonOf(travelDate));
    out << list.csv;
    out.flush();
    for (const std::string& failure : list.failures) err << failure << "\n";
    return list.failures.empty() ? 0 : 1;
}

}  // namespace kippurun
