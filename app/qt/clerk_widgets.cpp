#include "app/qt/clerk_widgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kippurun {

namespace {

bool isEnter(const QKeyEvent& event) {
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
           (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

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

void ClerkKey::keyPressEvent(QKeyEvent* event) {
    if (!isEnter(*event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) setDown(true);
    event->accept();
}

void ClerkKey::keyReleaseEvent(QKeyEvent* event) {
    if (!isEnter(*event)) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || !isDown()) return;
    setDown(false);
    click();
}

void FocusComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    emit focusEntered(event->reason());
}

}  // namespace kippurun
