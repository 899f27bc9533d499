#pragma once
// Where the window puts each control of the sales screen. The screen model
// holds no positions (only the calendar's height changes at run time), so
// the whole layout lives here, in twips as the screen was drawn.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/controls.h"

namespace kippurun {

inline constexpr int TwipsPerPixel = 15;  // at 96 dpi

enum class TextAlign { Left, Centre };

struct Placement {
    std::string name;       // control name, "cmdExit(3)", "lblHi7"
    std::string container;  // empty: the form; else a frame, picture box or "tabFullKey"
    int page = -1;          // the page of tabFullKey holding it
    Geometry geometry;      // twips, relative to the container (page: below the tab row)
    int pointSize = 0;      // 0: the window's usual size
    TextAlign align = TextAlign::Left;  // label captions
    std::optional<Rgb> background;      // labels drawn on their own colour
    bool readOnly = true;               // text boxes: only the counts take typing
};

inline constexpr int FormWidth = 10695;
inline constexpr int FormHeight = 7455;

// Every control the window shows, containers before their contents; the
// hidden state holders (txtHatsu, txtYear, optHatsu1, ...) have no entry.
const std::vector<Placement>& salesWindowLayout();
const Placement* findPlacement(std::string_view name);

}  // namespace kippurun
