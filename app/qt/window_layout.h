#pragma once
// Twips to the window's pixels. Where each control sits comes from its
// screen's form table (app/form.h).
#include "app/form.h"

namespace kippurun {

inline constexpr int TwipsPerPixel = 15;  // at 96 dpi

}  // namespace kippurun
