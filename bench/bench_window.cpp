// The sales window over the sample tables, offscreen: opening it (the model,
// its load step, the widgets and the first show) and clerk events through
// the real widgets (page 0 to the front, then "実 行"; a station key), each
// followed by bringing the widgets up to date.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QWindow>

#include "app/clock.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"
#include "bench/bench_support.h"

namespace {

using namespace kippurun;

// Shown: the platform has exposed the window and its first paint is done.
bool showAndWait(QWidget& window) {
    window.show();
    for (int i = 0; i < 1000 && !(window.windowHandle() && window.windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    return window.windowHandle() && window.windowHandle()->isExposed();
}

using bench::SampleTables;
using bench::SilentPrompt;
const Date Today = bench::SampleToday;

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

// A station key pressed on page 1 into the arrival list, the widgets then
// brought up to date and repainted. 今治 and 宇和島 in turn, with a reserved
// express ticket, so that every press runs the whole chain and 宇和島 asks
// about the change at 松山 (the window is brought up to date for the
// question too).
void BM_StationKeyThroughTheWindow(benchmark::State& state) {
    SystemClock clock(Today);
    SilentPrompt silent;
    SyncedPrompt prompt(silent);
    ProgramShell shell(SampleTables, clock, prompt);
    shell.start();
    frmStart& screen = *shell.salesScreen();
    MainWindow window(shell, prompt);
    if (!showAndWait(window)) state.SkipWithError("window not shown");
    qobject_cast<QPushButton*>(window.controlWidget("cmdShiToku"))->click();
    screen.cboChaku_GotFocus();
    qobject_cast<QTabWidget*>(window.controlWidget("tabFullKey"))->setCurrentIndex(1);
    QPushButton* keys[] = {qobject_cast<QPushButton*>(window.controlWidget("cmdEki15")),
                           qobject_cast<QPushButton*>(window.controlWidget("cmdEki25"))};
    auto* arrival = qobject_cast<QComboBox*>(window.controlWidget("cboChaku"));
    int turn = 0;
    for (auto _ : state) {
        keys[turn]->click();
        QCoreApplication::processEvents();
        turn ^= 1;
    }
    if (arrival->currentText() != keys[turn ^ 1]->text())
        state.SkipWithError("the arrival list does not show the key's station");
}
BENCHMARK(BM_StationKeyThroughTheWindow)->Unit(benchmark::kMicrosecond)->Repetitions(5);

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
