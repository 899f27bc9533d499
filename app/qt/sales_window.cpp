#include "app/qt/sales_window.h"

#include <exception>

#include <QCloseEvent>

#include "app/frm_start.h"
#include "app/qt/window_prompt.h"

namespace kippurun {

SalesWindow::SalesWindow(frmStart& screen, SyncedPrompt& prompt, QWidget* parent)
    : QWidget(parent), screen_(screen), prompt_(prompt) {
    setWindowTitle(QStringLiteral("キップルン"));
    setObjectName(QStringLiteral("frmStart"));
    QFont face(screenFontFamily());
    face.setPointSize(10);
    setFont(face);
    setFixedSize(FormWidth / TwipsPerPixel, FormHeight / TwipsPerPixel);
    view_ = std::make_unique<ControlView>(
        screen_.controls(), salesWindowLayout(), *this, face,
        [this](const std::function<void()>& action) { dispatch(action); });
    view_->sync();
    prompt_.setBeforeShow([this] { view_->sync(); });
    // The execute key holds the focus at first, so that no drop-down
    // starts out focused and clears the bill on its own.
    if (QWidget* key = view_->widget("cmdJikkou")) key->setFocus(Qt::OtherFocusReason);
}

SalesWindow::~SalesWindow() { prompt_.setBeforeShow(nullptr); }

bool SalesWindow::runHandler(const std::function<void()>& action) {
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
    view_->sync();
    return true;
}

void SalesWindow::dispatch(const std::function<void()>& action) {
    // A second action while a question box is open is not the clerk's: the
    // box is modal.
    if (busy_ || finished_) return;
    if (runHandler(action) && screen_.ended()) finish();
    if (finished_) close();
}

void SalesWindow::finish() {
    finished_ = true;
    emit programEnded();
}

void SalesWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    if (busy_) {
        event->ignore();
        return;
    }
    // The window system's close asks the same question as "終 了".
    if (runHandler([this] { screen_.cmdExit_Click(0); }) && screen_.ended()) finish();
    if (finished_)
        event->accept();
    else
        event->ignore();
}

}  // namespace kippurun
