#pragma once
// One square table of texts as read from its file. T.at(a, d) is value
// a * N + d of the file: the arrival index always comes first.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/value_scanner.h"

namespace kippurun {

class Table {
  public:
    Table() = default;
    // `content` holds the file's bytes; `spans` the (offset, length) of each
    // of the side * side values inside it, in file order.
    Table(int side, std::string_view content,
          const std::vector<std::pair<std::uint32_t, std::uint32_t>>& spans);
    // The side * side values as packValues packs them.
    Table(int side, PackedValues values);

    int side() const { return side_; }
    bool contains(int arrival, int departure) const {
        return arrival >= 0 && departure >= 0 && arrival < side_ && departure < side_;
    }
    // The stored text; the empty text outside the table (an unloaded table
    // has side 0, so every look-up gives the empty text).
    std::string_view at(int arrival, int departure) const;

  private:
    // The values back to back, and where each ends: a table keeps no
    // separators and half the index a pair of offset and length would take.
    int side_ = 0;
    std::string text_;
    std::vector<std::uint32_t> ends_;
};

}  // namespace kippurun
