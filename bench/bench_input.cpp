// The input window with 1,000 rows in each of its six tables: saving the record in one
// transaction, as the save button does, and opening it again into a fresh window.
#include "app/Datensatz.h"
#include "input/mdiEINGABE.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/DialogService.h"
#include "setup/SuiteSetup.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int TableRows = 1000;
constexpr int32_t RecordId = 7;

class InputProject {
public:
    InputProject()
    {
        const QString path = QDir(dir_.path()).filePath(QStringLiteral("TREMOL.mdb"));
        MakeTemplateDatabase(path);
        ctx.cnnX = OpenDatabase(path);
        ctx.dialogs = std::make_shared<ScriptedDialogService>();
    }
    // A shown window whose six tables hold 1,000 numbered rows each.
    std::unique_ptr<mdiEINGABE> filledWindow()
    {
        auto w = window();
        w->txtKEN->setText(QStringLiteral("Lang"));
        w->txtZGWLS->setText(QStringLiteral("-1,5"));
        w->txtZGWRS->setText(QStringLiteral("0"));
        for (int i = 0; i < 6; ++i) {
            FlexGrid& g = *w->msgFLX[size_t(i)];
            g.setRows(g.FixedRows() + TableRows);
            for (int r = 1; r <= TableRows; ++r) {
                g.setTextMatrix(r, 1, QStringLiteral("%1,25").arg(r));
                g.setTextMatrix(r, 2, QStringLiteral("1E-05"));
            }
            w->FLX(i).NUMMERIEREN();
        }
        return w;
    }
    std::unique_ptr<mdiEINGABE> window()
    {
        auto w = std::make_unique<mdiEINGABE>(ctx, mdiEINGABE::Hauptfenster{});
        w->show();
        return w;
    }
    bool save(mdiEINGABE& w)
    {
        Transaction t(ctx.cnnX);
        if (!w.PRUEFEN() || !w.OK(RecordId))
            return false;
        t.Commit();
        return true;
    }

    Context ctx;

private:
    QTemporaryDir dir_;
};

void BM_InputSaveRecord(benchmark::State& state)
{
    InputProject project;
    auto w = project.filledWindow();
    for (auto _ : state) {
        state.PauseTiming();
        LoescheDatensatz(project.ctx.cnnX, RecordId);   // each save writes a new record
        state.ResumeTiming();
        if (!project.save(*w))
            state.SkipWithError("save failed");
    }
    state.SetItemsProcessed(state.iterations() * 6 * TableRows);
}
BENCHMARK(BM_InputSaveRecord)->Unit(benchmark::kMillisecond);

void BM_InputOpenRecord(benchmark::State& state)
{
    InputProject project;
    project.save(*project.filledWindow());
    for (auto _ : state) {
        state.PauseTiming();
        auto w = project.window();
        state.ResumeTiming();
        w->OEFFNEN(RecordId);
        state.PauseTiming();
        if (w->msgFLX[5]->Rows() != TableRows + 1)
            state.SkipWithError("open failed");
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 6 * TableRows);
}
BENCHMARK(BM_InputOpenRecord)->Unit(benchmark::kMillisecond);

} // namespace
