// The input-graphic page on the main window of a suite laid out by tremol-setup:
// "&Eingabegrafik" on the worked example and on a record with 1,000 outline points and
// 50 layers per side (without the pause with the bar at 100), the page redrawn as the
// page context dialog redraws it, and both pages of the worked example printed into
// one PDF file through the print button.
#include "PageSuite.h"
#include "pages/input/mdiESEITE1.h"
#include "platform/PrinterSurface.h"
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t LargeId = 100;

void showInputPage(benchmark::State& state, PageSuite& suite)
{
    for (auto _ : state) {
        state.PauseTiming();
        suite.closePages();
        state.ResumeTiming();
        suite.main->mnuEINGABEGRAFIK_Click();
    }
    if (!suite.page<mdiESEITE1>() || !suite.page<mdiESEITE1>()->complete())
        state.SkipWithError("the page was not built");
}

void BM_InputPage(benchmark::State& state)
{
    PageSuite suite;
    if (!suite.ok) {
        state.SkipWithError("no main window");
        return;
    }
    showInputPage(state, suite);
}
BENCHMARK(BM_InputPage)->Unit(benchmark::kMillisecond);

void BM_InputPageLargeRecord(benchmark::State& state)
{
    PageSuite suite;
    suite.addLargeRecord(LargeId);
    suite.activate(LargeId);
    showInputPage(state, suite);
}
BENCHMARK(BM_InputPageLargeRecord)->Unit(benchmark::kMillisecond);

void BM_InputPageRedraw(benchmark::State& state)
{
    PageSuite suite;
    suite.main->mnuEINGABEGRAFIK_Click();
    suite.redraw<mdiESEITE1>(state);
}
BENCHMARK(BM_InputPageRedraw)->Unit(benchmark::kMillisecond);

void BM_PrintBothPagesToPdf(benchmark::State& state)
{
    PageSuite suite;
    suite.main->mnuEINGABEGRAFIK_Click();
    suite.recalculate(1);
    if (!suite.page<mdiESEITE1>()) {
        state.SkipWithError("no input-graphic page");
        return;
    }
    const QString pdf = suite.path(QStringLiteral("seiten.pdf"));
    QPrinter& printer = suite.main->Printer().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    for (auto _ : state) {
        suite.main->stbMAIN_PanelClick(11);   // the print dialog's choice left at all pages
        state.PauseTiming();
        const bool written = QFile::exists(pdf);
        QFile::remove(pdf);
        state.ResumeTiming();
        if (!written) {
            state.SkipWithError("no PDF file");
            return;
        }
    }
}
BENCHMARK(BM_PrintBothPagesToPdf)->Unit(benchmark::kMillisecond);

} // namespace
