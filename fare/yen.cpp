#include "fare/yen.h"

#include "data/amount.h"
#include "data/station_catalogue.h"
#include "data/table_files.h"
#include "fare/table_value_error.h"

namespace kippurun {

Yen Yen::fixed(std::int64_t value) {
    Yen yen;
    yen.value_ = value;
    return yen;
}

Yen Yen::fromCell(const Table& table, std::string_view file, int arrival, int departure) {
    Yen yen;
    yen.file_ = file;
    yen.arrival_ = arrival;
    yen.departure_ = departure;
    // A table not read yet (the student fares) has the side of the
    // station tables it stands for.
    const int side = table.side() > 0 ? table.side() : StationCount;
    yen.valueNumber_ = static_cast<long long>(arrival) * side + departure;
    yen.text_ = std::string(table.at(arrival, departure));
    AmountReading reading = readAmount(yen.text_);
    yen.amount_ = reading.yen.has_value();
    yen.value_ = reading.yen.value_or(0);
    yen.refusal_ = std::move(reading.refusal);
    yen.zeroBetweenStops_ = yen.amount_ && yen.value_ == 0 && arrival != departure;
    return yen;
}

Yen Yen::fromCell(const FareTables& tables, TableMember table, int arrival, int departure) {
    return fromCell(tables.*table, fileNameOf(table), arrival, departure);
}

void Yen::tooLarge(const Yen* other) const {
    const Yen& named = (file_.empty() && other != nullptr) ? *other : *this;
    throw TableValueError(std::string(named.file_), named.arrival_, named.departure_, named.text_,
                          TableValueError::Reason::TooLarge);
}

Yen Yen::times(std::int64_t factor) const {
    Yen result = *this;
    if (__builtin_mul_overflow(value_, factor, &result.value_)) tooLarge();
    return result;
}

Yen Yen::plus(const Yen& other) const {
    // The sum names a cell that holds no amount first, then a 0 between
    // two stops, else a cell at all.
    const auto rank = [](const Yen& y) {
        return !y.amount_ ? 0 : y.zeroBetweenStops_ ? 1 : !y.file_.empty() ? 2 : 3;
    };
    Yen result = rank(other) < rank(*this) ? other : *this;
    if (__builtin_add_overflow(value_, other.value_, &result.value_)) tooLarge(&other);
    return result;
}

Yen Yen::subtotal(std::int64_t count) const {
    if (count != 0 && !amount_) {
        throw TableValueError(std::string(file_), arrival_, departure_, text_,
                              TableValueError::Reason::NotAnAmount, valueNumber_, refusal_);
    }
    if (count != 0 && zeroBetweenStops_) {
        throw TableValueError(std::string(file_), arrival_, departure_, text_,
                              TableValueError::Reason::ZeroAmount, valueNumber_,
                              zeroAmountRefusal());
    }
    return times(count);
}

}  // namespace kippurun
