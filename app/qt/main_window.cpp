#include "app/qt/main_window.h"

#include <exception>

#include <QCloseEvent>

#include "app/program_shell.h"
#include "app/qt/window_prompt.h"

namespace kippurun {

namespace {

QString toQString(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

MainWindow::MainWindow(ProgramShell& shell, SyncedPrompt& prompt, QWidget* parent)
    : QWidget(parent), shell_(shell), prompt_(prompt), face_(screenFontFamily()) {
    face_.setPointSize(10);
    setFont(face_);
    showOpenScreen();
    prompt_.setBeforeShow([this] { view_->sync(); });
}

MainWindow::~MainWindow() { prompt_.setBeforeShow(nullptr); }

void MainWindow::showOpenScreen() {
    if (view_) {
        // The key that asked for the change may still be in its own click
        // signal: its widgets go once the event loop has returned.
        retiredView_ = std::move(view_);
        retiredView_->retire();
    }
    const ControlRegistry& form = shell_.currentControls();
    shownScreen_ = shell_.screensOpened();
    setWindowTitle(toQString(form.caption));
    setObjectName(toQString(form.name));
    setFixedSize(form.width / TwipsPerPixel, form.height / TwipsPerPixel);
    view_ = std::make_unique<ControlView>(
        form, form.layout(), *this, face_,
        [this](const std::function<void()>& action) { dispatch(action); });
    view_->sync();
    if (form.initialFocus)
        if (QWidget* first = view_->widget(form.initialFocus->name()))
            first->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::runHandler(const std::function<void()>& action) {
    // No exception may cross Qt's event loop; a failing handler ends the
    // program with its message rather than leave a half-changed screen.
    bool failed = false;
    QString failure;
    busy_ = true;
    try {
        action();
    } catch (const std::exception& e) {
        failed = true;
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failed = true;
        failure = QStringLiteral("予期しないエラーが発生しました。");
    }
    busy_ = false;
    if (failed) {
        finished_ = true;
        emit fatalError(failure);
        return false;
    }
    afterHandler();
    return true;
}

void MainWindow::afterHandler() {
    if (shell_.screensOpened() != shownScreen_)
        showOpenScreen();
    else
        view_->sync();
    if (shell_.ended()) {
        finished_ = true;
        emit programEnded();
    }
}

void MainWindow::dispatch(const std::function<void()>& action) {
    // A second action while a question box is open is not the clerk's: the
    // box is modal.
    if (busy_ || finished_) return;
    runHandler(action);
    if (finished_) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    if (busy_) {
        event->ignore();
        return;
    }
    // The window system's close asks the open screen's own way out.
    runHandler([this] { shell_.current().closeByWindow(); });
    if (finished_)
        event->accept();
    else
        event->ignore();
}

}  // namespace kippurun
