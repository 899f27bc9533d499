#include "data/value_scanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    explicit Scanner(std::string_view text) : text_(text), pos_(firstValueAt(text)) {
        more_ = pos_ < text_.size();
    }
    // Resumes at `pos`, where a value begins.
    Scanner(std::string_view text, std::size_t pos) : text_(text), pos_(pos), more_(true) {}

    static std::size_t firstValueAt(std::string_view text) {
        return text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
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
    bool more() const { return more_; }

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

// Finds separators 64 bytes at a time: most values are a few digits long,
// and a byte-by-byte search costs a mispredicted branch per value.
class SeparatorFinder {
  public:
    explicit SeparatorFinder(std::string_view text) : text_(text) {}

    // Offset of the first separator at or after `pos`, or the text's size.
    std::size_t next(std::size_t pos) {
        const std::size_t base = pos & ~std::size_t{63};
        if (base != base_) {
            base_ = base;
            mask_ = maskAt(base);
        }
        std::uint64_t mask = mask_ & (~std::uint64_t{0} << (pos & 63));
        while (mask == 0) {
            base_ += 64;
            if (base_ >= text_.size()) return text_.size();
            mask = mask_ = maskAt(base_);
        }
        return base_ + static_cast<std::size_t>(std::countr_zero(mask));
    }

  private:
    static bool isSeparator(char c) { return c == ',' || c == '\n' || c == '\r'; }

    std::uint64_t maskAt(std::size_t base) const {
        const char* const p = text_.data() + base;
        std::uint64_t mask = 0;
        if (base + 64 > text_.size()) {
            for (std::size_t i = 0; base + i < text_.size(); ++i) {
                if (isSeparator(p[i])) mask |= std::uint64_t{1} << i;
            }
            return mask;
        }
#if defined(__SSE2__)
        const __m128i comma = _mm_set1_epi8(',');
        const __m128i lineFeed = _mm_set1_epi8('\n');
        const __m128i carriageReturn = _mm_set1_epi8('\r');
        for (int i = 0; i < 4; ++i) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
            const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, comma),
                                              _mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed),
                                                           _mm_cmpeq_epi8(bytes, carriageReturn)));
            mask |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))} << (16 * i);
        }
#else
        for (std::size_t i = 0; i < 64; ++i) {
            if (isSeparator(p[i])) mask |= std::uint64_t{1} << i;
        }
#endif
        return mask;
    }

    std::string_view text_;
    std::size_t base_ = ~std::size_t{0};
    std::uint64_t mask_ = 0;
};

}  // namespace

ValueScan scanValues(std::string_view text, std::size_t wanted) {
    ValueScan scan;
    // A text never holds more values than it has bytes plus one, so a huge
    // `wanted` cannot make this reserve more than the file size.
    scan.spans.reserve(std::min(wanted, text.size() + 1));
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t pos = Scanner::firstValueAt(text);
    bool more = pos < size;
    SeparatorFinder separators(text);
    while (more && scan.spans.size() < wanted) {
        const std::size_t separator = separators.next(pos);
        const bool plain = separator == pos || (!isBlank(data[pos]) && data[pos] != '"' &&
                                                !isBlank(data[separator - 1]));
        if (!plain) {  // blanks to drop or quotes: the careful way
            Scanner scanner(text, pos);
            Value value;
            scanner.next(value);
            scan.spans.emplace_back(static_cast<std::uint32_t>(value.offset),
                                    static_cast<std::uint32_t>(value.length));
            pos = scanner.position();
            more = scanner.more();
            continue;
        }
        scan.spans.emplace_back(static_cast<std::uint32_t>(pos),
                                static_cast<std::uint32_t>(separator - pos));
        if (separator == size) {
            pos = size;
            more = false;
        } else if (data[separator] == ',') {
            pos = separator + 1;
        } else {
            const bool crlf =
                data[separator] == '\r' && separator + 1 < size && data[separator + 1] == '\n';
            pos = separator + (crlf ? 2 : 1);
            more = pos < size;
        }
    }
    scan.end = scan.spans.empty() ? 0 : pos;
    return scan;
}

namespace {

// The position of the value after `value`, which stands at `position`.
void stepPast(const Value& value, DataFileError::Position& position) {
    ++position.valueNumber;
    position.line += value.lineBreaksInside;
    if (value.ending == Ending::LineBreak) {
        ++position.line;
        position.field = 1;
    } else {
        ++position.field;
    }
}

DataFileError::Position firstPosition() {
    DataFileError::Position position;
    position.line = 1;
    position.field = 1;
    return position;
}

}  // namespace

DataFileError::Position valuePosition(std::string_view text, std::size_t valueNumber) {
    DataFileError::Position position = firstPosition();
    Scanner scanner(text);
    Value value;
    for (std::size_t k = 0; k < valueNumber && scanner.next(value); ++k) stepPast(value, position);
    position.valueNumber = valueNumber;
    return position;
}

std::vector<DataFileError::Position> valuePositions(std::string_view text) {
    std::vector<DataFileError::Position> positions;
    DataFileError::Position position = firstPosition();
    Scanner scanner(text);
    Value value;
    while (scanner.next(value)) {
        positions.push_back(position);
        stepPast(value, position);
    }
    return positions;
}

}  // namespace kippurun
