// Saving the working copy back to the project and compacting it, for a project
// database of 50 MB, beside a plain file copy of the same file; the program's save and
// start, with their checks of what others saved, beside the checked copy alone.
#include "app/Datensatz.h"
#include "app/WorkingCopy.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/DatabaseFiles.h"
#include "platform/DialogService.h"
#include "platform/ErrorGuard.h"
#include "setup/SchemaText.h"
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

// A project database of about 50 MB of records (outline points of many records) where a
// suite keeps it, and its working copy, made once.
struct LargeProject {
    QTemporaryDir dir;
    QString project = dir.filePath(QStringLiteral("PROJEKTE/TE0000.00/TREMOL.mdb"));
    QString workingCopy = dir.filePath(QStringLiteral("ARBEIT.mdb"));

    LargeProject()
    {
        QDir().mkpath(dir.filePath(QStringLiteral("PROJEKTE/TE0000.00")));
        QDir().mkpath(dir.filePath(QStringLiteral("TREMOL")));
        CreateDatabase(project, projectSchema);
        auto cnn = OpenDatabase(project);
        Transaction t(cnn);
        cnn->Execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1099999) "
            "INSERT INTO [E4] ([ID],[K],[I2],[X],[Z]) SELECT 1 + i / 1000, 1 + i % 2, i % 1000, i * 0.25, i * 0.125 FROM n"));
        cnn->Execute(QStringLiteral(
            "INSERT INTO [E1] ([ID],[KEN],[AKT]) SELECT DISTINCT [ID], 'Wand ' || [ID], 0 FROM [E4]"));
        t.Commit();
        cnn->Close();
        CopyDatabase(project, workingCopy);
    }
};

LargeProject& Project()
{
    static LargeProject project;
    return project;
}

void PlainFileCopy(benchmark::State& state)
{
    LargeProject& p = Project();
    const std::filesystem::path from = p.workingCopy.toStdString();
    const std::filesystem::path to = p.project.toStdString();
    for (auto _ : state)
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(from)));
}

// "&Speichern": the checked, synced copy that replaces the project database.
void SaveBack(benchmark::State& state)
{
    LargeProject& p = Project();
    for (auto _ : state)
        CopyDatabase(p.workingCopy, p.project, {DatensatzTabellen()});
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(p.workingCopy.toStdString())));
}

// "&Komprimieren" of the working copy, the connection staying open.
void Compaction(benchmark::State& state)
{
    LargeProject& p = Project();
    auto cnn = OpenDatabase(p.workingCopy);
    const QString temp = p.dir.filePath(QStringLiteral("ARBEITTEMP.mdb"));
    for (auto _ : state)
        CompactDatabase(*cnn, temp);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(p.workingCopy.toStdString())));
    cnn->Close();
}

// The program's working copy of that project, as the main window holds it; its boxes
// are answered "No" (the compaction offered above 10 MB).
struct ProgramOnProject {
    std::shared_ptr<ScriptedDialogService> dialogs = std::make_shared<ScriptedDialogService>();
    Context ctx;
    WorkingCopy workingCopy{ctx};

    explicit ProgramOnProject(LargeProject& p)
    {
        ctx.dialogs = dialogs;
        ctx.programFolder = p.dir.filePath(QStringLiteral("TREMOL"));
        ctx.PROJEKTSPFAD = p.dir.filePath(QStringLiteral("PROJEKTE"));
        ctx.PROJEKT = QStringLiteral("TE0000.00");
    }
    // The start-up's step; false when it failed.
    bool setUp() { return !workingCopy.SetUp(); }
    void end()
    {
        Guarded(ctx.dlg(), RoutineBox(QStringLiteral("TREMOL")), [&](Guard& g) { workingCopy.Close(g); });
        workingCopy.Unlock();
    }
};

// "&Speichern" of a changed working copy into a project nobody else saved meanwhile:
// the checked copy with the checks before and after it.
void SaveOfUntouchedProject(benchmark::State& state)
{
    LargeProject& p = Project();
    ProgramOnProject program(p);
    if (!program.setUp()) {
        state.SkipWithError("the working copy cannot be set up");
        return;
    }
    for (auto _ : state) {
        program.workingCopy.MarkChanged();
        program.dialogs->msgAnswers = {MsgResult::No};
        if (program.workingCopy.Save(QStringLiteral("&Speichern"), QStringLiteral("&Komprimieren"))
            != WorkingCopy::SaveResult::Saved) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    program.end();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(p.project.toStdString())));
}

// The start-up's working copy made afresh from the project, with the state of the
// project its marker keeps (the end that removes it again not timed).
void StartWithFreshWorkingCopy(benchmark::State& state)
{
    LargeProject& p = Project();
    for (auto _ : state) {
        ProgramOnProject program(p);
        const bool ok = program.setUp();
        state.PauseTiming();
        program.end();
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the working copy cannot be set up");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(p.project.toStdString())));
}

} // namespace

BENCHMARK(PlainFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveBack)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Compaction)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveOfUntouchedProject)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StartWithFreshWorkingCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
