// The sales window over the sample tables, offscreen: opening it (the model,
// its load step, the widgets and the first show) and two clerk events (page
// 0 to the front, then "実 行" through the real key, each followed by
// bringing the widgets up to date).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>

#include "app/clock.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"

namespace {

using namespace kippurun;

class SilentPrompt : public Prompt {
  public:
    PromptAnswer ask(const std::string&, const std::string&, PromptButtons) override {
        return PromptAnswer::No;
    }
    void inform(const std::string&, const std::string&) override {}
};

// Shown: the platform has exposed the window and its first paint is done.
bool showAndWait(QWidget& window) {
    window.show();
    for (int i = 0; i < 1000 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    return window.windowHandle() && window.windowHandle()->isExposed();
}

const std::filesystem::path SampleTables = std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin";
const Date Today{std::chrono::year(2026), std::chrono::December, std::chrono::day(9)};

void BM_OpenSalesWindow(benchmark::State& state) {
    SystemClock clock(Today);
    SilentPrompt silent;
    SyncedPrompt prompt(silent);
    for (auto _ : state) {
        ProgramShell shell(SampleTables, clock, prompt);
        shell.start();
        MainWindow window(shell, prompt);
        if (!showAndWait(window)) state.SkipWithError("window not shown");
        benchmark::DoNotOptimize(window.controlWidget("txtBill"));
    }
}
BENCHMARK(BM_OpenSalesWindow)->Unit(benchmark::kMillisecond)->Repetitions(10)->Iterations(3);

void BM_ExecuteThroughTheWindow(benchmark::State& state) {
    SystemClock clock(Today);
    SilentPrompt silent;
    SyncedPrompt prompt(silent);
    ProgramShell shell(SampleTables, clock, prompt);
    shell.start();
    MainWindow window(shell, prompt);
    if (!showAndWait(window)) state.SkipWithError("window not shown");
    auto* execute = qobject_cast<QPushButton*>(window.controlWidget("cmdJikkou"));
    auto* tabs = qobject_cast<QTabWidget*>(window.controlWidget("tabFullKey"));
    for (auto _ : state) {
        // Page 0 to the front empties the total, so that every 実 行 has
        // widgets to rewrite.
        tabs->setCurrentIndex(0);
        execute->click();
    }
}
BENCHMARK(BM_ExecuteThroughTheWindow)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
