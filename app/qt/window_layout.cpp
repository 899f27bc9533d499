#include "app/qt/window_layout.h"

#include <cstdio>
#include <unordered_map>

namespace kippurun {

namespace {

constexpr int KeyWidth = 855, KeyHeight = 375;  // the top key rows
constexpr int RowHeight = 375;                  // drop-downs, text boxes and labels in the frames
constexpr int PadWidth = 1095, PadAcross = 1080, PadDown = 360;  // keys of pages 0 and 1
constexpr int PadLeft = 180, PadTop = 240;
constexpr int CellSize = 495, CellPitch = 480;  // the calendar grid
constexpr int GridMargin = 60;

const char* const NamedFullKeys[53] = {
    nullptr,   "cmdToday",     "cmdTomorrow", "cmdAsatte",  nullptr,      "cmdO1",
    "cmdO2",   "cmdO3",        "cmdO4",       "cmdK1",      "cmdK2",      "cmdK3",
    "cmdK4",   "cmdKatamichi", "cmdOfuku",    "cmdRenzoku", nullptr,      "cmd11Kai",
    "cmd6Kai", "cmdJiyuKai",   nullptr,       "cmdJitoku",  "cmdShiToku", "cmdGToku",
    nullptr,   "cmdMarine",    "cmdMarineG",  nullptr,      nullptr,      "cmdGaku",
};

std::string indexed(const char* name, int index) {
    return std::string(name) + "(" + std::to_string(index) + ")";
}

std::string twoDigits(const char* prefix, int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%s%02d", prefix, n);
    return buffer;
}

class LayoutBuilder {
  public:
    std::vector<Placement> entries;

