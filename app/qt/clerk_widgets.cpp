#include "app/qt/clerk_widgets.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace kippurun {

namespace {

bool releasedInside(const QWidget& widget, const QMouseEvent& event) {
    return event.button() == Qt::LeftButton && widget.rect().contains(event.position().toPoint());
}

}  // namespace

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && releasedInside(*this, *event);
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void ClickableLineEdit::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void ClickableLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && releasedInside(*this, *event);
    pressed_ = false;
    QLineEdit::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void FocusComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    emit focusEntered(event->reason());
}

}  // namespace kippurun
