#include "app/program_shell.h"

#include <utility>

namespace kippurun {

ProgramShell::ProgramShell(CounterFolders folders, const Clock& clock, Prompt& prompt,
                           TablesAhead tablesAhead)
    : folders_(std::move(folders)),
      clock_(clock),
      prompt_(prompt),
      tablesAhead_(std::move(tablesAhead)) {}

void ProgramShell::start() { openSales(); }

void ProgramShell::openSales() {
    // A fresh screen each time: nothing of an earlier sale is carried over.
    auto screen = std::make_unique<frmStart>(folders_, clock_, prompt_, &module1_);
    // Only the first opening: a release or a return from the settings
    // screen reads the folder as it is then.
    if (tablesAhead_) screen->takeTablesFrom(std::exchange(tablesAhead_, nullptr));
    replaceWith(std::move(screen));
}

void ProgramShell::openSettings() {
    replaceWith(std::make_unique<frmSettei>(folders_.counter, prompt_, &module1_));
}

void ProgramShell::replaceWith(std::unique_ptr<Screen> next) {
    next->attach(this);
    next->load();
    closed_ = std::move(open_);
    open_ = std::move(next);
    ++opened_;
}

}  // namespace kippurun
