#pragma once
// Qt widgets that report the clerk's own clicks and focus, which the stock
// widgets do not signal.
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

class QAbstractScrollArea;
class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace kippurun {

// A click is a left press followed by its release inside the same widget.
class ClickTracker {
  public:
    void press(const QMouseEvent& event);
    // True when this release completes a click.
    bool release(const QWidget& widget, const QMouseEvent& event);

  private:
    bool pressed_ = false;
};

// A vertical scroll bar at least `width` pixels wide, for a finger.
void setScrollBarWidth(QAbstractScrollArea& area, int width);

// A label that signals a click: a press and a release inside it.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    ClickTracker click_;
};

// Enter pressed and released on one widget, repeats ignored: a question box
// that the press opens must not take a held-down Enter as its answer.
class EnterTracker {
  public:
    // True when the event is Enter (and is then taken).
    bool press(QKeyEvent& event);
    // True when this release completes a press of Enter.
    bool release(QKeyEvent& event);

  private:
    bool down_ = false;
};

// A text box that signals a click and, with Enter handling switched on, a
// press of Enter.
class ClickableLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
    void setEnterSignalled(bool on) { enterSignalled_ = on; }
  signals:
    void clicked();
    void enterPressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    ClickTracker click_;
    EnterTracker enter_;
    bool enterSignalled_ = false;
};

// A frame of cells worked from the keyboard: the arrow keys, Page Up / Page
// Down and Enter, each as one signal.
class GridFrame : public QFrame {
    Q_OBJECT
  public:
    explicit GridFrame(QWidget* parent);
  signals:
    void moved(int across, int down);
    void paged(int months);
    void confirmed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    EnterTracker enter_;
};

// A key that Enter presses as well as Space: the clerk works the counter
// from the keyboard. Like Space, Enter presses the key when it comes up and
// ignores the window system's repeats, so that a question box the key opens
// does not take a held-down Enter as its answer. The arrow keys move the
// focus through the keys beside it as they are laid out: ←/→ to the key
// before or after in reading order, ↑/↓ one row, to the key in the same
// column where there is one; keys that are no Tab stops are passed over.
class ClerkKey : public QPushButton {
    Q_OBJECT
  public:
    using QPushButton::QPushButton;
    // The key the arrow moves to, null for none.
    QWidget* neighbour(int across, int down) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

// A drop-down that signals the focus entering it, with Qt's reason. A list
// of stations is searched by typing: a letter, digit or kana typed into it
// (open or closed, or committed by an input method) is signalled for the
// search instead of Qt's own search of the entries' texts, and ↑ ↓ on the
// closed list open it instead of stepping through the stations, so that a
// station is chosen once, not every station on the way.
//
// A change of its font reaches its list only when the list opens: Qt's own
// drop-down builds its list, and lays out every entry, at each change of its
// font, which the window's start does to every drop-down on a bold frame.
class FocusComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;
    void setStationSearch(bool on);
    bool stationSearch() const { return stationSearch_; }
    // The open list's rows at least `rowHeight` pixels high and its scroll
    // bar `scrollBarWidth` wide (applied when it opens: the list is made
    // only then).
    void setPopupRows(int rowHeight, int scrollBarWidth);
    void showPopup() override;
  signals:
    void focusEntered(Qt::FocusReason reason);
    void searchTyped(const QString& text);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool listFontDue_ = false;
    bool stationSearch_ = false;
    bool viewWatched_ = false;
    int rowHeight_ = 0, scrollBarWidth_ = 0;
    class RowDelegate;
    RowDelegate* rows_ = nullptr;
};

}  // namespace kippurun
