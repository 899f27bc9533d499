#include "app/qt/main_window.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

#include "app/program_shell.h"
#include "app/qt/window_prompt.h"

namespace kippurun {

namespace {

QString toQString(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// A question mark on a blue disc, or an exclamation mark on an amber one,
// `side` pixels across at `ratio` device pixels a pixel.
QPixmap boxIcon(bool question, int side, qreal ratio, QFont face) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(1, 1, side - 2, side - 2);
    painter.setPen(QPen(QColor(40, 40, 40), std::max(1.0, side / 24.0)));
    painter.setBrush(question ? QColor(30, 90, 200) : QColor(240, 170, 0));
    painter.drawEllipse(disc);
    face.setBold(true);
    face.setPixelSize(std::max(8, side * 2 / 3));
    painter.setFont(face);
    painter.setPen(question ? Qt::white : Qt::black);
    painter.drawText(disc, Qt::AlignCenter, question ? QStringLiteral("?") : QStringLiteral("!"));
    return pixmap;
}

}  // namespace

// The application's style, but for a question box's icon: the program's
// own, as large as the form's scale makes it. A message box takes its icon
// and the icon's size from its style whenever the icon is set or the style
// changes.
class BoxIconStyle : public QProxyStyle {
  public:
    BoxIconStyle() : QProxyStyle(QApplication::style()->name()) {}
    void setIcons(int side, const QPixmap& question, const QPixmap& warning) {
        side_ = side;
        question_ = QIcon(question);
        warning_ = QIcon(warning);
    }
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_MessageBoxIconSize && side_ > 0) return side_;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_MessageBoxQuestion && !question_.isNull()) return question_;
        if (which == SP_MessageBoxWarning && !warning_.isNull()) return warning_;
        return QProxyStyle::standardIcon(which, option, widget);
    }

  private:
    int side_ = 0;
    QIcon question_, warning_;
};

MainWindow::MainWindow(ProgramShell& shell, SyncedPrompt& prompt, QWidget* parent)
    : QWidget(parent), shell_(shell), prompt_(prompt), face_(screenFontFamily()) {
    face_.setPointSize(10);
    setFont(face_);
    // Opens at the designed size times the screen's scale (as far as the
    // screen has room).
    const QSize designed = designedSize(shell_.currentControls());
    double factor = 1.0;
    if (const QScreen* screen = this->screen()) {
        factor = std::max(1.0, screen->logicalDotsPerInchY() / 96.0);
        const QSize room = screen->availableGeometry().size();
        factor = std::min(factor, std::max(1.0, FormScale::fitting(room, designed).factor));
    }
    resize(designed * factor);
    showOpenScreen();
    prompt_.setBeforeShow([this] {
        syncView();
        focusBeforeBox_ = focusWidget();
    });
    prompt_.setAfterShow([this] { takeFocusBack(); });
}

MainWindow::~MainWindow() {
    prompt_.setBeforeShow(nullptr);
    prompt_.setAfterShow(nullptr);
}

void MainWindow::dressBox(QMessageBox& box) const {
    const FormScale& scale = view_->scale();
    const QFont font = scale.font(face_);
    box.setFont(font);
    for (QWidget* part : box.findChildren<QWidget*>()) part->setFont(font);
    // A key's size on the form (855 x 375 twips), the buttons at least that
    // and as wide as their words.
    auto ceiled = [&](int twips) {
        return static_cast<int>(std::ceil(twips * scale.factor / TwipsPerPixel));
    };
    const QSize key(ceiled(855), ceiled(375));
    for (QAbstractButton* button : box.buttons())
        button->setMinimumSize(key.expandedTo(QSize(button->sizeHint().width(), 0)));
    // The icon drawn for the screen's pixels at the form's size, not an
    // enlarged small one; the box keeps its kind of icon (Question, Warning).
    const int side = scale.pixels(32);
    const qreal ratio = box.devicePixelRatioF();
    if (!boxStyle_) boxStyle_ = std::make_unique<BoxIconStyle>();
    boxStyle_->setIcons(side, boxIcon(true, side, ratio, face_),
                        boxIcon(false, side, ratio, face_));
    box.setStyle(boxStyle_.get());
    box.setIcon(box.icon());
    // A screen reader reads with the box its question and the answer Enter gives.
    if (const QPushButton* answer = box.defaultButton())
        box.setAccessibleDescription(
            QStringLiteral("%1（Enter: %2）").arg(box.text(), answer->text()));
}

