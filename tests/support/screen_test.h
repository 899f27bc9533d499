#pragma once
// A sales screen over small tables written into a temporary folder, with a
// fixed clock and a prompt that records what it was asked.
#include <memory>
#include <string>
#include <vector>

#include "app/frm_start.h"
#include "app/program_shell.h"
#include "tests/support/fakes.h"
#include "tests/support/table_folder.h"

namespace kippurun::testing {

// A screen opened on a TableFolder; the journey is 0 -> 67 by default.
class ScreenTest {
  public:
    ScreenTest();
    frmStart& screen() { return *screen_; }
    // Rebuilds the screen on the folder as it is now and runs the load step.
    void open();
    // Puts the 26 express stops or the 15 Marine stops into a charge
    // section's stop lists, as the determinations will.
    void fillExpressStops(ComboBox& hatsu, ComboBox& chaku);
    void fillMarineStops(ComboBox& hatsu, ComboBox& chaku);

    TableFolder folder;
    FixedClock clock{Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    RecordingPrompt prompt;

  private:
    std::unique_ptr<frmStart> screen_;
};

// The whole program over a TableFolder: the shell with its screens.
struct ShellTest {
    TableFolder folder;
    FixedClock clock{Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    RecordingPrompt prompt;
    ProgramShell shell{folder.path(), clock, prompt};

    // Starts the program and presses "設 定" on the sales screen.
    frmSettei& openSettings();
};

// A clerk typing `text` into `box` of the open screen, by the path the
// window's typing takes: a failure when the clerk could not type it there.
void typeAsClerk(frmStart& screen, TextBox& box, const std::string& text);

// Everything a clerk could see or a handler could read, as one text per
// control, to compare a whole screen before and after.
std::vector<std::string> snapshot(frmStart& screen);

}  // namespace kippurun::testing
