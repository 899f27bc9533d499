// The sales screen on the model over the sample tables: a change of the
// arrival station with everything it runs, and the whole load step.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/clock.h"
#include "app/frm_start.h"
#include "bench/bench_support.h"

namespace {

using namespace kippurun;
using bench::SilentPrompt;

// 岡山 -> 今治 and 岡山 -> 宇和島 in turn with a reserved express ticket: the
// coupon, student, マリン and express-coupon keys, both charge sections and
// the change at 松山, asked for 宇和島 and answered No.
void BM_ArrivalChange(benchmark::State& state) {
    SystemClock clock(bench::SampleToday);
    SilentPrompt prompt;
    frmStart screen(bench::SampleTables, clock, prompt);
    screen.Form_Load();
    screen.cmdShiToku.press();
    const int asked = prompt.questions;
    const int stations[] = {52, 106};
    int turn = 0;
    for (auto _ : state) {
        screen.cboChaku.setListIndex(stations[turn]);
        turn ^= 1;
        benchmark::DoNotOptimize(screen.cboChaku3.listIndex());
    }
    if (screen.cboKenshu3.listIndex() != 1 || screen.cboChaku.listIndex() != stations[turn ^ 1])
        state.SkipWithError("the express ticket or the station did not hold");
    if (prompt.questions - asked != state.iterations() / 2)
        state.SkipWithError("宇和島 did not ask about the change at 松山 each time");
}
BENCHMARK(BM_ArrivalChange)->Unit(benchmark::kMicrosecond);

// The load step as the program runs it on a newly made screen: the table
// files read, the lists filled, the 52 keys captioned, every determination run.
void BM_FormLoad(benchmark::State& state) {
    SystemClock clock(bench::SampleToday);
    SilentPrompt prompt;
    for (auto _ : state) {
        state.PauseTiming();
        auto screen = std::make_unique<frmStart>(bench::SampleTables, clock, prompt);
        state.ResumeTiming();
        screen->Form_Load();
        benchmark::DoNotOptimize(screen->cmdEki(51).caption.data());
        state.PauseTiming();
        screen.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FormLoad)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
