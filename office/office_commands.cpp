#include "office/office_commands.h"

#include "calendar/season_rule.h"
#include "data/fare_tables.h"
#include "data/table_file.h"
#include "office/price_list.h"
#include "office/table_check.h"
#include "office/table_diff.h"

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

int runTableDiff(const std::filesystem::path& older, const std::filesystem::path& newer,
                 std::ostream& out, std::ostream& err) {
    TableSet sets[2];
    const std::filesystem::path* dirs[2] = {&older, &newer};
    for (int i = 0; i < 2; ++i) {
        try {
            sets[i] = readTableSet(*dirs[i]);
        } catch (const DataFileError& failure) {
            err << (i == 0 ? "旧" : "新") << "のフォルダ「" << toValidUtf8(dirs[i]->string())
                << "」を読めません: " << failure.what() << "\n";
            return 2;
        }
    }
    const TableDiff diff = diffTableSets(sets[0], sets[1]);
    out << diffCsv(diff);
    out.flush();
    for (const std::string& line : diffSummary(diff)) err << line << "\n";
    return diff.same() ? 0 : 1;
}

}  // namespace kippurun
