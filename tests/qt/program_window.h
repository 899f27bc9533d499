#pragma once
// The program's one window over a shell, shown offscreen, for the window
// tests: its questions answered by a recording prompt or shown as real
// message boxes for the test to answer.
#include <filesystem>
#include <memory>

#include <QLineEdit>
#include <QTest>

#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"
#include "tests/support/fakes.h"

namespace kippurun::testing {

struct ProgramWindow {
    FixedClock clock;
    RecordingPrompt fake;
    MessageBoxPrompt boxes;
    SyncedPrompt prompt;
    ProgramShell shell;
    std::unique_ptr<MainWindow> window;

    // Starts the program on the tables in `untin` with today fixed, and
    // shows its window. With `messageBoxes` the questions are real boxes.
    ProgramWindow(const std::filesystem::path& untin, Date today, bool messageBoxes)
        : clock(today),
          prompt(messageBoxes ? static_cast<Prompt&>(boxes) : fake),
          shell(untin, clock, prompt) {
        shell.start();
        window = std::make_unique<MainWindow>(shell, prompt);
        boxes.setParentWindow(window.get());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    // The widget of a control of the open screen, of the kind asked for.
    template <class W = QWidget>
    W* get(const char* name) const {
        W* w = qobject_cast<W*>(window->controlWidget(name));
        if (!w) qWarning("no widget %s of that kind", name);
        return w;
    }
    QString text(const char* name) const { return get<QLineEdit>(name)->text(); }
    void click(const char* name) const { QTest::mouseClick(get(name), Qt::LeftButton); }
};

inline const std::filesystem::path SampleTables =
    std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";

}  // namespace kippurun::testing
