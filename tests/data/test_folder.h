#pragma once
// A temporary table folder for one test, removed afterwards.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

namespace kippurun::testing {

class TestFolder {
  public:
    TestFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kippurun-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(std::string_view name) const { return path_ / name; }

    void write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

  private:
    std::filesystem::path path_;
};

enum class Layout { RowPerLine, OnePerLine, OneLine };

// A square table whose cell k holds cell(k), laid out as asked, CRLF endings.
inline std::string squareTable(int side, const std::function<std::string(int)>& cell,
                               Layout layout = Layout::RowPerLine) {
    std::string out;
    const int count = side * side;
    for (int k = 0; k < count; ++k) {
        out += cell(k);
        const bool last = k + 1 == count;
        const bool rowEnd = (k + 1) % side == 0;
        if (layout == Layout::OnePerLine || (layout == Layout::RowPerLine && rowEnd) || last) {
            out += "\r\n";
        } else {
            out += ",";
        }
    }
    return out;
}

inline std::string positionText(int k) { return std::to_string(k); }

}  // namespace kippurun::testing
