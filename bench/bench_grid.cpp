// Grid tables of 10,000 rows: filled from a table side through the view's grid reader,
// written back through its grid writer in one transaction (as a save does), and one
// repaint of the grid scrolled into the middle.
#include "data/clsDATEN.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/DialogService.h"
#include "platform/FlexGrid.h"
#include "setup/SuiteSetup.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int GridRows = 10000;

// A project database with one record whose left layer side has 10,000 rows.
class LongTable {
public:
    LongTable()
    {
        const QString path = QDir(dir_.path()).filePath(QStringLiteral("TREMOL.mdb"));
        MakeTemplateDatabase(path);
        ctx.cnnX = OpenDatabase(path);
        ctx.dialogs = std::make_shared<ScriptedDialogService>();
        Transaction t(ctx.cnnX);
        for (int i = 0; i < GridRows; ++i)
            ctx.cnnX->Execute(QStringLiteral("INSERT INTO E3 (ID, K, I1, Z, KF) VALUES (7, 1, ?, ?, ?)"),
                              {Variant(int32_t(i)), Variant(float(-0.25f * float(i))), Variant(1.0e-5f)});
        t.Commit();
    }
    std::shared_ptr<clsDATEN> view()
    {
        auto v = std::make_shared<clsDATEN>(ctx);
        v->ETABELLE(QStringLiteral("E3"));
        v->ESPIDW(7);
        return v;
    }
    // The three columns of the table side, in and out, as the input window moves them.
    bool read(FlexGrid& grid)
    {
        auto v = view();
        return v->DTFFM("I1", grid, "0", "K", 1, "I1") && v->DTFFM("Z", grid, "1", "K", 1, "I1")
            && v->DTFFM("KF", grid, "2", "K", 1, "I1");
    }
    bool write(const FlexGrid& grid)
    {
        auto v = view();
        return v->DFTFM("I1", grid, "0", "K", 1, "I1") && v->DFTFM("Z", grid, "1", "K", 1, "I1")
            && v->DFTFM("KF", grid, "2", "K", 1, "I1");
    }

    Context ctx;

private:
    QTemporaryDir dir_;
};

// A grid of three columns on a shown window, as the input window holds it.
struct ShownGrid {
    ShownGrid()
    {
        window.resize(420, 640);
        grid = new FlexGrid(&window);
        grid->setGeometry(10, 10, 400, 620);
        grid->setCols(3);
        window.show();
    }
    QWidget window;
    FlexGrid* grid;
};

void BM_GridFillThroughDTFF(benchmark::State& state)
{
    LongTable table;
    for (auto _ : state) {
        state.PauseTiming();
        auto shown = std::make_unique<ShownGrid>();
        state.ResumeTiming();
        if (!table.read(*shown->grid))
            state.SkipWithError("read failed");
        state.PauseTiming();
        shown.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * GridRows);
}
BENCHMARK(BM_GridFillThroughDTFF)->Unit(benchmark::kMillisecond);

void BM_GridWriteBackThroughDFTF(benchmark::State& state)
{
    LongTable table;
    ShownGrid shown;
    table.read(*shown.grid);
    for (auto _ : state) {
        Transaction t(table.ctx.cnnX);
        if (!table.write(*shown.grid))
            state.SkipWithError("write failed");
        t.Commit();
    }
    state.SetItemsProcessed(state.iterations() * GridRows);
}
BENCHMARK(BM_GridWriteBackThroughDFTF)->Unit(benchmark::kMillisecond);

void BM_GridRepaintScrolled(benchmark::State& state)
{
    LongTable table;
    ShownGrid shown;
    table.read(*shown.grid);
    shown.grid->setTopRow(GridRows / 2);
    for (auto _ : state)
        shown.grid->viewport()->repaint();
}
BENCHMARK(BM_GridRepaintScrolled)->Unit(benchmark::kMicrosecond);

} // namespace
