#include "app/qt/window_layout.h"

#include <algorithm>
#include <cmath>

namespace kippurun {

namespace {

int scaled(int twips, double factor) {
    return static_cast<int>(std::lround(twips * factor / TwipsPerPixel));
}

}  // namespace

FormScale FormScale::fitting(QSize window, QSize designed) {
    FormScale scale;
    if (designed.isEmpty()) return scale;
    scale.factor = std::min(double(window.width()) / designed.width(),
                            double(window.height()) / designed.height());
    const QSize used(static_cast<int>(std::lround(designed.width() * scale.factor)),
                     static_cast<int>(std::lround(designed.height() * scale.factor)));
    scale.origin = QPoint(std::max(0, (window.width() - used.width()) / 2),
                          std::max(0, (window.height() - used.height()) / 2));
    return scale;
}

QRect FormScale::toPixels(const Geometry& g, bool onForm) const {
    const int left = scaled(g.left, factor), top = scaled(g.top, factor);
    QRect rect(left, top, scaled(g.left + g.width, factor) - left,
               scaled(g.top + g.height, factor) - top);
    if (onForm) rect.translate(origin);
    return rect;
}

QFont FormScale::font(const QFont& designed) const {
    QFont font = designed;
    if (factor != 1.0 && designed.pointSizeF() > 0)
        font.setPointSizeF(designed.pointSizeF() * factor);
    return font;
}

int FormScale::pixels(int designed) const {
    return std::max(designed, static_cast<int>(std::lround(designed * factor)));
}

QSize designedSize(const ControlRegistry& form) {
    return QSize(form.width / TwipsPerPixel, form.height / TwipsPerPixel);
}

}  // namespace kippurun
