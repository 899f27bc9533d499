#pragma once
// What the program shell and the views know of a screen: its form, its load
// step, its way out when the window system closes it, and whether the
// clerk has ended the program from it.
#include "app/form.h"

namespace kippurun {

class Screen {
  public:
    Screen() = default;
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // Every control in a fixed order, containers before their contents.
    ControlRegistry& controls() { return registry_; }
    const ControlRegistry& controls() const { return registry_; }

    // The screen's load step; throws DataFileError when a table file cannot
    // be used.
    virtual void load() = 0;
    // The window system's close: the same question as the screen's own
    // way out.
    virtual void closeByWindow() = 0;

    // True once the clerk answered Yes to the exit question.
    bool ended() const { return ended_; }

  protected:
    ControlRegistry registry_;
    bool ended_ = false;
};

}  // namespace kippurun
