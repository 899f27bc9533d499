#pragma once
// A table value that must be a number for a calculation and is not. The run
// stops and leaves the bill cleared rather than print a wrong amount.
#include <stdexcept>
#include <string>
#include <string_view>

namespace kippurun {

class TableValueError : public std::runtime_error {
  public:
    enum class Reason {
        NotANumber,   // a value read strictly
        TooLarge,     // a product or sum of amounts beyond 64 bits
        NotAnAmount,  // a price sold to a passenger from a cell data/amount.h refuses
        ZeroAmount,   // a price of 0 sold between two different stations
    };
    // `file` e.g. "Otona.csv"; arrival and departure as looked up;
    // `text` the value found; `valueNumber` its place in the file, counted
    // from 0, or -1 where it goes unnamed; `refusal` what data/amount.h
    // says of a cell that is not an amount. what() is the Japanese message
    // for the clerk.
    TableValueError(std::string file, int arrival, int departure, std::string text,
                    Reason reason = Reason::NotANumber, long long valueNumber = -1,
                    std::string_view refusal = {});
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
