#pragma once
// The program's one window: it shows the controls of the screen the program
// shell has open and shows another screen's when the shell changes screens.
#include <functional>
#include <memory>
#include <string_view>

#include <QPointer>
#include <QWidget>

#include "app/qt/control_view.h"
#include "app/qt/focus_mark.h"
#include "app/qt/window_prompt.h"

class QCloseEvent;
class QResizeEvent;
class QShowEvent;

namespace kippurun {

class BoxIconStyle;
class ProgramShell;

class MainWindow : public QWidget, public BoxDresser {
    Q_OBJECT
  public:
    // `prompt` must be the prompt the shell's screens ask through: the
    // window brings itself up to date before each question.
    MainWindow(ProgramShell& shell, SyncedPrompt& prompt, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The widget showing a control of the open screen, by the control's name.
    QWidget* controlWidget(std::string_view name) const { return view_->widget(name); }
    const ControlView& view() const { return *view_; }
    const FocusMark& focusMark() const { return focusMark_; }

    // Question boxes at the form's scale: its face, buttons as high as a
    // key, a sharp icon; placed off the control the clerk is working on
    // where the window has room for that.
    void dressBox(QMessageBox& box) const override;
    void placeBox(QMessageBox& box) const override;

  signals:
    // The clerk answered Yes to the exit question; the window has closed.
    void programEnded();
    // A handler failed on the table files (or otherwise); the window has
    // closed without a question and the program must end with this message.
    void fatalError(const QString& message);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The window takes the keyboard when it opens, with or without a
    // window manager.
    void showEvent(QShowEvent* event) override;
    // The form grows and shrinks with the window, keeping its proportions.
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Builds the widgets of the screen now open, retiring the earlier ones.
    void showOpenScreen();
    void fitForm();
    // Copies the model into the widgets and the focus mark after them.
    void syncView();
    // One clerk action: the handler, then the widgets brought up to date.
    void dispatch(const std::function<void()>& action);
    bool runHandler(const std::function<void()>& action);
    // After a handler: another screen, or the end of the program.
    void afterHandler();
    // After a question box: the window takes the keyboard back, and the
    // control that had it gets it again (the screen's first control when
    // that one is gone).
    void takeFocusBack();
    QWidget* firstStop() const;

    ProgramShell& shell_;
    SyncedPrompt& prompt_;
    QFont face_;
    FocusMark focusMark_;
    std::unique_ptr<ControlView> view_;
    // The view of the screen shown before; its widgets are deleted once the
    // event that closed the screen has been handled.
    std::unique_ptr<ControlView> retiredView_;
    QPointer<QWidget> focusBeforeBox_;
    // The question boxes' style: the application's, with the form's icons.
    mutable std::unique_ptr<BoxIconStyle> boxStyle_;
    int shownScreen_ = 0;    // the shell's count of screens opened, as shown
    bool busy_ = false;      // a handler is running (and may show a question)
    bool finished_ = false;  // ended or failed: close without asking
};

}  // namespace kippurun
