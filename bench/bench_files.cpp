// Saving the working copy back to the project and compacting it, for a project
// database of 50 MB, beside a plain file copy of the same file.
#include "app/Datensatz.h"
#include "platform/Ado.h"
#include "platform/DatabaseFiles.h"
#include "setup/SchemaText.h"
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

// A project database of about 50 MB of records (outline points of many records),
// and its working copy, made once.
struct LargeProject {
    QTemporaryDir dir;
    QString project = dir.filePath(QStringLiteral("TREMOL.mdb"));
    QString workingCopy = dir.filePath(QStringLiteral("ARBEIT.mdb"));

    LargeProject()
    {
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

} // namespace

BENCHMARK(PlainFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveBack)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Compaction)->Unit(benchmark::kMillisecond)->UseRealTime();
