#pragma once
// Twips to the window's pixels at the window's scale. Where each control
// sits comes from its screen's form table (app/form.h).
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "app/form.h"

namespace kippurun {

inline constexpr int TwipsPerPixel = 15;  // at 96 dpi, the designed size

// The form drawn `factor` times its designed size, its top-left corner at
// `origin` in the window.
struct FormScale {
    double factor = 1.0;
    QPoint origin;

    // The largest scale at which a form of `designed` pixels fits `window`,
    // the spare space shared evenly on both sides.
    static FormScale fitting(QSize window, QSize designed);
    // A control's rectangle in its parent widget; `onForm` for a control
    // placed on the form itself. Edges are rounded, not sizes, so that
    // controls sharing an edge keep sharing it.
    QRect toPixels(const Geometry& g, bool onForm) const;
    QFont font(const QFont& designed) const;
    // A length drawn at the designed size, in pixels at this scale.
    int pixels(int designed) const;
};

// The form's designed size in pixels.
QSize designedSize(const ControlRegistry& form);

}  // namespace kippurun
