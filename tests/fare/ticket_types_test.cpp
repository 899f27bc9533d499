#include "fare/ticket_types.h"

#include <gtest/gtest.h>

#include <string>

#include "data/station_catalogue.h"
#include "data/table_files.h"

namespace kippurun {
namespace {

std::size_t sideOf(TableMember table) { return tableFileOf(table).perLine; }

// What the screen and the rules rely on of each entry: a coupon sells no
// student ticket; a type is priced between charge stops exactly when its
// tables are the 26 x 26 express-stop tables; adult and child tables match.
TEST(TicketTypes, PassengerEntriesAgreeWithTheirTables) {
    for (const PassengerType& type : PassengerTypes) {
        SCOPED_TRACE(std::string(type.name));
        if (type.kind == TicketKind::Coupon) {
            EXPECT_EQ(type.student, nullptr);
        }
        EXPECT_NE(type.kind, TicketKind::Express);
        EXPECT_NE(type.kind, TicketKind::Marine);
        const std::size_t side = sideOf(type.adult);
        EXPECT_EQ(sideOf(type.child), side);
        if (type.student != nullptr) {
            EXPECT_EQ(sideOf(type.student), side);
        }
        EXPECT_EQ(type.chargeStops, side == static_cast<std::size_t>(ExpressStopCount));
        EXPECT_EQ(type.permit != TicketPermit::Always, type.kind == TicketKind::Coupon);
        EXPECT_LE(type.permit, TicketPermit::ExpressCoupon) << "a charge ticket's permission";
    }
}

TEST(TicketTypes, ChargeEntriesAgreeWithTheirKeysAndTables) {
    for (std::size_t j = 0; j < ChargeTypes.size(); ++j) {
        const ChargeType& type = ChargeTypes[j];
        SCOPED_TRACE(std::string(type.name));
        // Sold by the key of the determination that prices its kind.
        const bool expressKey = type.permit == TicketPermit::UnreservedExpress ||
                                type.permit == TicketPermit::ReservedExpress ||
                                type.permit == TicketPermit::GreenExpress;
        const bool marineKey =
            type.permit == TicketPermit::MarineSeat || type.permit == TicketPermit::MarineGreen;
        EXPECT_EQ(type.kind == TicketKind::Express, expressKey);
        EXPECT_EQ(type.kind == TicketKind::Marine, marineKey);
        EXPECT_EQ(type.kind == TicketKind::None, type.permit == TicketPermit::Always);
        EXPECT_EQ(type.adult != nullptr, type.rule == ChargeRule::FromTables);
        if (type.rule == ChargeRule::FromTables) {
            EXPECT_EQ(sideOf(type.adult), static_cast<std::size_t>(ExpressStopCount));
            EXPECT_EQ(tableFileOf(type.child).adultTable, type.adult);
        }
    }
    for (int position : {UnreservedExpress, ReservedExpress, GreenExpress})
        EXPECT_EQ(chargeKind(position), TicketKind::Express);
    for (int position : {MarineSeat, MarineGreen})
        EXPECT_EQ(chargeKind(position), TicketKind::Marine);
    EXPECT_EQ(chargeKind(-1), TicketKind::None);
    EXPECT_EQ(chargeKind(static_cast<int>(ChargeTypes.size())), TicketKind::None);
    EXPECT_FALSE(isCoupon(-1));
    EXPECT_EQ(passengerType(static_cast<int>(PassengerTypes.size())), nullptr);
}

}  // namespace
}  // namespace kippurun
