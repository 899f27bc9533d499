// The sales screen's form table: one row per control, in registry order,
// with its fixed caption, its state before the load step, its handler and
// its place on the window in twips, relative to its container, as the
// screen was drawn.
#include <memory>
#include <string>

#include "app/frm_start.h"
#include "data/key_layout.h"

namespace kippurun {

namespace {

constexpr int KeyWidth = 855, KeyHeight = 375;  // the top key rows
constexpr int RowHeight = 375;                  // drop-downs, text boxes and labels in the frames
constexpr int CellSize = 495, CellPitch = 480, GridMargin = 60;      // the calendar grid
constexpr int GridSide = 2 * GridMargin + 6 * CellPitch + CellSize;  // six rows and the header

// Pages 0 and 1: 52 keys, 4 a row, position n counted from 1 at the top left.
Geometry padKey(int n) {
    const int row = (n - 1) / 4, column = (n - 1) % 4;
    return {180 + 1080 * column, 240 + 360 * row, 1095, 375};
}

// Cell k of the calendar's six weeks, below the weekday header.
Geometry dayCell(int k) {
    return {GridMargin + CellPitch * (k % 7), GridMargin + CellPitch * (k / 7 + 1), CellSize,
            CellSize};
}

// The keys without a caption of their own, named by their place.
std::string spareKeyName(int index) { return "上段 空き" + std::to_string(index); }
std::string stationKeyName(int k) { return "駅名キー" + std::to_string(k + 1); }

Rgb sundayRedSaturdayBlue(int column) {
    return column == 0 ? RgbRed : column == 6 ? RgbBlue : RgbBlack;
}

}  // namespace

void frmStart::buildForm() {
    using F = frmStart;
    FormBuilder<frmStart> f(*this, registry_);
    f.form("frmStart", "キップルン", 10695, 7455);

    // ---- Top key rows ----
    auto exitKey = [&](int i, Geometry g) {
        return f.put(cmdExit(i), g).click([this, i] { cmdExit_Click(i); });
    };
    // The function keys: see the README's key table.
    exitKey(0, {120, 120, KeyWidth, KeyHeight}).caption("終 了").functionKey("F8");
    for (int i = 1; i <= 8; ++i)
        exitKey(i, {1080 + 960 * (i - 1), 120, KeyWidth, KeyHeight}).named(spareKeyName(i));
    f.put(cmdSettei, {8760, 120, KeyWidth, KeyHeight})
        .caption("設 定")
        .click(&F::cmdSettei_Click)
        .functionKey("F5");
    // The execute key holds the focus at first, so that no drop-down
    // starts out focused and clears the bill on its own.
    f.put(cmdJikkou, {9720, 120, KeyWidth, KeyHeight})
        .caption("実 行")
        .click(&F::cmdJikkou_Click)
        .initialFocus()
        .functionKey("F12")
        .enterKey();
    // A smaller face: the longest era date ("令和10年12月31日日曜日") must fit
    // the box's given width whole.
    f.put(txtDate, {120, 600, 2055, KeyHeight}).points(8).named("本日の日付");
    f.put(txtJoryouken, {2280, 600, 5415, KeyHeight})
        .caption("乗 料 券")
        .colour({192, 255, 192})
        .named("乗料券");
    exitKey(9, {7800, 600, KeyWidth, KeyHeight}).named(spareKeyName(9));
    exitKey(10, {8760, 600, KeyWidth, KeyHeight}).named(spareKeyName(10));
    f.put(cmdKaihou, {9720, 600, KeyWidth, KeyHeight})
        .caption("開 放")
        .click(&F::cmdKaihou_Click)
        .functionKey("F9");

    // ---- Passenger-ticket frame ----
    // Journey section 2 belongs to the continuous ticket: a fresh sale has
    // none. No sale has ten thousand passengers; a longer count would only
    // carry the amounts past what they can hold exactly.
    f.put(frameJosha, {240, 960, 5295, 2655});
    f.in(frameJosha);
    f.put(lblKenshu(0), {120, 240, 735, RowHeight}).caption("券種").labels(cboKenshu);
    f.put(cboKenshu, {900, 240, 2775, RowHeight})
        .named("乗車券 券種")
        .click(&F::cboKenshu_Click)
        .gotFocus(&F::cboKenshu_GotFocus)
        .itemsPermittedBy([this](int i) { return passengerTypePermitted(i); });
    f.put(lblHizuke, {120, 720, 735, RowHeight}).caption("乗車日").labels(txtTuki);
    f.put(txtTuki, {900, 720, 615, RowHeight}).click(&F::txtTuki_Click).named("乗車日 月");
    f.put(lblSrash, {1560, 720, 255, RowHeight}).caption("／").centred();
    f.put(txtNichi, {1860, 720, 615, RowHeight}).click(&F::txtNichi_Click).named("乗車日 日");
    f.put(lblKukan1(0), {120, 1200, 735, RowHeight}).caption("区間１").labels(cboHatsu);
    f.put(cboHatsu, {900, 1200, 1875, RowHeight})
        .named("区間１ 発駅")
        .click(&F::cboHatsu_Click)
        .gotFocus(&F::cboHatsu_GotFocus)
        .stationSearch();
    f.put(lblArrow(0), {2820, 1200, 375, RowHeight}).caption("→").centred();
    f.put(cboChaku, {3240, 1200, 1875, RowHeight})
        .named("区間１ 着駅")
        .click(&F::cboChaku_Click)
        .gotFocus(&F::cboChaku_GotFocus)
        .stationSearch();
    f.put(lblKukan1(1), {120, 1680, 735, RowHeight}).caption("区間２").hidden().labels(cboHatsu2);
    f.put(cboHatsu2, {900, 1680, 1875, RowHeight})
        .named("区間２ 発駅")
        .hidden()
        .click(&F::cboHatsu2_Click)
        .gotFocus(&F::cboHatsu2_GotFocus)
        .stationSearch();
    f.put(lblArrow(1), {2820, 1680, 375, RowHeight}).caption("→").centred().hidden();
    f.put(cboChaku2, {3240, 1680, 1875, RowHeight})
        .named("区間２ 着駅")
        .hidden()
        .click(&F::cboChaku2_Click)
        .gotFocus(&F::cboChaku2_GotFocus)
        .stationSearch();
    f.holder(txtHatsu);
    f.holder(txtChaku);
    f.holder(txthatsu2);
    f.holder(txtChaku2);
    f.put(lblOtona, {120, 2160, 615, RowHeight}).caption("大人").labels(txtNinzu);
    f.put(txtNinzu, {780, 2160, 735, RowHeight})
        .named("大人 人数")
        .typedDigits(4)
        .click(&F::txtNinzu_Click)
        .change(&F::txtNinzu_Change);
    f.put(lblShoni, {1680, 2160, 615, RowHeight}).caption("小児").labels(txtNinzuK);
    f.put(txtNinzuK, {2340, 2160, 735, RowHeight})
        .named("小児 人数")
        .typedDigits(4)
        .click(&F::txtNinzuK_Click)
        .change(&F::txtNinzuK_Change);
    f.put(lblGaku, {3240, 2160, 615, RowHeight}).caption("学割").hidden().labels(txtNinzuG);
    f.put(txtNinzuG, {3900, 2160, 735, RowHeight})
        .named("学割 人数")
        .typedDigits(4)
        .hidden()
        .click(&F::txtNinzuG_Click)
        .change(&F::txtNinzuG_Change);

    // ---- Charge-ticket frames ----
    const auto chargeTypes = [this](int i) { return chargeTypePermitted(i); };
    // Rows start lower than in the passenger frame, below the caption.
    // Charge section 2 belongs to a journey that needs it.
    f.onForm();
    f.put(frameRyokin, {240, 3840, 5295, 2655}).caption("料金券");
    f.in(frameRyokin);
    f.put(lblKenshu(1), {120, 360, 735, RowHeight}).caption("券種").labels(cboKenshu3);
    f.put(cboKenshu3, {900, 360, 2775, RowHeight})
        .named("料金区間１ 券種")
        .click(&F::cboKenshu3_Click)
        .gotFocus(&F::cboKenshu3_GotFocus)
        .itemsPermittedBy(chargeTypes);
    f.put(lblKukan1(2), {120, 840, 735, RowHeight}).caption("区間１").labels(cboHatsu3);
    f.put(cboHatsu3, {900, 840, 1875, RowHeight})
        .gotFocus(&F::cboHatsu3_GotFocus)
        .stationSearch()
        .named("料金区間１ 発駅");
    f.put(lblArrow(2), {2820, 840, 375, RowHeight}).caption("→").centred();
    f.put(cboChaku3, {3240, 840, 1875, RowHeight})
        .gotFocus(&F::cboChaku3_GotFocus)
        .stationSearch()
        .named("料金区間１ 着駅");
    f.holder(optRyokin1).caption("R1");
    f.holder(optRyokin2).caption("R2");
    f.put(frameRyokin2, {60, 1320, 5175, 1140}).hidden();
    f.in(frameRyokin2);
    f.put(lblKenshu(2), {60, 180, 735, RowHeight}).caption("券種").labels(cboKenshu4);
    f.put(cboKenshu4, {840, 180, 2775, RowHeight})
        .named("料金区間２ 券種")
        .click(&F::cboKenshu4_Click)
        .gotFocus(&F::cboKenshu4_GotFocus)
        .itemsPermittedBy(chargeTypes);
    f.put(lblKukan1(3), {60, 660, 735, RowHeight}).caption("区間２").labels(cboHatsu4);
    f.put(cboHatsu4, {840, 660, 1875, RowHeight})
        .named("料金区間２ 発駅")
        .click(&F::cboHatsu4_Click)
        .gotFocus(&F::cboHatsu4_GotFocus)
        .stationSearch();
    f.put(lblArrow(3), {2760, 660, 375, RowHeight}).caption("→").centred();
    f.put(cboChaku4, {3180, 660, 1875, RowHeight})
        .named("料金区間２ 着駅")
        .click(&F::cboChaku4_Click)
        .gotFocus(&F::cboChaku4_GotFocus)
        .stationSearch();
    f.holder(txtHatsu4);
    f.holder(txtChaku4);

    // ---- Bottom of the form: station-key target (one group), total ----
    f.onForm();
    f.holder(optHatsu1).caption("H1");
    f.holder(optChaku1).caption("C1");
    f.holder(optHatsu2).caption("H2");
    f.holder(optChaku2).caption("C2");
    f.holder(optHatsu3).caption("H3");
    f.holder(optChaku3).caption("C3");
    f.holder(optHatsu4).caption("H4");
    f.holder(optChaku4).caption("C4");
    f.put(lblKenshu(3), {240, 6660, 1335, 495}).caption("合計金額").points(14).labels(txtBill);
    f.put(txtBill, {1680, 6660, 3855, 495}).points(14).rightAligned().named("合計金額");

    // ---- Tab control ----
    f.put(tabFullKey, {5640, 1080, 4815, 6255})
        .caption("フルキー|駅名|カレンダー|明細")
        .named("ページ")
        .click(&F::tabFullKey_Click);

    // Page 0: the named keys at their positions, the empty cmdFullNN keys
    // in the gaps.
    f.onPage(tabFullKey, 0);
    cmdFull_.resize(53);
    int nextPosition = 1;
    auto emptyKeysBefore = [&](int n) {
        for (; nextPosition < n; ++nextPosition) {
            const auto i = static_cast<std::size_t>(nextPosition);
            cmdFull_[i] = std::make_unique<CommandButton>("cmdFull" + keyNumberText(nextPosition));
            fullKeys_[i] = cmdFull_[i].get();
            f.put(*fullKeys_[i], padKey(nextPosition))
                .named("フルキー 空き" + keyNumberText(nextPosition));
        }
    };
    auto pad = [&](int n, CommandButton& key, const char* caption, void (F::*handler)()) {
        emptyKeysBefore(n);
        fullKeys_[static_cast<std::size_t>(n)] = &key;
        ++nextPosition;
        return f.put(key, padKey(n)).caption(caption).click(handler);
    };
    pad(1, cmdToday, "本 日", &F::cmdToday_Click).functionKey("F1");
    pad(2, cmdTomorrow, "明 日", &F::cmdTomorrow_Click).functionKey("F2");
    pad(3, cmdAsatte, "明後日", &F::cmdAsatte_Click).functionKey("F3");
    pad(5, cmdO1, "大人１", &F::cmdO1_Click);
    pad(6, cmdO2, "大人２", &F::cmdO2_Click);
    pad(7, cmdO3, "大人３", &F::cmdO3_Click);
    pad(8, cmdO4, "大人４", &F::cmdO4_Click);
    pad(9, cmdK1, "小児１", &F::cmdK1_Click);
    pad(10, cmdK2, "小児２", &F::cmdK2_Click);
    pad(11, cmdK3, "小児３", &F::cmdK3_Click);
    pad(12, cmdK4, "小児４", &F::cmdK4_Click);
    pad(13, cmdKatamichi, "片 道", &F::cmdKatamichi_Click);
    pad(14, cmdOfuku, "往 復", &F::cmdOfuku_Click);
    pad(15, cmdRenzoku, "連 続", &F::cmdRenzoku_Click);
    pad(17, cmd11Kai, "回数券", &F::cmd11Kai_Click);
    pad(18, cmd6Kai, "６枚回数", &F::cmd6Kai_Click);
    pad(19, cmdJiyuKai, "自特回数", &F::cmdJiyuKai_Click);
    pad(21, cmdJitoku, "自特急", &F::cmdJitoku_Click);
    pad(22, cmdShiToku, "指特急", &F::cmdShiToku_Click);
    pad(23, cmdGToku, "グ特急", &F::cmdGToku_Click);
    pad(25, cmdMarine, "マリン指", &F::cmdMarine_Click);
    pad(26, cmdMarineG, "マリンＧ", &F::cmdMarineG_Click);
    pad(29, cmdGaku, "学 生", &F::cmdGaku_Click);
    emptyKeysBefore(53);

    // Page 1: the station keys, captioned by the load step.
    f.onPage(tabFullKey, 1);
    for (int k = 0; k < 52; ++k) {
        cmdEki_.push_back(std::make_unique<CommandButton>("cmdEki" + keyNumberText(k)));
        f.put(*cmdEki_.back(), padKey(k + 1))
            .click([this, k] { cmdEki_Click(k); })
            .named(stationKeyName(k));
    }

    // Page 2: the calendar.
    f.onPage(tabFullKey, 2);
    f.put(picYear, {660, 120, 1695, 495});
    f.in(picYear);
    f.put(cmdZenNen, {60, 60, 375, 375}).caption("▲").click(&F::cmdZenNen_Click).named("前の年");
    f.put(txtNannen, {480, 60, 735, 375}).named("カレンダー 年");
    f.put(cmdYokuNen, {1260, 60, 375, 375})
        .caption("▼")
        .click(&F::cmdYokuNen_Click)
        .named("次の年");
    f.onPage(tabFullKey, 2);
    f.put(picMonth, {2460, 120, 1695, 495});
    f.in(picMonth);
    f.put(cmdZenGetu, {60, 60, 375, 375}).caption("▲").click(&F::cmdZenGetu_Click).named("前の月");
    f.put(txtNangatsu, {480, 60, 735, 375}).named("カレンダー 月");
    f.put(cmdYokuGetsu, {1260, 60, 375, 375})
        .caption("▼")
        .click(&F::cmdYokuGetsu_Click)
        .named("次の月");
    f.onPage(tabFullKey, 2);
    auto calendar =
        f.put(picCalender, {660, 720, GridSide, GridSide}).resizable().named("カレンダー 日付");
    f.in(picCalender);
    const char* const weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int c = 0; c < 7; ++c)
        f.put(lblWeek(c), {GridMargin + CellPitch * c, GridMargin, CellSize, CellSize})
            .caption(weekdays[c])
            .colour(sundayRedSaturdayBlue(c))
            .centred()
            .points(12);
    for (int k = 0; k < 42; ++k)
        f.put(lblDay(k), dayCell(k))
            .caption("・")
            .colour(sundayRedSaturdayBlue(k % 7))
            .centred()
            .points(15)  // two digits keep a gap to the next day's at any size
            .background(RgbWhite);
    // The marks lie over their cells and take the clicks.
    for (int n = 0; n < 42; ++n) {
        lblHi_.push_back(std::make_unique<Label>("lblHi" + std::to_string(n)));
        f.put(*lblHi_.back(), dayCell(n))
            .colour({255, 128, 128})
            .transparent()
            .marksCell()
            .centred()
            .points(18)
            .click([this, n] { lblHi_Click(n); });
    }
    KeyGrid days{{}, 7, &cmdZenGetu, &cmdYokuGetsu, &cmdDayKettei};
    for (auto& mark : lblHi_) days.cells.push_back(mark.get());
    calendar.keyGrid(std::move(days));
    // The white strip behind the weekday header.
    f.put(Label1, {0, 0, GridSide, GridMargin + CellSize}).background(RgbWhite).behind();
    f.onPage(tabFullKey, 2);
    f.put(txtSeason, {660, 4335, 2295, 375}).centred().named("カレンダー 期間");
    f.put(cmdDayKettei, {3060, 4335, 1095, 375}).caption("決定").click(&F::cmdDayKettei_Click);
    f.holder(txtFocus);
    f.holder(txtYear);
    f.holder(txtMonth);
    f.holder(txtDay);
    f.holder(txtWeek);

