#pragma once
// One CSV row as the fare office's lists write it: fields separated by
// commas, quoted where a spreadsheet would otherwise split them, CRLF.
#include <string>
#include <string_view>

namespace kippurun {

class CsvRow {
  public:
    explicit CsvRow(std::string& out) : out_(out) {}
    CsvRow(const CsvRow&) = delete;
    CsvRow& operator=(const CsvRow&) = delete;
    ~CsvRow() { out_ += "\r\n"; }

    CsvRow& operator<<(std::string_view text) {
        if (!first_) out_.push_back(',');
        first_ = false;
        // Quoted when it holds a comma, a double quote or a line break (a
        // table value in quotes may hold any).
        if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
            out_.append(text);
            return *this;
        }
        out_.push_back('"');
        for (const char c : text) {
            if (c == '"') out_.push_back('"');
            out_.push_back(c);
        }
        out_.push_back('"');
        return *this;
    }

  private:
    std::string& out_;
    bool first_ = true;
};

// The byte-order mark that makes a spreadsheet take a file for UTF-8.
inline constexpr std::string_view CsvByteOrderMark = "\xEF\xBB\xBF";

}  // namespace kippurun
