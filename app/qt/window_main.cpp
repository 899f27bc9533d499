#include "app/qt/window_main.h"

#include <exception>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include "app/clock.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"

namespace kippurun {

namespace {

const QString ProgramTitle = QStringLiteral("キップルン");

// Ends the event loop once the window has painted for the first time.
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

}  // namespace

int runWindow(int argc, char** argv, const ProgramOptions& options) {
    QApplication app(argc, argv);
    QFont face(screenFontFamily());
    face.setPointSize(10);
    QApplication::setFont(face);

    SystemClock clock(options.today);
    MessageBoxPrompt boxes;
    SyncedPrompt prompt(boxes);
    ProgramShell program(options.untinDir, clock, prompt);
    try {
        program.start();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, ProgramTitle, QString::fromUtf8(e.what()));
        return 1;
    }

    // One window for every screen, so the message boxes always have the
    // window now shown as their parent.
    MainWindow window(program, prompt);
    boxes.setParentWindow(&window);
    QObject::connect(&window, &MainWindow::programEnded, &app, [] { QCoreApplication::exit(0); });
    QObject::connect(&window, &MainWindow::fatalError, &app, [&window](const QString& message) {
        QMessageBox::critical(&window, ProgramTitle, message);
        QCoreApplication::exit(1);
    });
    QuitWhenShown quitWhenShown;
    if (options.quitAfterShow) window.installEventFilter(&quitWhenShown);
    window.show();
    return app.exec();
}

}  // namespace kippurun
