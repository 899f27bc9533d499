#include "app/program_shell.h"

#include <utility>

namespace kippurun {

ProgramShell::ProgramShell(std::filesystem::path untinDir, const Clock& clock, Prompt& prompt)
    : untinDir_(std::move(untinDir)), clock_(clock), prompt_(prompt) {}

void ProgramShell::start() {
    // A fresh screen each time: nothing of an earlier sale is carried over.
    sales_ = std::make_unique<frmStart>(untinDir_, clock_, prompt_);
    sales_->Form_Load();
}

}  // namespace kippurun
