#pragma once
// The open list of a station drop-down while the clerk types: what was
// typed on top (rōmaji, kana through an input method, or a number), the
// stations it finds below, narrowing with every character. Enter or a click
// takes a station (the first unless the clerk moved down the list), Escape
// gives up; the drop-down's selection changes once, when a station is taken.
#include <string>
#include <vector>

#include <QFrame>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace kippurun {

class StationSearchPopup : public QFrame {
    Q_OBJECT
  public:
    // A popup window belonging to `list`, whose entries are station names.
    explicit StationSearchPopup(QComboBox& list);
    // Opens below the list (above it where the screen has no room) with
    // `typed` already typed.
    void open(const QString& typed);
    QLineEdit& typedLine() const { return *line_; }
    QListWidget& foundList() const { return *found_; }
    // The height of a row of the list, at least the list's own height
    // times 0.8, so that a finger finds it on a large touch screen.
    int rowHeight() const;

  signals:
    // The clerk took the station at this position of the drop-down.
    void chosen(int position);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void refill();
    void take();

    QComboBox& list_;
    QLineEdit* line_;
    QListWidget* found_;
    std::vector<int> positions_;  // the drop-down's position of each row
};

}  // namespace kippurun
