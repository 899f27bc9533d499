#pragma once
// The sales screen as a Qt window.
#include <functional>
#include <memory>
#include <string_view>

#include <QWidget>

#include "app/qt/control_view.h"

class QCloseEvent;

namespace kippurun {

class frmStart;
class SyncedPrompt;

class SalesWindow : public QWidget {
    Q_OBJECT
  public:
    // `prompt` must be the prompt `screen` asks through: the window brings
    // itself up to date before each question.
    SalesWindow(frmStart& screen, SyncedPrompt& prompt, QWidget* parent = nullptr);
    ~SalesWindow() override;

    // The widget showing a control, by the control's name.
    QWidget* controlWidget(std::string_view name) const { return view_->widget(name); }
    const ControlView& view() const { return *view_; }

  signals:
    // The clerk answered Yes to the exit question; the window has closed.
    void programEnded();
    // A handler failed on the table files (or otherwise); the window has
    // closed without a question and the program must end with this message.
    void fatalError(const QString& message);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // One clerk action: the handler, then the widgets brought up to date.
    void dispatch(const std::function<void()>& action);
    bool runHandler(const std::function<void()>& action);
    void finish();

    frmStart& screen_;
    SyncedPrompt& prompt_;
    std::unique_ptr<ControlView> view_;
    bool busy_ = false;      // a handler is running (and may show a question)
    bool finished_ = false;  // ended or failed: close without asking
};

}  // namespace kippurun
