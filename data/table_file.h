#pragma once
// Reading one table file into memory and the failure reports about it. Used
// by the fare tables and by the key layout and start files.
#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_file_error.h"
#include "data/fare_tables.h"
#include "data/table.h"
#include "data/value_scanner.h"

namespace kippurun {

// Files larger than this are refused: no table comes near it, and it keeps
// every offset within 32 bits.
inline constexpr std::size_t MaxTableFileBytes = 64u * 1024u * 1024u;

struct FileValues {
    std::string relativePath;  // "Otona.csv"
    std::string content;
    std::vector<ValueSpan> spans;  // exactly the number asked for
    std::size_t end = 0;           // offset just past the last value taken

    std::string_view value(std::size_t k) const {
        return std::string_view(content).substr(spans[k].first, spans[k].second);
    }
};

// "\Untin\Otona.csv" -> "Otona.csv".
std::string relativeTablePath(std::string_view literal);

// The first `count` values of the file `literal` names in `untinDir`. Throws
// DataFileError: PathNotFound, FileNotFound, Unreadable, PastEndOfFile.
FileValues readFileValues(const std::filesystem::path& untinDir, std::string_view literal,
                          std::size_t count);

// The two steps of readFileValues, for a caller that also looks at what
// follows the values taken. The whole file: throws PathNotFound,
// FileNotFound, Unreadable (also for a file over MaxTableFileBytes).
std::string readTableFileBytes(const std::filesystem::path& untinDir, std::string_view literal);
// The first `count` values of `content`, which is kept whole. Throws
// PastEndOfFile, its position the place of the first value missing.
FileValues takeFileValues(std::string relativePath, std::string content, std::size_t count);

// A square table of `side`; every value must be valid UTF-8 (Unreadable
// otherwise, naming the value).
Table readSquareTable(const std::filesystem::path& untinDir, std::string_view literal, int side);

// The failure readSquareTable reports for value k, when it has one.
std::optional<DataFileError> squareTableValueFailure(const FileValues& file, std::size_t k);

// Value k read strictly and rounded half to even; it must be a station
// number 0-106, or NotSet when `notSetAllowed`. Throws NotANumber or
// OutOfRange naming the value, its line and field.
int stationNumberValue(const FileValues& file, std::size_t k, bool notSetAllowed);

// "Start.csv": both values checked as station numbers. `texts`, when given,
// receives the two values as read.
StartStations readStartStations(const std::filesystem::path& untinDir,
                                std::array<std::string, 2>* texts);

// Nearest whole number, a half to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// At most 20 characters of a value, in 「」, on one line, for a message;
// "（空）" for the empty text.
std::string valueExcerpt(std::string_view value);

bool isValidUtf8(std::string_view text);
// The text with every byte that is not part of valid UTF-8 replaced by U+FFFD.
std::string toValidUtf8(std::string_view text);
// "「/var/lib/kippurun/Untin」": a folder or file as a message names it.
std::string bracketedPath(const std::filesystem::path& path);

// Control characters (a NUL, a tab, a line break) and bytes that are not
// part of valid UTF-8 written as \x00, \xFF and so on, so that a message
// shows them and is never cut short or garbled by them.
std::string escapeControls(std::string_view text);

// A short Japanese reason for a system error number.
std::string systemErrorText(int errorNumber);

}  // namespace kippurun
