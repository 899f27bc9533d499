#pragma once
// Ends the event loop once the watched window has painted for the first
// time (--quit-after-show). Header-only, so that the bare window the start
// is measured against shares it without linking anything of the program.
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
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};

}  // namespace kippurun
