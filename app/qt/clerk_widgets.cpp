#include "app/qt/clerk_widgets.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace kippurun {

namespace {

// A key that starts or goes on with a station search: a letter, a digit or
// a kana, without Ctrl, Alt or Meta.
bool isSearchText(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event.text();
    return !text.isEmpty() &&
           (text.front().isLetterOrNumber() || text.front() == QLatin1Char('\''));
}

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

QWidget* ClerkKey::neighbour(int across, int down) const {
    QList<ClerkKey*> keys;
    if (parentWidget())
        for (ClerkKey* key : parentWidget()->findChildren<ClerkKey*>(Qt::FindDirectChildrenOnly))
            if (key == this ||
                (key->isVisible() && key->isEnabled() && (key->focusPolicy() & Qt::TabFocus)))
                keys << key;
    const QRect here = geometry();
    auto readingOrder = [](const ClerkKey* a, const ClerkKey* b) {
        const QRect ra = a->geometry(), rb = b->geometry();
        return std::pair(ra.top(), ra.left()) < std::pair(rb.top(), rb.left());
    };
    std::sort(keys.begin(), keys.end(), readingOrder);
    if (across != 0) {
        const qsizetype at = keys.indexOf(const_cast<ClerkKey*>(this)) + (across > 0 ? 1 : -1);
        return at >= 0 && at < keys.size() ? keys[at] : nullptr;
    }
    // Up or down: the nearest row that has a key in this column, else the
    // nearest row, at the key nearest this column.
    ClerkKey* best = nullptr;
    std::tuple<bool, int, int> bestRank;
    for (ClerkKey* key : keys) {
        const QRect r = key->geometry();
        const int rows = down > 0 ? r.top() - here.top() : here.top() - r.top();
        if (rows <= here.height() / 2) continue;
        const int apart = std::abs(r.center().x() - here.center().x());
        const std::tuple<bool, int, int> rank(apart > here.width() / 2, rows, apart);
        if (!best || rank < bestRank) best = key, bestRank = rank;
    }
    return best;
}

void ClerkKey::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        int across = 0, down = 0;
        switch (event->key()) {
            case Qt::Key_Left:
                across = -1;
                break;
            case Qt::Key_Right:
                across = 1;
                break;
            case Qt::Key_Up:
                down = -1;
                break;
            case Qt::Key_Down:
                down = 1;
                break;
            default:
                break;
        }
        if (across || down) {
            if (QWidget* next = neighbour(across, down)) next->setFocus(Qt::TabFocusReason);
            event->accept();
            return;
        }
    }
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

void FocusComboBox::setStationSearch(bool on) {
    stationSearch_ = on;
    setAttribute(Qt::WA_InputMethodEnabled, on);
}

void setScrollBarWidth(QAbstractScrollArea& area, int width) {
    QScrollBar* bar = area.verticalScrollBar();
    width = std::max(width, area.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    const QString sheet = QStringLiteral("QScrollBar:vertical { width: %1px; }").arg(width);
    if (bar->styleSheet() != sheet) bar->setStyleSheet(sheet);
}

// Rows of the open list at least `height` pixels high.
class FocusComboBox::RowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int height = 0;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), height));
        return size;
    }
};

void FocusComboBox::setPopupRows(int rowHeight, int scrollBarWidth) {
    rowHeight_ = rowHeight;
    scrollBarWidth_ = scrollBarWidth;
}

void FocusComboBox::showPopup() {
    if (listFontDue_) {
        listFontDue_ = false;
        QEvent fontChange(QEvent::FontChange);
        QComboBox::changeEvent(&fontChange);
    }
    if (!rows_) {
        rows_ = new RowDelegate(this);
        setItemDelegate(rows_);
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    rows_->height = rowHeight_;
    setScrollBarWidth(*view(), scrollBarWidth_);
    QComboBox::showPopup();
    if (stationSearch_ && !viewWatched_) {
        view()->installEventFilter(this);
        viewWatched_ = true;
    }
}

void FocusComboBox::keyPressEvent(QKeyEvent* event) {
    if (stationSearch_) {
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (plain && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
            showPopup();
            event->accept();
            return;
        }
        if (isSearchText(*event)) {
            event->accept();
            emit searchTyped(event->text());
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}

void FocusComboBox::inputMethodEvent(QInputMethodEvent* event) {
    if (stationSearch_) {
        if (!event->commitString().isEmpty()) emit searchTyped(event->commitString());
        event->accept();
        return;
    }
    QComboBox::inputMethodEvent(event);
}

void FocusComboBox::wheelEvent(QWheelEvent* event) {
    // The wheel would choose every station it passes.
    if (stationSearch_) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

bool FocusComboBox::eventFilter(QObject* watched, QEvent* event) {
    // Typing into the open list starts the search in its place.
    if (watched == view() && event->type() == QEvent::KeyPress &&
        isSearchText(*static_cast<QKeyEvent*>(event))) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        hidePopup();
        emit searchTyped(text);
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace kippurun
