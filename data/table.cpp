#include "data/table.h"

#include <stdexcept>

namespace kippurun {

Table::Table(int side, std::string content,
             std::vector<std::pair<std::uint32_t, std::uint32_t>> spans)
    : side_(side), content_(std::move(content)), spans_(std::move(spans)) {
    // Every look-up must land inside the content; a table built otherwise is
    // a fault of its maker, reported at once rather than at some later look-up.
    if (side_ < 0 ||
        spans_.size() != static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_)) {
        throw std::invalid_argument("Table: the number of values is not side * side");
    }
    for (const auto& [offset, length] : spans_) {
        if (std::size_t{offset} + length > content_.size()) {
            throw std::invalid_argument("Table: a value lies outside the content");
        }
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
