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

bool EnterTracker::press(QKeyEvent& event) {
    if (!isEnter(event)) return false;
    if (!event.isAutoRepeat()) down_ = true;
    event.accept();
    return true;
}

bool EnterTracker::release(QKeyEvent& event) {
    if (!isEnter(event)) return false;
    event.accept();
    if (event.isAutoRepeat() || !down_) return false;
    down_ = false;
    return true;
}

void ClickableLineEdit::keyPressEvent(QKeyEvent* event) {
    if (!enterSignalled_ || !enter_.press(*event)) QLineEdit::keyPressEvent(event);
}

void ClickableLineEdit::keyReleaseEvent(QKeyEvent* event) {
    if (enterSignalled_ && isEnter(*event)) {
        if (enter_.release(*event)) emit enterPressed();
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

GridFrame::GridFrame(QWidget* parent) : QFrame(parent) {}

void GridFrame::keyPressEvent(QKeyEvent* event) {
    if (enter_.press(*event)) return;
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QFrame::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
            emit moved(-1, 0);
            break;
        case Qt::Key_Right:
            emit moved(1, 0);
            break;
        case Qt::Key_Up:
            emit moved(0, -1);
            break;
        case Qt::Key_Down:
            emit moved(0, 1);
            break;
        case Qt::Key_PageUp:
            emit paged(-1);
            break;
        case Qt::Key_PageDown:
            emit paged(1);
            break;
        default:
            QFrame::keyPressEvent(event);
            return;
    }
    event->accept();
}

void GridFrame::keyReleaseEvent(QKeyEvent* event) {
    if (isEnter(*event)) {
        if (enter_.release(*event)) emit confirmed();
        return;
    }
    QFrame::keyReleaseEvent(event);
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

void FocusComboBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        listFontDue_ = true;
        QWidget::changeEvent(event);  // repaint, and the size hint's invalidation
        return;
    }
    QComboBox::changeEvent(event);
}

void FocusComboBox::showPopup() {
    if (listFontDue_) {
        listFontDue_ = false;
        QEvent fontChange(QEvent::FontChange);
        QComboBox::changeEvent(&fontChange);
    }
    QComboBox::showPopup();
}

}  // namespace kippurun
