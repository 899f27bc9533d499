#include "tests/support/table_folder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace kippurun::testing {

namespace {

struct FileShape {
    const char* name;
    int side;
    int base;  // 0: flag tables holding "1"
};

const std::vector<FileShape>& fileShapes() {
    static const std::vector<FileShape> shapes = {
        {"Otona.csv", 107, 100000}, {"Kodomo.csv", 107, 50000},   {"6Kai.csv", 107, 300000},
        {"6KaiK.csv", 107, 150000}, {"Ekiro.csv", 107, -1},       {"GHan.csv", 107, 0},
        {"KHan.csv", 107, 0},       {"MHan.csv", 107, 0},         {"Jiyu.csv", 26, 1000},
        {"JiyuK.csv", 26, 500},     {"Kansan.csv", 26, 2000},     {"KansanK.csv", 26, 1500},
        {"Tujo.csv", 26, 3000},     {"TujoK.csv", 26, 2500},      {"Hanbo.csv", 26, 4000},
        {"HanboK.csv", 26, 3500},   {"Green.csv", 26, 5000},      {"GreenK.csv", 26, 4500},
        {"Jiyukai.csv", 26, 60000}, {"JiyuKaiK.csv", 26, 30000},  {"JiKaiHan.csv", 107, 0},
        {"MKiro.csv", 15, -1},      {"Gakuwari.csv", 107, 80000},
    };
    return shapes;
}

const FileShape& shapeOf(const std::string& file) {
    for (const FileShape& s : fileShapes())
        if (file == s.name) return s;
    throw std::invalid_argument("no such table file: " + file);
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace

TableFolder::TableFolder(Contents contents) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kippurun-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (contents == Contents::Tables) write();
}

TableFolder::~TableFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TableFolder::cell(const std::string& file, int arrival, int departure) {
    const FileShape& s = shapeOf(file);
    if (s.base == 0) return "1";
    if (s.base < 0) return std::to_string(arrival + departure);  // distances
    return std::to_string(s.base + arrival * 200 + departure);
}

std::string TableFolder::at(const std::string& file, int arrival, int departure) const {
    auto f = overrides_.find(file);
    if (f != overrides_.end()) {
        auto c = f->second.find({arrival, departure});
        if (c != f->second.end()) return c->second;
    }
    return cell(file, arrival, departure);
}

void TableFolder::set(const std::string& file, int arrival, int departure, std::string text) {
    shapeOf(file);
    overrides_[file][{arrival, departure}] = std::move(text);
}

void TableFolder::setStart(std::string departure, std::string arrival) {
    startDeparture_ = std::move(departure);
    startArrival_ = std::move(arrival);
}

void TableFolder::setKey(int k, std::string value) { keys_[k] = std::move(value); }

void TableFolder::write() const {
    writeFile(path_ / "Start.csv", startDeparture_ + "," + startArrival_ + "\r\n");
    for (const FileShape& s : fileShapes()) {
        std::string bytes;
        for (int a = 0; a < s.side; ++a) {
            for (int d = 0; d < s.side; ++d) {
                if (d > 0) bytes += ',';
                std::string text = at(s.name, a, d);
                // Texts with separators in them are quoted as the files allow.
                if (text.find_first_of(",\"") != std::string::npos) text = "\"" + text + "\"";
                bytes += text;
            }
            bytes += "\r\n";
        }
        writeFile(path_ / s.name, bytes);
    }
    std::string ekimei;
    for (int k = 0; k < 100; ++k) {
        auto key = keys_.find(k);
        ekimei += key != keys_.end() ? key->second : "999";
        ekimei += k % 10 == 9 ? "\r\n" : ",";
    }
    writeFile(path_ / "Ekimei1.csv", ekimei);
}

void TableFolder::remove(const std::string& file) const { std::filesystem::remove(path_ / file); }

void TableFolder::write(std::string_view name, std::string_view bytes) const {
    writeFile(file(name), std::string(bytes));
}

std::string TableFolder::read(std::string_view name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace kippurun::testing
