#pragma once
// A table value that must be a number for a calculation and is not. The run
// stops and leaves the bill cleared rather than print a wrong amount.
#include <stdexcept>
#include <string>

namespace kippurun {

class TableValueError : public std::runtime_error {
  public:
    enum class Reason {
        NotANumber,   // a value read strictly
        NotWholeYen,  // an amount with a fraction of a yen, or beyond 64 bits
        TooLarge,     // a product or sum of amounts beyond 64 bits
        NoAmount,     // a price sold to a passenger, empty or not starting with a number
    };
    // `file` e.g. "Otona.csv"; arrival and departure as looked up;
    // `text` the value found; `valueNumber` its place in the file, counted
    // from 0, or -1 where it goes unnamed. what() is the Japanese message
    // for the clerk.
    TableValueError(std::string file, int arrival, int departure, std::string text,
                    Reason reason = Reason::NotANumber, long long valueNumber = -1);
    const std::string& file() const { return file_; }
    int arrival() const { return arrival_; }
    int departure() const { return departure_; }
    const std::string& text() const { return text_; }

  private:
    std::string file_;
    int arrival_;
    int departure_;
    std::string text_;
};

}  // namespace kippurun
