#include "fare/yen.h"

#include "data/number_reading.h"
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
    yen.amount_ = hasLeadingNumber(yen.text_);
    const std::optional<std::int64_t> value = readLenientYen(yen.text_);
    if (!value) {
        throw TableValueError(std::string(file), arrival, departure, yen.text_,
                              TableValueError::Reason::NotWholeYen);
    }
    yen.value_ = *value;
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
    // The sum names a cell that holds no amount first, else a cell at all.
    Yen result = !amount_ ? *this : !other.amount_ ? other : !file_.empty() ? *this : other;
    if (__builtin_add_overflow(value_, other.value_, &result.value_)) tooLarge(&other);
    return result;
}

Yen Yen::subtotal(std::int64_t count) const {
    if (count != 0 && !amount_) {
        throw TableValueError(std::string(file_), arrival_, departure_, text_,
                              TableValueError::Reason::NoAmount, valueNumber_);
    }
    return times(count);
}

}  // namespace kippurun