void MainWindow::placeBox(QMessageBox& box) const {
    const QRect window(mapToGlobal(QPoint(0, 0)), size());
    const QSize size = box.frameGeometry().size();
    QRect avoid;
    if (const QWidget* focus = focusWidget(); focus && focus->isVisible())
        avoid = QRect(focus->mapToGlobal(QPoint(0, 0)), focus->size());
    // Centred on the window; where that covers the control being worked on,
    // centred on the half of the window away from it, else above or below it.
    QList<QPoint> centres{window.center()};
    if (!avoid.isNull()) {
        const bool onLeft = avoid.center().x() < window.center().x();
        centres << QPoint(
            onLeft ? window.left() + window.width() * 3 / 4 : window.left() + window.width() / 4,
            window.center().y());
        centres << QPoint(window.center().x(), avoid.bottom() + size.height() / 2 + 8)
                << QPoint(window.center().x(), avoid.top() - size.height() / 2 - 8);
    }
    const QRect room = screen() ? screen()->availableGeometry() : window;
    for (const QPoint& centre : centres) {
        QRect at(QPoint(), size);
        at.moveCenter(centre);
        if (!room.contains(at) || at.intersects(avoid)) continue;
        box.move(at.topLeft());
        return;
    }
    QRect at(QPoint(), size);
    at.moveCenter(window.center());
    box.move(at.topLeft());
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    activateWindow();
}

QWidget* MainWindow::firstStop() const {
    const ControlRegistry& form = shell_.currentControls();
    return form.initialFocus ? view_->widget(form.initialFocus->name()) : nullptr;
}

void MainWindow::takeFocusBack() {
    if (!isVisible()) return;
    activateWindow();
    QWidget* target = focusBeforeBox_;
    if (!target || !target->isVisible() || !target->isEnabled() || target->window() != this)
        target = firstStop();
    if (target) target->setFocus(Qt::OtherFocusReason);
}

void MainWindow::showOpenScreen() {
    const ControlRegistry& form = shell_.currentControls();
    const QSize designed = designedSize(form);
    if (view_) {
        // The key that asked for the change may still be in its own click
        // signal: its widgets go once the event loop has returned.
        retiredView_ = std::move(view_);
        retiredView_->retire();
    }
    // The next screen in the same window, its size and place kept: the form
    // scales to fit it. Never smaller than the largest form designed (the
    // sales screen's): below it the texts no longer fit.
    setMinimumSize(minimumSize().expandedTo(designed));
    shownScreen_ = shell_.screensOpened();
    setWindowTitle(toQString(form.caption));
    setObjectName(toQString(form.name));
    view_ = std::make_unique<ControlView>(
        form, form.layout(), *this, face_,
        [this](const std::function<void()>& action) { dispatch(action); });
    fitForm();
    view_->sync();
    if (QWidget* first = firstStop()) first->setFocus(Qt::OtherFocusReason);
    if (isVisible()) activateWindow();
    focusMark_.refresh();
}

void MainWindow::fitForm() {
    const FormScale scale = FormScale::fitting(size(), designedSize(shell_.currentControls()));
    view_->setScale(scale);
    focusMark_.setThickness(*this, scale.pixels(3));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (view_) fitForm();
}

void MainWindow::syncView() {
    view_->sync();
    focusMark_.refresh();
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
        syncView();
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
