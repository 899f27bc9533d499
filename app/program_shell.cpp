#include "app/program_shell.h"

#include <utility>

namespace kippurun {

ProgramShell::ProgramShell(std::filesystem::path untinDir, const Clock& clock, Prompt& prompt)
    : untinDir_(std::move(untinDir)), clock_(clock), prompt_(prompt) {}

void ProgramShell::start() { openSales(); }

void ProgramShell::openSales() {
    // A fresh screen each time: nothing of an earlier sale is carried over.
    replaceWith(std::make_unique<frmStart>(untinDir_, clock_, prompt_, &module1_));
}

void ProgramShell::replaceWith(std::unique_ptr<Screen> next) {
    next->load();
    closed_ = std::move(open_);
    open_ = std::move(next);
    ++opened_;
}

}  // namespace kippurun
