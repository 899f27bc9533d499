#pragma once
// The focus mark: a thick coloured frame drawn around whichever widget has
// the keyboard focus, in any window of the program, so that the clerk sees it
// from a step back from the counter.
#include <QColor>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kippurun {

class FocusFrame : public QWidget {
    Q_OBJECT
  public:
    explicit FocusFrame(QWidget& window);
    void setThickness(int pixels) { thickness_ = pixels; }
    int thickness() const { return thickness_; }
    // Around `target`, or hidden for none.
    void follow(QWidget* target);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int thickness_ = 3;
};

class FocusMark : public QObject {
    Q_OBJECT
  public:
    static inline const QColor Colour{255, 102, 0};

    explicit FocusMark(QObject* parent = nullptr);
    // The frame's thickness in `window` (the main window grows its mark with
    // the form); other windows use the designed thickness.
    void setThickness(QWidget& window, int pixels);
    // Brings the mark in step after the focused widget moved or resized.
    void refresh();
    // The frame drawn in `window`; null before it had a focused widget.
    FocusFrame* frameIn(QWidget& window) const;

  private:
    void focusMoved(QWidget* now);
    FocusFrame& frameFor(QWidget& window);

    QHash<QWidget*, QPointer<FocusFrame>> frames_;
    QPointer<QWidget> focused_;
};

}  // namespace kippurun
