#include "office/office_commands.h"

#include "office/table_check.h"

namespace kippurun {

int runTableCheck(const std::filesystem::path& untinDir, bool strict, std::ostream& out) {
    const std::vector<Finding> findings = checkTables(untinDir);
    for (const Finding& finding : findings) out << findingLine(finding) << "\n";
    out << summaryLine(findings, strict) << "\n";
    out.flush();
    return checkFails(findings, strict) ? 1 : 0;
}

}  // namespace kippurun