    // Page 3: the bill, three blocks each under its ticket name.
    f.onPage(tabFullKey, 3);
    f.put(lblTanka, {1080, 120, 1335, 300}).caption("単　価").centred();
    f.put(lblMaisu, {2520, 120, 735, 300}).caption("枚数").centred();
    f.put(lblShokei, {3360, 120, 1215, 300}).caption("小　計").centred();
    const int blockTops[3] = {480, 2160, 3420};
    const char* const passengers[3] = {"大人", "小児", "学割"};
    const char* const blockNames[3] = {"", "料金区間１ ", "料金区間２ "};
    int block = -1, top = 0, passenger = 0;
    for (const BillLine& line : billLines()) {
        if (line.block != block) {
            block = line.block;
            const int nameTop = blockTops[block];
            f.put(lblKenshuM(block), {120, nameTop, 4455, 300});
            top = nameTop + 360;
            passenger = 0;
        }
        const std::string lineName = std::string(blockNames[block]) + passengers[passenger];
        f.put(*line.label, {240, top, 735, RowHeight})
            .caption(passengers[passenger++])
            .labels(*line.unit);
        f.put(*line.unit, {1080, top, 1335, RowHeight}).rightAligned().named(lineName + " 単価");
        f.put(*line.count, {2520, top, 735, RowHeight}).rightAligned().named(lineName + " 枚数");
        f.put(*line.subtotal, {3360, top, 1215, RowHeight})
            .rightAligned()
            .named(lineName + " 小計");
        top += 420;
    }
}

}  // namespace kippurun
