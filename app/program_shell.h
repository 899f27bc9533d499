#pragma once
// The running program: which screen is open, and whether the program has
// ended. Both views drive the program through it.
#include <filesystem>
#include <memory>

#include "app/clock.h"
#include "app/controls.h"
#include "app/frm_start.h"

namespace kippurun {

class ProgramShell {
  public:
    ProgramShell(std::filesystem::path untinDir, const Clock& clock, Prompt& prompt);

    // Opens the sales screen and runs its load step. Throws DataFileError;
    // the program must not go on after one.
    void start();

    // The sales screen; only valid after start().
    frmStart& salesScreen() { return *sales_; }
    // The controls of the screen now open.
    ControlRegistry& currentControls() { return sales_->controls(); }
    bool ended() const { return sales_ && sales_->ended(); }

  private:
    std::filesystem::path untinDir_;
    const Clock& clock_;
    Prompt& prompt_;
    std::unique_ptr<frmStart> sales_;
};

}  // namespace kippurun
