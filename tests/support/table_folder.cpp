#include "tests/support/table_folder.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "data/table_files.h"

namespace kippurun::testing {

namespace {

struct FileShape {
    std::string name;
    int side;
    int base;  // 0: flag tables holding "1"; -1: distances
};

// The amounts' bases, apart by more than a table's span of arrival * 200 +
// departure where a test tells two tables apart, a child's below its
// adult's and the student's below the adult's.
int amountBase(TableMember member) {
    using F = FareTables;
    const std::pair<TableMember, int> bases[] = {
        {&F::Otona, 100000},   {&F::Kodomo, 50000}, {&F::Kai6, 300000},   {&F::Kai6K, 150000},
        {&F::Jiyu, 1000},      {&F::JiyuK, 500},    {&F::Kansan, 2000},   {&F::KansanK, 1500},
        {&F::Tujo, 3000},      {&F::TujoK, 2500},   {&F::Hanbo, 4000},    {&F::HanboK, 3500},
        {&F::Green, 5000},     {&F::GreenK, 4500},  {&F::Jiyukai, 60000}, {&F::JiyuKaiK, 30000},
        {&F::Gakuwari, 80000},
    };
    for (const auto& [m, base] : bases)
        if (m == member) return base;
    // Any other amount table: its own base, below its adult table's.
    const TableFile& file = tableFileOf(member);
    if (file.adultTable != nullptr) return amountBase(file.adultTable) / 2;
    return 1000000 + 100000 * static_cast<int>(&file - TableFiles.data());
}

// Every square table of the folder, as the program's list has them.
const std::vector<FileShape>& fileShapes() {
    static const std::vector<FileShape> shapes = [] {
        std::vector<FileShape> list;
        for (const TableFile& file : TableFiles) {
            if (file.member == nullptr) continue;
            const int base = file.value == TableValue::Amount     ? amountBase(file.member)
                             : file.value == TableValue::Distance ? -1
                                                                  : 0;
            list.push_back({std::string(file.fileName()), static_cast<int>(file.perLine), base});
        }
        return list;
    }();
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

void TableFolder::writeAsInstalled(const TableFolder& tables, const TableFolder& counter) {
    tables.write();
    counter.write();
    for (const TableFile& f : TableFiles) {
        const bool pair = f.member == nullptr;
        (pair ? tables : counter).remove(std::string(f.fileName()));
    }
}

void TableFolder::write(std::string_view name, std::string_view bytes) const {
    writeFile(file(name), std::string(bytes));
}

std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TableFolder::read(std::string_view name) const { return bytesOf(file(name)); }

}  // namespace kippurun::testing
