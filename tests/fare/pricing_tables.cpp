#include "pricing_tables.h"

#include <cstdint>
#include <vector>

namespace kippurun::testing {

Table tableOf(int side, const std::function<std::string(int, int)>& cell) {
    std::string content;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
    for (int a = 0; a < side; ++a) {
        for (int d = 0; d < side; ++d) {
            const std::string text = cell(a, d);
            spans.emplace_back(static_cast<std::uint32_t>(content.size()),
                               static_cast<std::uint32_t>(text.size()));
            content += text;
            content += ',';
        }
    }
    return Table(side, std::move(content), std::move(spans));
}

Table positionTable(int side, int base) {
    return tableOf(side, [=](int a, int d) { return std::to_string(base + a * side + d); });
}

Table chosenTable(int side, const std::map<std::pair<int, int>, std::string>& cells,
                  const std::string& fill) {
    return tableOf(side, [&](int a, int d) {
        const auto found = cells.find({a, d});
        return found == cells.end() ? fill : found->second;
    });
}

}  // namespace kippurun::testing
