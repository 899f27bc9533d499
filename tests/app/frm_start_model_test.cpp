// The sales screen's controls before and right after the load step.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/frm_start.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ScreenTest;

class ModelTest : public ::testing::Test, public ScreenTest {};

int positionOf(frmStart& s, const std::string& name) {
    const auto& all = s.controls().all();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i]->name() == name) return static_cast<int>(i);
    return -1;
}

TEST_F(ModelTest, RegistryHoldsEveryControlOnceUnderItsName) {
    frmStart& s = screen();
    std::set<std::string> names;
    for (const Control* c : s.controls().all())
        EXPECT_TRUE(names.insert(c->name()).second) << c->name();
    for (const char* name :
         {"cmdExit(0)", "cmdExit(10)", "lblKenshu(3)", "lblKukan1(3)", "lblArrow(3)",
          "lblKenshuM(2)", "lblDay(41)", "lblWeek(6)", "lblHi0", "lblHi41", "cmdEki00", "cmdEki51",
          "cmdFull04", "cmdFull52", "txthatsu2", "picCalender", "Label1"})
        EXPECT_NE(s.controls().find(name), nullptr) << name;
    EXPECT_EQ(s.controls().find("cmdFull05"), nullptr);  // position 5 is "大人１"
    EXPECT_EQ(s.controls().find("lblHi(3)"), nullptr);
}

TEST_F(ModelTest, ContainersComeBeforeTheirContents) {
    frmStart& s = screen();
    const std::pair<const char*, const char*> pairs[] = {
        {"frameJosha", "cboKenshu"},    {"frameJosha", "txtNinzuG"},
        {"frameRyokin", "cboKenshu3"},  {"frameRyokin", "frameRyokin2"},
        {"frameRyokin2", "cboKenshu4"}, {"frameRyokin2", "txtChaku4"},
        {"tabFullKey", "cmdToday"},     {"tabFullKey", "cmdEki00"},
        {"tabFullKey", "txtTan01"},     {"picCalender", "lblDay(0)"},
        {"picCalender", "lblHi41"},     {"picYear", "txtNannen"},
        {"picMonth", "cmdYokuGetsu"},
    };
    for (auto [container, content] : pairs)
        EXPECT_LT(positionOf(s, container), positionOf(s, content)) << container << " " << content;
}

TEST_F(ModelTest, PageZeroKeysSitAtTheirPositions) {
    frmStart& s = screen();
    EXPECT_EQ(&s.fullKey(1), &s.cmdToday);
    EXPECT_EQ(&s.fullKey(5), &s.cmdO1);
    EXPECT_EQ(&s.fullKey(17), &s.cmd11Kai);
    EXPECT_EQ(&s.fullKey(26), &s.cmdMarineG);
    EXPECT_EQ(&s.fullKey(29), &s.cmdGaku);
    EXPECT_EQ(s.fullKey(4).name(), "cmdFull04");
    EXPECT_EQ(s.fullKey(52).name(), "cmdFull52");
    EXPECT_THROW(s.fullKey(0), std::out_of_range);
    EXPECT_THROW(s.cmdFull(5), std::out_of_range);
    // Every position holds a named key with a caption and a handler, or an
    // empty key named after its position.
    for (int n = 1; n <= 52; ++n) {
        const CommandButton& key = s.fullKey(n);
        if (key.name().starts_with("cmdFull")) {
            EXPECT_EQ(key.name(), "cmdFull" + keyNumberText(n));
            EXPECT_EQ(key.caption, "");
        } else {
            EXPECT_FALSE(key.caption.empty()) << key.name();
            EXPECT_TRUE(key.onClick) << key.name();
        }
    }
}

