#include "data/table.h"

#include <stdexcept>

namespace kippurun {

namespace {

std::size_t cells(int side) {
    return static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
}

}  // namespace

Table::Table(int side, std::string_view content,
             const std::vector<std::pair<std::uint32_t, std::uint32_t>>& spans)
    : side_(side) {
    // Every look-up must land inside the content; a table built otherwise is
    // a fault of its maker, reported at once rather than at some later look-up.
    if (side_ < 0 || spans.size() != cells(side_)) {
        throw std::invalid_argument("Table: the number of values is not side * side");
    }
    ends_.reserve(spans.size());
    for (const auto& [offset, length] : spans) {
        if (std::size_t{offset} + length > content.size()) {
            throw std::invalid_argument("Table: a value lies outside the content");
        }
        text_.append(content.substr(offset, length));
        ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    }
}

Table::Table(int side, PackedValues values)
    : side_(side), text_(std::move(values.text)), ends_(std::move(values.ends)) {
    // packValues gives ends in order within its text; only the count can be
    // wrong, by a fault of the caller.
    if (side_ < 0 || ends_.size() != cells(side_)) {
        throw std::invalid_argument("Table: the number of values is not side * side");
    }
}

std::string_view Table::at(int arrival, int departure) const {
    if (!contains(arrival, departure)) return {};
    const std::size_t k = static_cast<std::size_t>(arrival) * static_cast<std::size_t>(side_) +
                          static_cast<std::size_t>(departure);
    const std::size_t begin = k == 0 ? 0 : ends_[k - 1];
    return std::string_view(text_).substr(begin, ends_[k] - begin);
}

}  // namespace kippurun
