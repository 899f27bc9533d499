#pragma once
// The running program: the shared module, whichever screen is open, and
// whether the program has ended. Both views drive the program through it;
// a screen asks it to open another screen in its place.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/clock.h"
#include "app/controls.h"
#include "app/frm_settei.h"
#include "app/frm_start.h"
#include "app/module1.h"
#include "app/screen.h"

namespace kippurun {

class ProgramShell : public ScreenChanges {
  public:
    // `tablesAhead`, where given, has the first sales screen's tables read
    // ahead (TablePrefetch::take).
    ProgramShell(CounterFolders folders, const Clock& clock, Prompt& prompt,
                 TablesAhead tablesAhead = nullptr);

    // Opens the sales screen and runs its load step. Throws DataFileError;
    // the program must not go on after one.
    void start();

    // The screen now open; only valid after start().
    Screen& current() { return *open_; }
    // The sales screen while it is open, else null.
    frmStart* salesScreen() { return dynamic_cast<frmStart*>(open_.get()); }
    // The settings screen while it is open, else null.
    frmSettei* settingsScreen() { return dynamic_cast<frmSettei*>(open_.get()); }
    // The controls of the screen now open.
    ControlRegistry& currentControls() { return open_->controls(); }
    bool ended() const { return open_ && open_->ended(); }
    Module1& module1() { return module1_; }
    // Counts the screens opened, so that a view knows when to show another.
    int screensOpened() const { return opened_; }

    // Closes the screen now open, opens the sales screen anew and runs its
    // whole load step.
    void openSales() override;
    // Opens the settings screen and runs its load step, then closes the
    // screen now open (the sale on it is discarded).
    void openSettings() override;

  private:
    // Opens `next` in place of the screen now open: `next` runs its load
    // step first, then the old screen closes.
    void replaceWith(std::unique_ptr<Screen> next);

    CounterFolders folders_;
    const Clock& clock_;
    Prompt& prompt_;
    TablesAhead tablesAhead_;
    Module1 module1_;
    std::unique_ptr<Screen> open_;
    // The screen last closed: a screen asks for the change from one of its
    // own handlers, which must be able to return before it is destroyed.
    std::unique_ptr<Screen> closed_;
    int opened_ = 0;
};

}  // namespace kippurun
