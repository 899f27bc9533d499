#include "data/value_scanner.h"

#include <algorithm>
#include <cstring>

namespace kippurun {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class Ending { Comma, LineBreak, EndOfText };

struct Value {
    std::size_t offset = 0;
    std::size_t length = 0;
    Ending ending = Ending::EndOfText;
    std::size_t lineBreaksInside = 0;  // only a quoted value can hold any
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Walks the values one by one. The file is a sequence of lines (the last
// line break of the file is optional and starts no new line) and each line a
// sequence of values split at commas: "1,2\n" holds two values, "1,2,\n" and
// "1,2," three, the third empty, and an empty line one empty value.
class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {
        if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
        more_ = pos_ < text_.size();
    }

    bool next(Value& value) {
        if (!more_) return false;
        const char* const data = text_.data();
        const std::size_t size = text_.size();
        std::size_t pos = pos_;
        while (pos < size && isBlank(data[pos])) ++pos;
        value.lineBreaksInside = 0;
        std::size_t stop;  // where the separator search starts
        if (pos < size && data[pos] == '"') {
            const std::size_t open = pos + 1;
            const void* close = std::memchr(data + open, '"', size - open);
            const std::size_t closeAt =
                close ? static_cast<std::size_t>(static_cast<const char*>(close) - data) : size;
            value.offset = open;
            value.length = closeAt - open;
            value.lineBreaksInside = countLineBreaks(text_.substr(open, closeAt - open));
            stop = closeAt < size ? closeAt + 1 : size;
            pos = findSeparator(stop);  // text after the closing quote is dropped
        } else {
            const std::size_t begin = pos;
            pos = findSeparator(pos);
            std::size_t last = pos;
            while (last > begin && isBlank(data[last - 1])) --last;
            value.offset = begin;
            value.length = last - begin;
        }
        if (pos >= size) {
            value.ending = Ending::EndOfText;
            more_ = false;
            pos_ = size;
            return true;
        }
        if (data[pos] == ',') {
            value.ending = Ending::Comma;
            pos_ = pos + 1;
            return true;  // even at the end of the text a value follows a comma
        }
        value.ending = Ending::LineBreak;
        pos_ = pos + ((data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n') ? 2 : 1);
        more_ = pos_ < size;
        return true;
    }

    std::size_t position() const { return pos_; }

  private:
    std::size_t findSeparator(std::size_t pos) const {
        const char* const data = text_.data();
        const std::size_t size = text_.size();
        while (pos < size) {
            const char c = data[pos];
            if (c == ',' || c == '\n' || c == '\r') break;
            ++pos;
        }
        return pos;
    }

    static std::size_t countLineBreaks(std::string_view inside) {
        std::size_t count = 0;
        for (std::size_t i = 0; i < inside.size(); ++i) {
            if (inside[i] == '\n') {
                ++count;
            } else if (inside[i] == '\r' && (i + 1 == inside.size() || inside[i + 1] != '\n')) {
                ++count;
            }
        }
        return count;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    bool more_ = false;
};

}  // namespace

ValueScan scanValues(std::string_view text, std::size_t wanted) {
    ValueScan scan;
    // A table never holds more values than its text has bytes plus one, so
    // a hostile `wanted` cannot make this reserve more than the file size.
    scan.spans.reserve(std::min(wanted, text.size() + 1));
    Scanner scanner(text);
    Value value;
    while (scan.spans.size() < wanted && scanner.next(value)) {
        scan.spans.emplace_back(static_cast<std::uint32_t>(value.offset),
                                static_cast<std::uint32_t>(value.length));
    }
    scan.end = scan.spans.empty() ? 0 : scanner.position();
    return scan;
}

DataFileError::Position valuePosition(std::string_view text, std::size_t valueNumber) {
    DataFileError::Position position;
    position.valueNumber = valueNumber;
    position.line = 1;
    position.field = 1;
    Scanner scanner(text);
    Value value;
    for (std::size_t k = 0; k < valueNumber && scanner.next(value); ++k) {
        position.line += value.lineBreaksInside;
        if (value.ending == Ending::LineBreak) {
            ++position.line;
            position.field = 1;
        } else {
            ++position.field;
        }
    }
    return position;
}

}  // namespace kippurun
