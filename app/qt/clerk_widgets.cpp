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

}  // namespace

void ClickTracker::press(const QMouseEvent& event) { pressed_ = event.button() == Qt::LeftButton; }

bool ClickTracker::release(const QWidget& widget, const QMouseEvent& event) {
    const bool click = pressed_ && event.button() == Qt::LeftButton &&
                       widget.rect().contains(event.position().toPoint());
    pressed_ = false;
    return click;
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    click_.press(*event);
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = click_.release(*this, *event);
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked();
}

void ClickableLineEdit::mousePressEvent(QMouseEvent* event) {
    click_.press(*event);
    QLineEdit::mousePressEvent(event);
}

void ClickableLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = click_.release(*this, *event);
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
