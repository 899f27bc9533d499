#include "app/qt/focus_mark.h"

#include <QApplication>
#include <QPainter>

namespace kippurun {

FocusFrame::FocusFrame(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("focusMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusFrame::follow(QWidget* target) {
    if (!target || !target->isVisible() || target->window() != parentWidget()) {
        hide();
        return;
    }
    // Around the widget, overlapping its edge by one pixel.
    const QRect inWindow(target->mapTo(parentWidget(), QPoint(0, 0)), target->size());
    const int out = thickness_ - 1;
    setGeometry(inWindow.adjusted(-out, -out, out, out));
    raise();
    show();
    update();
}

void FocusFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FocusMark::Colour);
    const QRect r = rect();
    const int t = thickness_;
    painter.drawRect(0, 0, r.width(), t);
    painter.drawRect(0, r.height() - t, r.width(), t);
    painter.drawRect(0, t, t, r.height() - 2 * t);
    painter.drawRect(r.width() - t, t, t, r.height() - 2 * t);
}

FocusMark::FocusMark(QObject* parent) : QObject(parent) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { focusMoved(now); });
    focusMoved(QApplication::focusWidget());
}

void FocusMark::setThickness(QWidget& window, int pixels) {
    frameFor(window).setThickness(pixels);
    refresh();
}

void FocusMark::refresh() {
    for (const QPointer<FocusFrame>& frame : std::as_const(frames_))
        if (frame) frame->follow(focused_);
}

FocusFrame* FocusMark::frameIn(QWidget& window) const { return frames_.value(&window); }

void FocusMark::focusMoved(QWidget* now) {
    focused_ = now;
    // Windows closed since (question boxes) leave no frame behind.
    for (auto it = frames_.begin(); it != frames_.end();)
        it = it.value() ? std::next(it) : frames_.erase(it);
    if (now) frameFor(*now->window());
    refresh();
}

FocusFrame& FocusMark::frameFor(QWidget& window) {
    QPointer<FocusFrame>& frame = frames_[&window];
    if (!frame) frame = new FocusFrame(window);
    return *frame;
}

}  // namespace kippurun
