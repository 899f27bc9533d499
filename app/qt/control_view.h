#pragma once
// The widgets of one screen: one real widget per placed control, copied from
// the model by sync() and forwarding each clerk action as exactly one call
// of the control's handler.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include <QFont>
#include <QMetaObject>
#include <QPointer>

#include "app/controls.h"
#include "app/qt/window_layout.h"

class QShortcut;
class QTabWidget;
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
    //
    // The pages of a tab control behind the one the screen opens on are
    // built once the window has drawn its first frame, so that the clerk
    // sees the screen sooner; and at once whenever something needs them
    // earlier: widget() asking for one of theirs, the model bringing
    // another page to the front, the clerk's mouse or keyboard on the tab
    // control. Built late or at once, the widgets, their order and their
    // Tab order are the same.
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

    // The widget of a placed control; builds the pages behind first if it
    // is on one of them.
    QWidget* widget(std::string_view name);
    // Builds the widgets of the pages behind the one shown now, if not yet.
    void buildPagesBehind();
    bool pagesBehindBuilt() const { return pending_.empty(); }
    // Whether the focus entering `widget` is the clerk moving it there: by
    // mouse, Tab or shortcut, or by activating the window when the focus was
    // set while the window was inactive. Not: the program's own focus, a
    // popup closing, or the window coming back to the widget that had it.
    bool isClerkFocus(QWidget* widget, Qt::FocusReason reason) const;
    // Placed controls the registry does not know (a layout or model mistake).
    const std::vector<std::string>& unknownNames() const { return unknown_; }

    class Binding;

  private:
    class PagesBehind;
    // A control to be built with the pages behind, and its place in the
    // layout (kept here: the layout may be gone by then).
    struct Pending {
        std::size_t order;
        Placement placement;
        Control* control;
    };

    // The widget of one control under `parent`, placed and scaled.
    void build(std::size_t order, const Placement& placement, Control& control, QWidget* parent);
    // The widget a placement is in: the form, a tab page or a frame; null
    // when the layout names a container that is not there.
    QWidget* containerOf(const Placement& placement) const;
    bool behindShownPage(const Placement& placement) const;
    // Whether the model brings forward a page not built yet.
    bool tabsLeavingTheirPage() const;
    void chainTabStops();
    // Each label built so far tied to the control it captions.
    void tieLabels();
    void forward(const std::function<void()>& action);
    // `key` ("F12") presses `button` from anywhere on the form.
    void addFunctionKey(const std::string& key, CommandButton& button);

    QWidget& form_;
    Dispatch dispatch_;
    QFont font_;
    CommandButton* enterKey_ = nullptr;
    QPointer<QWidget> lastFocus_;  // the form's widget that last held the focus
    QMetaObject::Connection focusTracking_;
    // In the layout's order, the order of the syncs and of Tab.
    std::vector<std::pair<std::size_t, std::unique_ptr<Binding>>> bindings_;
    std::unordered_map<std::string, QWidget*> widgets_;
    // Tab controls: their widget, and the page shown when the view was built.
    struct Tabs {
        const TabControl* model;
        QTabWidget* widget;
        int openedOn;
    };
    std::unordered_map<std::string, Tabs> tabs_;
    std::vector<Pending> pending_;
    std::unordered_set<std::string> pendingNames_;
    std::unique_ptr<PagesBehind> pagesBehind_;
    std::vector<std::string> unknown_;
    std::vector<QPointer<QShortcut>> shortcuts_;
    FormScale scale_;
    bool syncing_ = false;
    bool retired_ = false;
};

// The face of the screen: "ＭＳ Ｐゴシック" where installed, else Noto Sans CJK JP.
QString screenFontFamily();

}  // namespace kippurun
