#pragma once
// Ends the process once the watched window has painted its first frame
// (--quit-after-show): the start is timed to the first frame, and what a
// program leaves for after it (the pages behind the first) is not. No
// teardown is timed either. Header-only, so that the bare window the start
// is measured against shares it without linking anything of the program.
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

namespace kippurun {

class QuitWhenShown : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // Installed after the window was built, this filter sees the
            // paint before the window's own: the end is queued first.
            QTimer::singleShot(0, qApp, [] {
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};

}  // namespace kippurun
