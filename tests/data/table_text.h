#pragma once
// Table texts made inside the tests, for the temporary table folder.
#include <functional>
#include <string>

#include "tests/support/table_folder.h"

namespace kippurun::testing {

enum class Layout { RowPerLine, OnePerLine, OneLine };

// A square table whose cell k holds cell(k), laid out as asked, CRLF endings.
inline std::string squareTable(int side, const std::function<std::string(int)>& cell,
                               Layout layout = Layout::RowPerLine) {
    std::string out;
    const int count = side * side;
    for (int k = 0; k < count; ++k) {
        out += cell(k);
        const bool last = k + 1 == count;
        const bool rowEnd = (k + 1) % side == 0;
        if (layout == Layout::OnePerLine || (layout == Layout::RowPerLine && rowEnd) || last) {
            out += "\r\n";
        } else {
            out += ",";
        }
    }
    return out;
}

inline std::string positionText(int k) { return std::to_string(k); }

}  // namespace kippurun::testing
