// "実 行" on the sales screen over the sample tables: a return ticket with a
// reserved express ticket in both charge sections, the heaviest ordinary run.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/clock.h"
#include "app/controls.h"
#include "app/frm_start.h"
#include "bench/bench_support.h"
#include "data/station_catalogue.h"

namespace {

using namespace kippurun;
using bench::SilentPrompt;
using namespace std::string_literals;  // GCC 12 -Wrestrict on 1-char literals

void fillExpressStops(ComboBox& list) {
    list.clear();
    for (int station : ExpressStopList()) list.addItem(std::string(*stationName(station)));
}

void BM_cmdJikkou_Click(benchmark::State& state) {
    SystemClock clock(bench::SampleToday);
    SilentPrompt prompt;
    frmStart screen(bench::SampleTables, clock, prompt);
    screen.Form_Load();
    screen.cboKenshu.setListIndex(1);
    screen.txtNinzu.text = "2"s;
    screen.txtNinzuK.text = "1"s;
    screen.txtSeason.text = "通常期";
    for (ComboBox* list :
         {&screen.cboHatsu3, &screen.cboChaku3, &screen.cboHatsu4, &screen.cboChaku4})
        fillExpressStops(*list);
    screen.cboHatsu3.setListIndex(0);
    screen.cboChaku3.setListIndex(10);
    screen.cboKenshu3.setListIndex(1);
    screen.cboHatsu4.setListIndex(10);
    screen.cboChaku4.setListIndex(20);
    screen.cboKenshu4.setListIndex(1);
    screen.frameRyokin2.visible = true;

    for (auto _ : state) {
        screen.cmdJikkou_Click();
        benchmark::DoNotOptimize(screen.txtBill.text.data());
    }
    if (screen.txtBill.text.empty()) state.SkipWithError("the run priced nothing");
}
BENCHMARK(BM_cmdJikkou_Click);

}  // namespace

BENCHMARK_MAIN();
