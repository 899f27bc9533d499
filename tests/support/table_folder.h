#pragma once
// The one temporary table folder of every test: made empty or filled with
// small tables, removed afterwards.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace kippurun::testing {

// A file's whole bytes; empty when it cannot be read.
std::string bytesOf(const std::filesystem::path& file);

// The files of a table folder. Every cell holds its own value derived from
// its file and position, so that a swapped arrival and departure or a wrong
// table shows; single cells can be overridden.
class TableFolder {
  public:
    enum class Contents { Tables, Empty };
    // A fresh folder, with every table file written unless `Empty`.
    explicit TableFolder(Contents contents = Contents::Tables);
    ~TableFolder();
    TableFolder(const TableFolder&) = delete;
    TableFolder& operator=(const TableFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path file(std::string_view name) const { return path_ / name; }

    // The default text of a cell.
    static std::string cell(const std::string& file, int arrival, int departure);
    // What the folder holds for the cell (default or override).
    std::string at(const std::string& file, int arrival, int departure) const;

    void set(const std::string& file, int arrival, int departure, std::string text);
    void setStart(std::string departure, std::string arrival);
    // Station key k's cell of "Ekimei1.csv" (every key unassigned, 999, until set).
    void setKey(int k, std::string value);
    // Writes every file; call again after changing cells.
    void write() const;
    void remove(const std::string& file) const;

    // One file's exact bytes, written or read.
    void write(std::string_view name, std::string_view bytes) const;
    std::string read(std::string_view name) const;

    // The two folders of an installed counter: every file written, then the
    // counter's pair (Start.csv, Ekimei1.csv) left in `counter` alone and
    // every table in `tables` alone.
    static void writeAsInstalled(const TableFolder& tables, const TableFolder& counter);

  private:
    std::filesystem::path path_;
    std::map<std::string, std::map<std::pair<int, int>, std::string>> overrides_;
    std::string startDeparture_ = "0", startArrival_ = "67";
    std::map<int, std::string> keys_;
};

}  // namespace kippurun::testing
