#include "office/office_commands.h"

#include "calendar/season_rule.h"
#include "data/fare_tables.h"
#include "data/folder_transaction.h"
#include "data/table_file.h"
#include "office/price_list.h"
#include "office/table_check.h"
#include "office/table_diff.h"
#include "office/table_install.h"

#include <utility>

namespace kippurun {

int runTableCheck(const CounterFolders& folders, bool strict, std::ostream& out) {
    std::vector<Finding> findings;
    // The check reads the folder as the program does: a whole set, an
    // interrupted write settled first.
    try {
        findings = readWholeSet(folders.lockOrder(), [&] { return checkTables(folders); });
    } catch (const DataFileError& failure) {
        findings = {{failure.path(), 0, 0, Severity::Error, failure.what()}};
    }
    for (const Finding& finding : findings) out << findingLine(finding) << "\n";
    out << summaryLine(findings, strict) << "\n";
    out.flush();
    return checkFails(findings, strict) ? 1 : 0;
}

int runPriceList(const CounterFolders& folders, Date travelDate, std::ostream& out,
                 std::ostream& err) {
    FareTables tables;
    try {
        tables = readWholeSet(folders.lockOrder(), [&] {
            FareTables set = FareTableLoad(folders.tables, folders.counter);
            set.Gakuwari = GakuwariLoad(folders.tables);
            return set;
        });
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

int runInstallTables(const std::filesystem::path& newDir, const std::filesystem::path& untinDir,
                     std::ostream& out, std::ostream& err) {
    const Installation done = installTables(newDir, untinDir, std::chrono::system_clock::now());
    const std::string target = bracketedPath(untinDir);
    for (const Finding& finding : done.findings) out << findingLine(finding) << "\n";
    if (!done.findings.empty() || done.refused) out << summaryLine(done.findings, false) << "\n";
    out.flush();
    if (done.refused) {
        err << "新しい表にエラーがあるため入れ替えません。" << target << "はそのままです。\n";
        return 1;
    }
    if (!done.failure.empty()) {
        err << done.failure << "\n";
        return 1;
    }
    if (done.replaced.empty()) {
        out << target << "の運賃表 " << officeFiles().size()
            << " ファイルは新しい表と同じです。入れ替えるものはありません。\n";
        return 0;
    }
    std::string names;
    for (const std::string& name : done.replaced) names += (names.empty() ? "" : "、") + name;
    const std::string kept = toValidUtf8(done.kept.string());
    out << target << "の運賃表 " << done.replaced.size() << " ファイルを入れ替えました: " << names
        << "\n前の表は「" << kept << "」に残しました。戻すには: kippurun --install-tables \""
        << kept << "\" --untin \"" << toValidUtf8(untinDir.string()) << "\"\n";
    return 0;
}

}  // namespace kippurun