    Placement& put(std::string name, std::string container, Geometry g) {
        Placement p;
        p.name = std::move(name);
        p.container = std::move(container);
        p.geometry = g;
        entries.push_back(std::move(p));
        return entries.back();
    }
    Placement& onPage(int page, std::string name, Geometry g) {
        Placement& p = put(std::move(name), "tabFullKey", g);
        p.page = page;
        return p;
    }
    // A label in front of its field; centred captions for the short signs.
    Placement& label(std::string name, std::string container, Geometry g,
                     TextAlign align = TextAlign::Left) {
        Placement& p = put(std::move(name), std::move(container), g);
        p.align = align;
        return p;
    }
    // "区間１ [from] → [to]" at (left, top) of a frame.
    void sectionRow(std::string container, int left, int top, int index, const char* from,
                    const char* to) {
        label(indexed("lblKukan1", index), container, {left, top, 735, RowHeight});
        put(from, container, {left + 780, top, 1875, RowHeight});
        label(indexed("lblArrow", index), container, {left + 2700, top, 375, RowHeight},
              TextAlign::Centre);
        put(to, container, {left + 3120, top, 1875, RowHeight});
    }
    void ticketRow(std::string container, int left, int top, int index, const char* list) {
        label(indexed("lblKenshu", index), container, {left, top, 735, RowHeight});
        put(list, container, {left + 780, top, 2775, RowHeight});
    }
};

void topRows(LayoutBuilder& b) {
    b.put(indexed("cmdExit", 0), "", {120, 120, KeyWidth, KeyHeight});
    for (int i = 1; i <= 8; ++i)
        b.put(indexed("cmdExit", i), "", {1080 + 960 * (i - 1), 120, KeyWidth, KeyHeight});
    b.put("cmdSettei", "", {8760, 120, KeyWidth, KeyHeight});
    b.put("cmdJikkou", "", {9720, 120, KeyWidth, KeyHeight});
    // A smaller face: the longest era date ("令和10年12月31日日曜日") must fit
    // the box's given width whole.
    b.put("txtDate", "", {120, 600, 2055, KeyHeight}).pointSize = 8;
    b.put("txtJoryouken", "", {2280, 600, 5415, KeyHeight});
    b.put(indexed("cmdExit", 9), "", {7800, 600, KeyWidth, KeyHeight});
    b.put(indexed("cmdExit", 10), "", {8760, 600, KeyWidth, KeyHeight});
    b.put("cmdKaihou", "", {9720, 600, KeyWidth, KeyHeight});
}

void passengerFrame(LayoutBuilder& b) {
    const std::string f = "frameJosha";
    b.put(f, "", {240, 960, 5295, 2655});
    b.ticketRow(f, 120, 240, 0, "cboKenshu");
    b.label("lblHizuke", f, {120, 720, 735, RowHeight});
    b.put("txtTuki", f, {900, 720, 615, RowHeight});
    b.label("lblSrash", f, {1560, 720, 255, RowHeight}, TextAlign::Centre);
    b.put("txtNichi", f, {1860, 720, 615, RowHeight});
    b.sectionRow(f, 120, 1200, 0, "cboHatsu", "cboChaku");
    b.sectionRow(f, 120, 1680, 1, "cboHatsu2", "cboChaku2");
    const char* const counts[3][2] = {
        {"lblOtona", "txtNinzu"}, {"lblShoni", "txtNinzuK"}, {"lblGaku", "txtNinzuG"}};
    for (int i = 0; i < 3; ++i) {
        const int left = 120 + 1560 * i;
        b.label(counts[i][0], f, {left, 2160, 615, RowHeight});
        b.put(counts[i][1], f, {left + 660, 2160, 735, RowHeight}).readOnly = false;
    }
}

void chargeFrame(LayoutBuilder& b) {
    const std::string f = "frameRyokin";
    b.put(f, "", {240, 3840, 5295, 2655});
    // Rows start lower than in the passenger frame, below the caption.
    b.ticketRow(f, 120, 360, 1, "cboKenshu3");
    b.sectionRow(f, 120, 840, 2, "cboHatsu3", "cboChaku3");
    const std::string f2 = "frameRyokin2";
    b.put(f2, f, {60, 1320, 5175, 1140});
    b.ticketRow(f2, 60, 180, 2, "cboKenshu4");
    b.sectionRow(f2, 60, 660, 3, "cboHatsu4", "cboChaku4");
}

void total(LayoutBuilder& b) {
    b.label(indexed("lblKenshu", 3), "", {240, 6660, 1335, 495}).pointSize = 14;
    b.put("txtBill", "", {1680, 6660, 3855, 495}).pointSize = 14;
}

void keyPages(LayoutBuilder& b) {
    b.put("tabFullKey", "", {5640, 1080, 4815, 6255});
    auto padGeometry = [](int row, int column) {
        return Geometry{PadLeft + PadAcross * column, PadTop + PadDown * row, PadWidth, 375};
    };
    for (int n = 1; n <= 52; ++n) {
        const char* named = n < 30 ? NamedFullKeys[n] : nullptr;
        std::string name = named ? std::string(named) : twoDigits("cmdFull", n);
        b.onPage(0, std::move(name), padGeometry((n - 1) / 4, (n - 1) % 4));
    }
    for (int k = 0; k < 52; ++k) b.onPage(1, twoDigits("cmdEki", k), padGeometry(k / 4, k % 4));
}

void calendarPage(LayoutBuilder& b) {
    const int left = 660;
    struct Paging {
        const char *box, *back, *text, *forward;
        int left;
    };
    const Paging pagings[2] = {{"picYear", "cmdZenNen", "txtNannen", "cmdYokuNen", left},
                               {"picMonth", "cmdZenGetu", "txtNangatsu", "cmdYokuGetsu", 2460}};
    for (const Paging& p : pagings) {
        b.onPage(2, p.box, {p.left, 120, 1695, 495});
        b.put(p.back, p.box, {60, 60, 375, 375});
        b.put(p.text, p.box, {480, 60, 735, 375});
        b.put(p.forward, p.box, {1260, 60, 375, 375});
    }
    const int gridSide =
        2 * GridMargin + 6 * CellPitch + CellSize;  // 3495: six rows and the header
    b.onPage(2, "picCalender", {left, 720, gridSide, gridSide});
    b.put("Label1", "picCalender", {0, 0, gridSide, GridMargin + CellSize}).background = RgbWhite;
    for (int c = 0; c < 7; ++c)
        b.label(indexed("lblWeek", c), "picCalender",
                {GridMargin + CellPitch * c, GridMargin, CellSize, CellSize}, TextAlign::Centre)
            .pointSize = 12;
    auto cell = [](int k) {
        return Geometry{GridMargin + CellPitch * (k % 7), GridMargin + CellPitch * (k / 7 + 1),
                        CellSize, CellSize};
    };
    for (int k = 0; k < 42; ++k) {
        Placement& day = b.label(indexed("lblDay", k), "picCalender", cell(k), TextAlign::Centre);
        day.pointSize = 18;
        day.background = RgbWhite;
    }
    // After the cells, so that the marks lie above them and take the clicks.
    for (int k = 0; k < 42; ++k)
        b.label("lblHi" + std::to_string(k), "picCalender", cell(k), TextAlign::Centre).pointSize =
            18;
    b.onPage(2, "txtSeason", {left, 4335, 2295, 375});
    b.onPage(2, "cmdDayKettei", {left + 2400, 4335, 1095, 375});
}

void billPage(LayoutBuilder& b) {
    auto heading = [&](const char* name, Geometry g) {
        b.label(name, "tabFullKey", g, TextAlign::Centre).page = 3;
    };
    heading("lblTanka", {1080, 120, 1335, 300});
    heading("lblMaisu", {2520, 120, 735, 300});
    heading("lblShokei", {3360, 120, 1215, 300});
    struct Block {
        int nameTop;
        std::vector<const char*> lines;
    };
    const Block blocks[3] = {{480, {"01", "02", "03"}}, {2160, {"21", "22"}}, {3420, {"31", "32"}}};
    for (int i = 0; i < 3; ++i) {
        b.label(indexed("lblKenshuM", i), "tabFullKey", {120, blocks[i].nameTop, 4455, 300}).page =
            3;
        int top = blocks[i].nameTop + 360;
        for (const char* line : blocks[i].lines) {
            const std::string s(line);
            b.label("lbl" + s, "tabFullKey", {240, top, 735, RowHeight}).page = 3;
            b.onPage(3, "txtTan" + s, {1080, top, 1335, RowHeight});
            b.onPage(3, "txtNin" + s, {2520, top, 735, RowHeight});
            b.onPage(3, "txtSho" + s, {3360, top, 1215, RowHeight});
            top += 420;
        }
    }
}

std::vector<Placement> buildLayout() {
    LayoutBuilder b;
    topRows(b);
    passengerFrame(b);
    chargeFrame(b);
    total(b);
    keyPages(b);
    calendarPage(b);
    billPage(b);
    return std::move(b.entries);
}

}  // namespace

const std::vector<Placement>& salesWindowLayout() {
    static const std::vector<Placement> layout = buildLayout();
    return layout;
}

const Placement* findPlacement(std::string_view name) {
    static const std::unordered_map<std::string_view, const Placement*> index = [] {
        std::unordered_map<std::string_view, const Placement*> map;
        for (const Placement& p : salesWindowLayout()) map.emplace(p.name, &p);
        return map;
    }();
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

}  // namespace kippurun
