#include "data/table.h"

namespace kippurun {

Table::Table(int side, std::string content,
             std::vector<std::pair<std::uint32_t, std::uint32_t>> spans)
    : side_(side), content_(std::move(content)), spans_(std::move(spans)) {
    // A table is never partly filled: without a span for every cell it
    // stays empty rather than answer some look-ups from nowhere.
    if (side_ < 0 ||
        spans_.size() != static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_)) {
        side_ = 0;
        content_.clear();
        spans_.clear();
    }
}

std::string_view Table::at(int arrival, int departure) const {
    if (!contains(arrival, departure)) return {};
    const auto& [offset, length] =
        spans_[static_cast<std::size_t>(arrival) * static_cast<std::size_t>(side_) +
               static_cast<std::size_t>(departure)];
    return std::string_view(content_).substr(offset, length);
}

}  // namespace kippurun
