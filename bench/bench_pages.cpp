// The result page on the main window of a suite laid out by tremol-setup: built and
// drawn from the stored results of the worked example ("&Berechnen" without its pause
// with the bar at 100), redrawn as the page context dialog redraws it, and
// "&Neuberechnen" end to end (result row, calculation, page) on a record with 1,000
// outline points per side and on ones with 3,001 (6,001) layers and as many outline
// points per side, also without the pause.
#include "PageSuite.h"
#include "pages/result/mdiSEITE1.h"
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t LargeId = 100;

void BM_ResultPageFromStoredResults(benchmark::State& state)
{
    PageSuite suite;
    suite.recalculate(1);
    if (!suite.ok || !suite.page<mdiSEITE1>()) {
        state.SkipWithError("no result page");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        suite.closePages();
        state.ResumeTiming();
        suite.main->mnuBERECHNEN_Click();
    }
    if (!suite.page<mdiSEITE1>() || !suite.page<mdiSEITE1>()->complete())
        state.SkipWithError("the page was not built");
}
BENCHMARK(BM_ResultPageFromStoredResults)->Unit(benchmark::kMillisecond);

void BM_ResultPageRedraw(benchmark::State& state)
{
    PageSuite suite;
    suite.recalculate(1);
    suite.redraw<mdiSEITE1>(state);
}
BENCHMARK(BM_ResultPageRedraw)->Unit(benchmark::kMillisecond);

// Arguments: layers and outline points per side.
void BM_RecalculateLargeRecord(benchmark::State& state)
{
    PageSuite suite;
    suite.addLargeRecord(LargeId, int32_t(state.range(0)), int32_t(state.range(1)));
    for (auto _ : state) {
        suite.recalculate(LargeId);
        state.PauseTiming();
        const bool built = suite.page<mdiSEITE1>() && suite.page<mdiSEITE1>()->complete();
        suite.closePages();
        state.ResumeTiming();
        if (!built) {
            state.SkipWithError("the page was not built");
            return;
        }
    }
    state.counters["rows"] = double(SectionRows(suite.main->cnnX()));
}
BENCHMARK(BM_RecalculateLargeRecord)->Args({50, 1000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateLargeRecord)->Args({3001, 3001})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateLargeRecord)->Args({6001, 6001})->Unit(benchmark::kMillisecond);

} // namespace
