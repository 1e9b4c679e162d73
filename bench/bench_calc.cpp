// The water-pressure calculation (BERECHNUNG) on the example records as the set-up
// tool writes them, and on large records: 1,000 outline points and 50 layers per side,
// and thousands of both. Each iteration is a whole recalculation: checks, computation,
// old results deleted and the new ones written in one transaction. Apart from that, the
// geometry of the large records alone (polygons, seepage path, pressures).
#include "LargeRecord.h"
#include "calc/PressurePolygon.h"
#include "calc/SeepagePath.h"
#include "calc/clsBERECHNEN.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/DialogService.h"
#include "setup/SuiteSetup.h"
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int32_t LargeId = 100;

// A project database from the program's schema with the example records and the
// large record, in a temporary folder.
class CalcProject {
public:
    explicit CalcProject(int32_t layers = 50, int32_t points = 1000)
    {
        const QString path = dir_.filePath(QStringLiteral("TREMOL.mdb"));
        MakeTemplateDatabase(path);
        ctx_.cnnX = OpenDatabase(path);
        ctx_.dialogs = std::make_shared<ScriptedDialogService>();
        Transaction fill(ctx_.cnnX);
        WriteExampleRecords(*ctx_.cnnX);
        WriteLargeRecord(*ctx_.cnnX, LargeId, layers, points);
        fill.Commit();
    }

    // Makes the record the one active record, with the A1 row the recalculate command
    // creates, as the command leaves it before the calculation.
    void activate(int32_t id)
    {
        ctx_.cnnX->Execute(QStringLiteral("UPDATE E1 SET AKT = (ID = ?)"), {Variant(id)});
        ctx_.cnnX->Execute(QStringLiteral("DELETE FROM A1 WHERE ID = ?"), {Variant(id)});
        ctx_.cnnX->Execute(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (?, 1)"), {Variant(id)});
    }

    // One recalculation; false when it was refused or failed.
    bool calculate()
    {
        clsBERECHNEN calc(ctx_);
        return calc.BERECHNUNG();
    }

    int64_t sectionRows() { return SectionRows(ctx_.cnnX); }

private:
    QTemporaryDir dir_;
    Context ctx_;
};

void Recalculate(benchmark::State& state, int32_t id, CalcProject& project)
{
    project.activate(id);
    // Every timed run replaces the results of the run before, as a recalculation does.
    if (!project.calculate()) {
        state.SkipWithError("BERECHNUNG refused or failed the record");
        return;
    }
    for (auto _ : state) {
        if (!project.calculate()) {
            state.SkipWithError("BERECHNUNG refused or failed the record");
            return;
        }
    }
    state.counters["rows"] = double(project.sectionRows());
}

void BM_BERECHNUNG_Example(benchmark::State& state)
{
    CalcProject project;
    Recalculate(state, int32_t(state.range(0)), project);
}
BENCHMARK(BM_BERECHNUNG_Example)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_BERECHNUNG_Large(benchmark::State& state)
{
    CalcProject project;
    Recalculate(state, LargeId, project);
}
BENCHMARK(BM_BERECHNUNG_Large)->Unit(benchmark::kMillisecond);

// Arguments: layers and outline points per side.
void BM_BERECHNUNG_LargeRecord(benchmark::State& state)
{
    CalcProject project(int32_t(state.range(0)), int32_t(state.range(1)));
    Recalculate(state, LargeId, project);
}
BENCHMARK(BM_BERECHNUNG_LargeRecord)->Args({3001, 3001})->Args({6001, 6001})->Unit(benchmark::kMillisecond);

// Arguments: layers and outline points per side.
void BM_PolygonsAndSeepagePath(benchmark::State& state)
{
    const CalcInput in = LargeRecordInput(int32_t(state.range(0)), int32_t(state.range(1)));
    for (auto _ : state) {
        PressurePolygons poly = BuildPolygons(in);
        ComputePressures(poly, ComputeSeepagePath(in), in.ZGWLS);
        benchmark::DoNotOptimize(poly.PR.data());
    }
}
BENCHMARK(BM_PolygonsAndSeepagePath)->Args({3001, 3001})->Args({6001, 6001})->Unit(benchmark::kMillisecond);

} // namespace
