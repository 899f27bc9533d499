#pragma once
// The window's place on a Japanese desktop: Qt's own texts in Japanese, the
// program's icon, and a plain message instead of Qt's abort when there is no
// display to open.
#include <QIcon>
#include <QString>

class QCoreApplication;

namespace kippurun {

// Loads Qt's Japanese translations (context menus, standard buttons) into
// `app`; false when the translation files are not installed.
bool installJapaneseTexts(QCoreApplication& app);

QIcon programIcon();

// The one line written on standard error when the window cannot open: why,
// and that --script runs without a display. From the environment Qt read.
QString noDisplayMessage();

// While one lives, Qt's messages are held back; a fatal one (no display, no
// usable platform) writes noDisplayMessage() and ends the program with
// status 1 instead of Qt's abort. Messages held back are passed on when it
// goes.
class DisplayGuard {
  public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

}  // namespace kippurun
