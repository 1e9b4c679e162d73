// The result page on the main window of a suite laid out by tremol-setup: built and
// drawn from the stored results of the worked example ("&Berechnen" without its pause
// with the bar at 100), redrawn as the page context dialog redraws it, and
// "&Neuberechnen" end to end (result row, calculation, page) on a record with 1,000
// outline points per side, also without the pause.
#include "LargeRecord.h"
#include "app/frmMAIN.h"
#include "pages/result/mdiSEITE1.h"
#include "platform/DialogService.h"
#include "setup/SuiteSetup.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int32_t LargeId = 100;

class Suite {
public:
    Suite()
    {
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
        SuiteOptions options;
        options.root = dir_.path();
        LayOutSuite(options);
        main = std::make_unique<frmMAIN>(std::make_shared<ScriptedDialogService>(),
                                         dir_.filePath(QStringLiteral("TREMOL")));
        ok = main->MDIForm_Load() == frmMAIN::StartResult::Running;
        main->SetPagePause(0);
    }
    // Activates a record and recalculates it, leaving its page open.
    void recalculate(int32_t id)
    {
        main->cnnX()->Execute(QStringLiteral("UPDATE E1 SET AKT = (ID = ?)"), {Variant(id)});
        main->mnuNEUBERECHNEN_Click();
    }
    mdiSEITE1* page() const
    {
        for (QWidget* form : main->Forms())
            if (auto* p = qobject_cast<mdiSEITE1*>(form))
                return p;
        return nullptr;
    }
    void closePages()
    {
        main->stbMAIN_PanelClick(15);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir dir_;
    std::unique_ptr<frmMAIN> main;
    bool ok = false;
};

void BM_ResultPageFromStoredResults(benchmark::State& state)
{
    Suite suite;
    suite.recalculate(1);
    if (!suite.ok || !suite.page()) {
        state.SkipWithError("no result page");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        suite.closePages();
        state.ResumeTiming();
        suite.main->mnuBERECHNEN_Click();
    }
    if (!suite.page() || !suite.page()->complete())
        state.SkipWithError("the page was not built");
}
BENCHMARK(BM_ResultPageFromStoredResults)->Unit(benchmark::kMillisecond);

void BM_ResultPageRedraw(benchmark::State& state)
{
    Suite suite;
    suite.recalculate(1);
    mdiSEITE1* page = suite.page();
    if (!page) {
        state.SkipWithError("no result page");
        return;
    }
    bool on = true;
    int32_t white = 0xFFFFFF;
    for (auto _ : state)
        page->KONTEXT(on, on, white, white);
}
BENCHMARK(BM_ResultPageRedraw)->Unit(benchmark::kMillisecond);

void BM_RecalculateLargeRecord(benchmark::State& state)
{
    Suite suite;
    {
        Transaction fill(suite.main->cnnX());
        WriteLargeRecord(*suite.main->cnnX(), LargeId);
        fill.Commit();
    }
    for (auto _ : state) {
        suite.recalculate(LargeId);
        state.PauseTiming();
        const bool built = suite.page() && suite.page()->complete();
        suite.closePages();
        state.ResumeTiming();
        if (!built) {
            state.SkipWithError("the page was not built");
            return;
        }
    }
}
BENCHMARK(BM_RecalculateLargeRecord)->Unit(benchmark::kMillisecond);

} // namespace
