// The least a Qt Widgets program does to show a window: one label in a
// window of the sales screen's size, shown, and (with --quit-after-show)
// ended as soon as it has painted. tools/startup_time.sh measures the
// program's own start against this one.
#include <cstring>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "app/qt/quit_when_shown.h"

int main(int argc, char** argv) {
    bool quitAfterShow = false;
    // The label's text: Japanese by default, as the program's window is, so
    // that both load a Japanese face; --label TEXT to weigh another.
    QString text = QStringLiteral("キップルン");
    for (int i = 1; i < argc; ++i) {
        quitAfterShow |= std::strcmp(argv[i], "--quit-after-show") == 0;
        if (std::strcmp(argv[i], "--label") == 0 && i + 1 < argc)
            text = QString::fromUtf8(argv[++i]);
    }
    QApplication app(argc, argv);
    QWidget window;
    window.resize(713, 497);
    QLabel label(text, &window);
    label.move(20, 20);
    kippurun::QuitWhenShown quitWhenShown;
    if (quitAfterShow) window.installEventFilter(&quitWhenShown);
    window.show();
    return app.exec();
}
