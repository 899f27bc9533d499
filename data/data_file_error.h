#pragma once
// A table file that cannot be used. The program never runs on a partly read
// table: whoever loads reports this error and ends.
#include <cstddef>
#include <stdexcept>
#include <string>

namespace kippurun {

class DataFileError : public std::runtime_error {
  public:
    enum class Kind {
        FileNotFound,   // the folder exists, the file does not
        PathNotFound,   // the table folder itself is missing
        Unreadable,     // exists but cannot be opened or read
        PastEndOfFile,  // the file ends before all its values were read
        NotANumber,     // a value that must be a number is not
        OutOfRange,     // a number outside the values allowed there
        WriteFailed,    // a file could not be replaced
    };

    struct Position {
        std::size_t valueNumber = 0;  // counting from 0 in file order
        std::size_t line = 0;         // counting from 1
        std::size_t field = 0;        // counting from 1 within the line
    };

    // `message` is the whole Japanese text shown to the clerk; it names the
    // file and, where there is one, the position.
    DataFileError(Kind kind, std::string relativePath, std::string message)
        : std::runtime_error(std::move(message)), kind_(kind), path_(std::move(relativePath)) {}

    Kind kind() const { return kind_; }
    // Path relative to the table folder, e.g. "Otona.csv".
    const std::string& path() const { return path_; }

    // Filled for PastEndOfFile.
    std::size_t valuesFound = 0;
    std::size_t valuesNeeded = 0;
    // Filled for NotANumber and OutOfRange; for PastEndOfFile the place
    // where the first missing value would stand.
    Position position;

  private:
    Kind kind_;
    std::string path_;
};

}  // namespace kippurun