// Each grid of keys or cells stands on one lattice: every cell the same
// size, a constant pitch across and down, wider than the cell so that no two
// overlap, and in reading order. (Every caption stands in the dump golden
// script; what is checked here is what the form must do with them.)
TEST_F(ModelTest, EveryGridLinesUpWithItsNeighbours) {
    frmStart& s = screen();
    struct Grid {
        const char* name;
        std::vector<const Control*> cells;
        int columns;
    };
    std::vector<Grid> grids = {{"full keys", {}, 4}, {"station keys", {}, 4}, {"days", {}, 7}};
    for (int n = 1; n <= 52; ++n) grids[0].cells.push_back(&s.fullKey(n));
    for (int k = 0; k < 52; ++k) grids[1].cells.push_back(&s.cmdEki(k));
    for (int k = 0; k < 42; ++k) grids[2].cells.push_back(&s.lblDay(k));
    for (const Grid& grid : grids) {
        SCOPED_TRACE(grid.name);
        auto at = [&](std::size_t i) { return s.controls().placement(*grid.cells[i])->geometry; };
        const Geometry first = at(0), across = at(1), down = at(grid.columns);
        const int pitchX = across.left - first.left, pitchY = down.top - first.top;
        EXPECT_GE(pitchX, first.width - 15);  // touching at most by a pixel's worth
        EXPECT_GE(pitchY, first.height - 15);
        for (std::size_t i = 0; i < grid.cells.size(); ++i) {
            const Geometry g = at(i);
            const int row = static_cast<int>(i) / grid.columns,
                      column = static_cast<int>(i) % grid.columns;
            EXPECT_EQ(g.left, first.left + column * pitchX) << grid.cells[i]->name();
            EXPECT_EQ(g.top, first.top + row * pitchY) << grid.cells[i]->name();
            EXPECT_EQ(g.width, first.width) << grid.cells[i]->name();
            EXPECT_EQ(g.height, first.height) << grid.cells[i]->name();
        }
    }
}

TEST_F(ModelTest, StateHoldersStartHiddenAndTheRestShown) {
    frmStart s(folder.path(), clock, prompt);  // as built, before the load step
    std::set<std::string> hidden = {
        "txtHatsu", "txtChaku", "txthatsu2", "txtChaku2", "txtHatsu4", "txtChaku4", "optRyokin1",
        "optRyokin2", "optHatsu1", "optHatsu2", "optHatsu3", "optHatsu4", "optChaku1", "optChaku2",
        "optChaku3", "optChaku4", "txtFocus", "txtYear", "txtMonth", "txtDay", "txtWeek", "lblGaku",
        "txtNinzuG",
        // journey section 2 and charge section 2 wait for a sale that needs them
        "cboHatsu2", "cboChaku2", "lblKukan1(1)", "lblArrow(1)", "frameRyokin2"};
    for (const Control* c : s.controls().all())
        EXPECT_EQ(c->visible, !hidden.count(c->name())) << c->name();
}

TEST_F(ModelTest, CalendarAndBillLookBeforeAnyDraw) {
    frmStart s(folder.path(), clock, prompt);  // no load step
    for (int k = 0; k < 42; ++k) {
        EXPECT_EQ(s.lblDay(k).caption, "・");
        const Rgb expected = k % 7 == 0 ? RgbRed : k % 7 == 6 ? RgbBlue : RgbBlack;
        EXPECT_EQ(s.lblDay(k).foreColor, expected) << k;
        EXPECT_TRUE(s.lblHi(k).transparent);
        EXPECT_EQ(s.lblHi(k).caption, "");
    }
    EXPECT_EQ(s.lblWeek(0).foreColor, RgbRed);
    EXPECT_EQ(s.lblWeek(3).foreColor, RgbBlack);
    EXPECT_EQ(s.lblWeek(6).foreColor, RgbBlue);
    EXPECT_EQ(s.picCalender.geometry.height, 3495);
    EXPECT_TRUE(s.txtSeason.centred);
    for (const auto& line : s.billLines()) {
        EXPECT_TRUE(line.unit->rightAligned && line.count->rightAligned &&
                    line.subtotal->rightAligned);
        EXPECT_EQ(line.unit->text, "");
    }
    for (TextBox* count : {&s.txtNinzu, &s.txtNinzuK, &s.txtNinzuG}) EXPECT_TRUE(count->digitsOnly);
    EXPECT_FALSE(s.txtBill.digitsOnly);
}

TEST_F(ModelTest, EmptyPageZeroKeysDoNothing) {
    frmStart& s = screen();
    const auto before = testing::snapshot(s);
    for (int n = 1; n <= 52; ++n)
        if (s.fullKey(n).name().starts_with("cmdFull")) s.fullKey(n).press();
    EXPECT_EQ(testing::snapshot(s), before);
}

}  // namespace
}  // namespace kippurun
