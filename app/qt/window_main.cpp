#include "app/qt/window_main.h"

#include <exception>
#include <iostream>
#include <optional>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include "app/clock.h"
#include "app/program_shell.h"
#include "app/qt/desktop.h"
#include "app/qt/main_window.h"
#include "app/qt/quit_when_shown.h"
#include "app/qt/start_ahead.h"
#include "app/qt/window_prompt.h"
#include "app/table_prefetch.h"

namespace kippurun {

namespace {

const QString ProgramTitle = QStringLiteral("キップルン");

// The message of a failure that ends the program: on standard error, for
// whoever started it, and in a box for the clerk.
void reportFatal(QWidget* parent, const QString& message) {
    std::cerr << message.toStdString() << std::endl;
    QMessageBox::critical(parent, ProgramTitle, message);
}

}  // namespace

int runWindow(int argc, char** argv, const ProgramOptions& options) {
    // The tables and fontconfig are read on the second core meanwhile.
    TablePrefetch tablesAhead({options.untinDir, options.counterDir});
    FontsAhead fontsAhead;
    std::optional<DisplayGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    // The name assistive technology announces for the application (AT-SPI
    // takes the application name); it is also the class part of the X
    // window's WM_CLASS, whose instance part stays "kippurun" (the
    // program's file name), which the desktop entry's StartupWMClass names.
    QApplication::setApplicationName(ProgramTitle);
    QApplication::setApplicationDisplayName(ProgramTitle);
    QApplication::setApplicationVersion(QStringLiteral(KIPPURUN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(KIPPURUN_APP_ID));
    QApplication::setWindowIcon(programIcon());
    if (!installJapaneseTexts(app))
        std::cerr << "キップルン: Qt の日本語訳が見つかりません (qt6-translations-l10n)。"
                     "Qt の標準の文言は英語のまま表示されます。\n";
    // The screen's face for every widget and box, once fontconfig is ready:
    // the load step, which needs no font, runs while it gets ready.
    bool faceSet = false;
    const auto setFace = [&] {
        if (std::exchange(faceSet, true)) return;
        fontsAhead.wait();
        QFont face(screenFontFamily());
        face.setPointSize(10);
        QApplication::setFont(face);
    };

    SystemClock clock(options.today);
    MessageBoxPrompt boxes;
    SyncedPrompt prompt(boxes);
    prompt.setBeforeShow(setFace);  // a question the load step asks
    ProgramShell program({options.untinDir, options.counterDir}, clock, prompt,
                         [&] { return tablesAhead.take(); });
    try {
        program.start();
    } catch (const std::exception& e) {
        setFace();
        reportFatal(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
    setFace();

    // One window for every screen, so the message boxes always have the
    // window now shown as their parent.
    MainWindow window(program, prompt);
    boxes.setParentWindow(&window);
    QObject::connect(&window, &MainWindow::programEnded, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&window, &MainWindow::fatalError, &app, [&window](const QString& message) {
        reportFatal(&window, message);
        QCoreApplication::exit(1);
    });
    QuitWhenShown quitWhenShown;
    if (options.quitAfterShow) window.installEventFilter(&quitWhenShown);
    window.show();
    return app.exec();
}

}  // namespace kippurun
