#include "data/value_scanner.h"

#include <algorithm>
#include <bit>
#include <cstdint>
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

// The bytes of one 64-byte block that matter to the search for values, one
// bit per byte: most values are a few plain digits, and finding them a block
// at a time costs no mispredicted branch per byte.
struct BlockMasks {
    std::uint64_t separators = 0;  // comma, LF, CR
    std::uint64_t careful = 0;     // double quote, blank: the value needs the careful way
};

bool isSeparator(char c) { return c == ',' || c == '\n' || c == '\r'; }

// Inlined: it runs once per 64 bytes, in the loop that finds the values.
[[gnu::always_inline]] inline BlockMasks blockMasks(std::string_view text, std::size_t base) {
    const char* const p = text.data() + base;
    BlockMasks masks;
    if (base + 64 > text.size()) {
        for (std::size_t i = 0; base + i < text.size(); ++i) {
            if (isSeparator(p[i])) masks.separators |= std::uint64_t{1} << i;
            if (p[i] == '"' || isBlank(p[i])) masks.careful |= std::uint64_t{1} << i;
        }
        return masks;
    }
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const __m128i separators = _mm_or_si128(
            _mm_cmpeq_epi8(bytes, comma),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn)));
        const __m128i careful =
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, space), _mm_cmpeq_epi8(bytes, tab)));
        masks.separators |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(separators))}
                            << (16 * i);
        masks.careful |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(careful))}
                         << (16 * i);
    }
#else
    for (std::size_t i = 0; i < 64; ++i) {
        if (isSeparator(p[i])) masks.separators |= std::uint64_t{1} << i;
        if (p[i] == '"' || isBlank(p[i])) masks.careful |= std::uint64_t{1} << i;
    }
#endif
    return masks;
}

// Hands each of the first `wanted` values of `text` to `sink.take(offset,
// length)` in file order and returns the offset just past the last value
// taken. `wanted` must not exceed the text's size plus one.
template <class Sink>
std::size_t scanInto(std::string_view text, std::size_t wanted, Sink& result) {
    // A copy the compiler can keep in registers: a value written through a
    // char pointer could otherwise be any of the sink's own fields.
    Sink sink = result;
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t taken = 0;
    std::size_t pos = Scanner::firstValueAt(text);  // where the next value begins
    bool more = pos < size;
    std::size_t base = pos & ~std::size_t{63};  // the block searched, at or before pos
    while (more && taken < wanted) {
        const BlockMasks masks = blockMasks(text, base);
        // Only the bits at or after pos count; a value that began in an
        // earlier block had no careful byte there.
        const std::uint64_t from =
            pos > base ? ~std::uint64_t{0} << (pos - base) : ~std::uint64_t{0};
        std::uint64_t separators = masks.separators & from;
        const std::uint64_t careful = masks.careful & from;
        const std::size_t firstCareful =
            careful ? base + static_cast<std::size_t>(std::countr_zero(careful)) : SIZE_MAX;
        // The plain values of the block, one per separator, until a value
        // holds a careful byte.
        while (separators != 0) {
            const std::size_t separator =
                base + static_cast<std::size_t>(std::countr_zero(separators));
            if (separator > firstCareful) break;
            sink.take(pos, separator - pos);
            ++taken;
            separators &= separators - 1;
            pos = separator + 1;
            if (data[separator] != ',') {
                if (data[separator] == '\r' && pos < size && data[pos] == '\n') {
                    ++pos;
                    separators &= separators - 1;  // that LF, when it is in this block
                }
                if (pos == size) {
                    more = false;
                    break;
                }
            }
            if (taken == wanted) break;
        }
        if (!more || taken == wanted) break;
        if (firstCareful != SIZE_MAX &&
            (separators == 0 ||
             firstCareful < base + static_cast<std::size_t>(std::countr_zero(separators)))) {
            // Blanks to drop or quotes: this value the careful way.
            Scanner scanner(text, pos);
            Value value;
            scanner.next(value);
            sink.take(value.offset, value.length);
            ++taken;
            pos = scanner.position();
            more = scanner.more();
            base = pos & ~std::size_t{63};
        } else if (separators == 0) {  // the value goes on past this block
            base += 64;
            if (base >= size) {  // the last value (empty after a comma at the end)
                sink.take(pos, size - pos);
                ++taken;
                pos = size;  // past it: whoever checks the values taken sees all of it
                more = false;
            }
        }
    }
    result = sink;
    return taken == 0 ? 0 : pos;
}

struct SpanSink {
    std::vector<ValueSpan>* spans;
    void take(std::size_t offset, std::size_t length) {
        spans->emplace_back(static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length));
    }
};

// Copies each value to the end of the packed text and writes where it ends.
// A short value is moved as one eight-byte word: `out` has eight bytes to
// spare past the longest text it can receive.
struct PackSink {
    const char* text;
    std::size_t size;
    const char* begin;
    char* out;
    std::uint32_t* ends;
    void take(std::size_t offset, std::size_t length) {
        if (length <= 8 && offset + 8 <= size) {
            std::memcpy(out, text + offset, 8);
        } else {
            std::memcpy(out, text + offset, length);
        }
        out += length;
        *ends++ = static_cast<std::uint32_t>(out - begin);
    }
};

}  // namespace

ValueScan scanValues(std::string_view text, std::size_t wanted) {
    ValueScan scan;
    // A text never holds more values than it has bytes plus one, so a huge
    // `wanted` cannot make this reserve more than the file size.
    wanted = std::min(wanted, text.size() + 1);
    scan.spans.reserve(wanted);
    SpanSink sink{&scan.spans};
    scan.end = scanInto(text, wanted, sink);
    return scan;
}

PackedValues packValues(std::string_view text, std::size_t wanted) {
    PackedValues packed;
    wanted = std::min(wanted, text.size() + 1);
    packed.ends.resize(wanted);
    // The values never hold more bytes than the text.
    packed.text.resize(text.size() + 8);
    PackSink sink{text.data(), text.size(), packed.text.data(), packed.text.data(),
                  packed.ends.data()};
    packed.end = scanInto(text, wanted, sink);
    packed.text.resize(static_cast<std::size_t>(sink.out - sink.begin));
    packed.ends.resize(static_cast<std::size_t>(sink.ends - packed.ends.data()));
    return packed;
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
