#include "office/office_commands.h"

#include "calendar/season_rule.h"
#include "data/fare_tables.h"
#include "office/price_list.h"
#include "office/table_check.h"

namespace kippurun {

int runTableCheck(const std::filesystem::path& untinDir, bool strict, std::ostream& out) {
    const std::vector<Finding> findings = checkTables(untinDir);
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
