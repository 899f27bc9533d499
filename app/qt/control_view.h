#pragma once
// The widgets of one screen: one real widget per placed control, copied from
// the model by sync() and forwarding each clerk action as exactly one call
// of the control's handler.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QFont>
#include <QMetaObject>
#include <QPointer>

#include "app/controls.h"
#include "app/qt/window_layout.h"

class QShortcut;
class QWidget;

namespace kippurun {

class ControlView {
  public:
    // Runs one clerk action against the model; the owner adds the sync, the
    // error handling and the end of the program around it.
    using Dispatch = std::function<void(const std::function<void()>&)>;

    // Builds the widgets of every control of `registry` that `layout` places
    // under `form`, at the designed size. Tab goes through them in the
    // layout's order, stopping only where a clerk works: drop-downs, boxes
    // the clerk types into, keys with a caption and a handler, the tab
    // control's page captions and keyboard grids.
    ControlView(const ControlRegistry& registry, const std::vector<Placement>& layout,
                QWidget& form, const QFont& font, Dispatch dispatch);
    ~ControlView();
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    // Copies the model into every widget, their signals blocked, so that
    // nothing the program writes reaches a handler.
    void sync();
    bool syncing() const { return syncing_; }

    // Places and sizes every widget, and their faces, at `scale`.
    void setScale(const FormScale& scale);
    const FormScale& scale() const { return scale_; }

    // Hides the widgets and has them deleted once the event loop is back;
    // nothing reaches a handler from them any more.
    void retire();

    QWidget* widget(std::string_view name) const;
    // Whether the focus entering `widget` is the clerk moving it there: by
    // mouse, Tab or shortcut, or by activating the window when the focus was
    // set while the window was inactive. Not: the program's own focus, a
    // popup closing, or the window coming back to the widget that had it.
    bool isClerkFocus(QWidget* widget, Qt::FocusReason reason) const;
    // Placed controls the registry does not know (a layout or model mistake).
    const std::vector<std::string>& unknownNames() const { return unknown_; }

    class Binding;

  private:
    void forward(const std::function<void()>& action);
    // `key` ("F12") presses `button` from anywhere on the form.
    void addFunctionKey(const std::string& key, CommandButton& button);

    QWidget& form_;
    Dispatch dispatch_;
    QPointer<QWidget> lastFocus_;  // the form's widget that last held the focus
    QMetaObject::Connection focusTracking_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::unordered_map<std::string, QWidget*> widgets_;
    std::vector<std::string> unknown_;
    std::vector<QPointer<QShortcut>> shortcuts_;
    FormScale scale_;
    bool syncing_ = false;
    bool retired_ = false;
};

// The face of the screen: "ＭＳ Ｐゴシック" where installed, else Noto Sans CJK JP.
QString screenFontFamily();

}  // namespace kippurun
