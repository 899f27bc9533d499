// The settings screen's form table: one row per control, in registry order,
// with its fixed caption, its handler and its place on the window in twips.
// The chooser, the modes and the default stations on the left; the 52 keys
// on the right, 4 a row as on the sales screen's station page.
#include <memory>
#include <string>

#include "app/frm_settei.h"

namespace kippurun {

namespace {

constexpr int Left = 240, PanelWidth = 2400, RowHeight = 375;
constexpr int KeysLeft = 2880, KeysTop = 600;

Geometry stationKey(int k) {
    return {KeysLeft + 1080 * (k % 4), KeysTop + 360 * (k / 4), 1095, RowHeight};
}

}  // namespace

void frmSettei::buildForm() {
    using F = frmSettei;
    FormBuilder<frmSettei> f(*this, registry_);
    f.form("frmSettei", "設定画面", 7455, 5775);

    f.put(cboHatsu, {Left, KeysTop, PanelWidth, RowHeight})
        .initialFocus()
        .stationSearch()
        .named("設定する駅");
    // The mode shows from a step back: クリア, which unassigns keys, in red.
    f.put(optEkimei, {Left, 1080, 1095, RowHeight}).caption("駅名").selectedColour({200, 225, 255});
    f.put(optClear, {Left + 1200, 1080, 1095, RowHeight})
        .caption("クリア")
        .selectedColour({255, 120, 120});
    f.put(cmdAllClear, {Left, 1560, PanelWidth, RowHeight})
        .caption("全クリア")
        .click(&F::cmdAllClear_Click);

    f.put(lblHatsu, {Left, 2280, PanelWidth, 300}).caption("発 駅").labels(txtHatsu);
    f.put(txtHatsu, {Left, 2580, PanelWidth, RowHeight})
        .click(&F::txtHatsu_Click)
        .pressable()
        .named("初期の発駅");
    f.put(lblArrow, {Left, 3015, PanelWidth, RowHeight}).caption("↓").centred();
    f.put(lblChaku, {Left, 3420, PanelWidth, 300}).caption("着 駅").labels(txtChaku);
    f.put(txtChaku, {Left, 3720, PanelWidth, RowHeight})
        .click(&F::txtChaku_Click)
        .pressable()
        .named("初期の着駅");
    f.put(cmdStart, {Left, stationKey(48).top, PanelWidth, RowHeight})
        .caption("設定終了")
        .click(&F::cmdStart_Click)
        .functionKey("F5");  // the key that opened the screen closes it

    f.put(lblEkimei, {KeysLeft, 240, 4335, 300}).caption("駅名タブ");
    for (int k = 0; k < StationKeyCount; ++k) {
        cmdEki_.push_back(std::make_unique<CommandButton>(std::string("cmdEki") +
                                                          (k < 10 ? "0" : "") + std::to_string(k)));
        f.put(*cmdEki_.back(), stationKey(k))
            .click([this, k] { cmdEki_Click(k); })
            .named("駅名キー" + std::to_string(k + 1));
    }
}

}  // namespace kippurun
