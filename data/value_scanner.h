#pragma once
// Splits the text of a table file into its values, the old sequential-input
// way: commas and line breaks are equal separators, blanks around a value are
// dropped, a value in double quotes runs to the next double quote.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_file_error.h"

namespace kippurun {

using ValueSpan = std::pair<std::uint32_t, std::uint32_t>;  // offset, length

struct ValueScan {
    std::vector<ValueSpan> spans;  // at most the number asked for
    std::size_t end = 0;           // offset just past the last value taken
};

// The first `wanted` values of `text` (fewer when the text ends first).
// Offsets index `text`; a byte-order mark at the start is passed over.
// `text` must be shorter than 4 GiB.
ValueScan scanValues(std::string_view text, std::size_t wanted);

// The first `wanted` values of `text` (fewer when the text ends first),
// split as scanValues splits them and packed back to back: value k is
// text[k == 0 ? 0 : ends[k - 1], ends[k]). What a table keeps of its file.
struct PackedValues {
    std::string text;
    std::vector<std::uint32_t> ends;
    std::size_t end = 0;  // offset in the text scanned just past the last value taken
};
PackedValues packValues(std::string_view text, std::size_t wanted);

// Line and field of value number `valueNumber` (found again by scanning from
// the start; only needed for a message).
DataFileError::Position valuePosition(std::string_view text, std::size_t valueNumber);

// Line and field of every value of `text`, in file order, found in one pass:
// for reporting on many values of one file, and on how many values each
// line holds.
std::vector<DataFileError::Position> valuePositions(std::string_view text);

}  // namespace kippurun
