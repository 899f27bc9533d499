// The table reader on any bytes, at every size the program reads: the three
// table sides, the two values of Start.csv and the hundred of Ekimei1.csv.
// Each value the reader returns must be the one a plain byte-by-byte reading
// of the file format finds, a span inside the file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_file_error.h"
#include "data/table_file.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/table_folder.h"

namespace {

using kippurun::DataFileError;

struct ModelValue {
    std::size_t offset, length;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSeparator(char c) { return c == ',' || c == '\n' || c == '\r'; }

// The format read one byte at a time: commas and line breaks (CR LF, CR or
// LF) end a value, blanks around a value are dropped, a value opened by a
// double quote runs to the next one and anything after it up to the
// separator is dropped. A comma is always followed by a value; a line break
// at the very end of the text is not.
std::vector<ModelValue> modelValues(std::string_view text, std::size_t wanted) {
    std::vector<ModelValue> values;
    std::size_t pos = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    bool more = pos < text.size();
    while (more && values.size() < wanted) {
        while (pos < text.size() && isBlank(text[pos])) ++pos;
        ModelValue value{pos, 0};
        if (pos < text.size() && text[pos] == '"') {
            value.offset = ++pos;
            while (pos < text.size() && text[pos] != '"') ++pos;
            value.length = pos - value.offset;
            if (pos < text.size()) ++pos;
            while (pos < text.size() && !isSeparator(text[pos])) ++pos;
        } else {
            while (pos < text.size() && !isSeparator(text[pos])) ++pos;
            std::size_t end = pos;
            while (end > value.offset && isBlank(text[end - 1])) --end;
            value.length = end - value.offset;
        }
        values.push_back(value);
        if (pos == text.size()) {
            more = false;
        } else if (text[pos] == ',') {
            ++pos;
        } else {
            pos += text.substr(pos, 2) == "\r\n" ? 2 : 1;
            more = pos < text.size();
        }
    }
    return values;
}

// UTF-8 by decoding: a code point must use the shortest form and be neither
// a surrogate nor beyond U+10FFFF.
bool modelValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80       ? 1
                     : lead >> 5 == 6  ? 2
                     : lead >> 4 == 14 ? 3
                     : lead >> 3 == 30 ? 4
                                       : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return false;
        std::uint32_t point = length == 1 ? lead : lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            point = point << 6 | (next & 0x3Fu);
        }
        const std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < shortest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

const kippurun::testing::TableFolder& folder() {
    static const kippurun::testing::TableFolder dir(
        kippurun::testing::TableFolder::Contents::Empty);
    return dir;
}

void checkValues(std::string_view bytes, std::size_t count) {
    const std::vector<ModelValue> model = modelValues(bytes, count);
    try {
        const kippurun::FileValues file =
            kippurun::readFileValues(folder().path(), "\\Untin\\Fuzz.csv", count);
        FUZZ_CHECK(file.content.size() <= bytes.size());
        FUZZ_CHECK(file.spans.size() == count && model.size() == count);
        for (std::size_t k = 0; k < count; ++k) {
            const auto [offset, length] = file.spans[k];
            FUZZ_CHECK(std::size_t{offset} + length <= file.content.size());
            FUZZ_CHECK(offset == model[k].offset && length == model[k].length);
            FUZZ_CHECK(file.value(k) == bytes.substr(offset, length));
        }
    } catch (const DataFileError& e) {
        FUZZ_CHECK(e.kind() == DataFileError::Kind::PastEndOfFile);
        FUZZ_CHECK(e.valuesNeeded == count && e.valuesFound == model.size() &&
                   model.size() < count);
    }
}

void checkTable(std::string_view bytes, int side) {
    const auto count = static_cast<std::size_t>(side * side);
    const std::vector<ModelValue> model = modelValues(bytes, count);
    try {
        const kippurun::Table table =
            kippurun::readSquareTable(folder().path(), "\\Untin\\Fuzz.csv", side);
        FUZZ_CHECK(table.side() == side && model.size() == count);
        for (int a = 0; a < side; ++a) {
            for (int d = 0; d < side; ++d) {
                const ModelValue& m = model[static_cast<std::size_t>(a * side + d)];
                const std::string_view value = table.at(a, d);
                FUZZ_CHECK(value == bytes.substr(m.offset, m.length));
                FUZZ_CHECK(modelValidUtf8(value));
            }
        }
        FUZZ_CHECK(table.at(side, 0).empty() && table.at(0, -1).empty());
    } catch (const DataFileError& e) {
        if (e.kind() == DataFileError::Kind::PastEndOfFile) {
            FUZZ_CHECK(model.size() < count);
            return;
        }
        // Refused for a value that is no UTF-8; the message names it.
        FUZZ_CHECK(e.kind() == DataFileError::Kind::Unreadable && model.size() == count);
        const std::size_t k = e.position.valueNumber;
        FUZZ_CHECK(k < count && !modelValidUtf8(bytes.substr(model[k].offset, model[k].length)));
        for (std::size_t before = 0; before < k; ++before)
            FUZZ_CHECK(modelValidUtf8(bytes.substr(model[before].offset, model[before].length)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    folder().write("Fuzz.csv", bytes);
    checkValues(bytes, 2);    // Start.csv
    checkValues(bytes, 100);  // Ekimei1.csv
    for (int side : {107, 26, 15}) checkTable(bytes, side);
    return 0;
}
