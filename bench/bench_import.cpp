// Importing measurement data files of 100,000 lines (the single-line layout: one line of
// 100,000 cycles) into a grid table on a shown window, with the whole clean-up: dates
// and times rebuilt, decimal signs repaired, a factor applied, and the refresh; once more
// into a table that also has an elapsed-time column, which the refresh computes. And the
// memory the whole import takes at the limits of what it reads.
#include "input/MeasurementFile.h"
#include "input/clsFLX.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/DatabaseFiles.h"
#include "platform/DialogService.h"
#include "platform/FlexGrid.h"
#include "setup/SchemaText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <functional>
#include <malloc.h>
#include <memory>

namespace {

constexpr int Lines = 100000;

struct ImportSetup {
    // With elapsed: a fifth column of elapsed seconds, each row's from the row before.
    explicit ImportSetup(bool elapsed = false)
    {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("VORGABE.mdb"));
        CreateDatabase(path, presetsSchema);
        ctx.cnnX_V = OpenDatabase(path);
        ctx.dialogs = std::make_shared<ScriptedDialogService>();
        // Date, time and two values per cycle; the second value in thousandths.
        layout("ZEILE", 4, ";", {}, {0, 1, 2, 3});
        layout("EINE", 4, ";", "|", {0, 1, 2, 3});
        layout("WERTE", 5, {}, {}, {2, 3, 4, -1});

        window.resize(420, 640);
        grid = new FlexGrid(&window);
        grid->setGeometry(10, 10, 400, 620);
        table = std::make_unique<clsFLX>(ctx);
        table->EFLX(grid);
        if (elapsed) {
            table->ELSB(Dynamic::Integers({20, 20, 15, 15, 15}));
            table->ELSTYP(Dynamic::Integers({4, 5, 0, 0, 6}));
            table->ELSELEK(Dynamic::Texts({"DATUM", "ZEIT", "A", "B", "T"}));
            table->ELFORMAT(Dynamic::Texts({"", "", "#0.00", "#0.000", "#0"}));
            table->EDET(-1);
        } else {
            table->ELSB(Dynamic::Integers({20, 20, 15, 15}));
            table->ELSTYP(Dynamic::Integers({4, 5, 0, 0}));
            table->ELSELEK(Dynamic::Texts({"DATUM", "ZEIT", "A", "B"}));
            table->ELFORMAT(Dynamic::Texts({"", "", "#0.00", "#0.000"}));
        }
        window.show();
    }
    // A layout whose values DATUM, ZEIT, A and B sit at the given positions (-1: none).
    void layout(const QString& key, int16_t ZL, const QString& TZS, const QString& TZZ, const std::vector<int>& at)
    {
        const int32_t IDK = ++idk;
        auto text = [](const QString& s) { return s.isEmpty() ? Variant::Null() : Variant(s); };
        ctx.cnnX_V->Execute(QStringLiteral("INSERT INTO TREMOL_VE1 (AKVK, IDK, ZL, DATUM, UHRZEIT, KENZ1NR, TZS, TZZ) "
                                           "VALUES (?,?,?,?,?,?,?,?)"),
                            {key, IDK, ZL, "TT.MM.JJJJ", "hh:mm:ss", TZZ.isEmpty() ? Variant::Null() : Variant("0"),
                             text(TZS), text(TZZ)});
        const char* const columns[] = {"DATUM", "ZEIT", "A", "B"};
        for (int16_t m = 0; m < 4; ++m)
            ctx.cnnX_V->Execute(QStringLiteral("INSERT INTO TREMOL_VE2 (IDK, MNR, SPALTE, POSITION, FAKTOR) "
                                               "VALUES (?,?,?,?,?)"),
                                {IDK, m, columns[m], at[size_t(m)] < 0 ? Variant::Null() : Variant(int16_t(at[size_t(m)])),
                                 m == 3 ? 0.001f : 1.0f});
    }
    QString file(const QByteArray& bytes)
    {
        return file([&](QFile& f) { f.write(bytes); });
    }
    // A file written piece by piece, so that its content is never held whole.
    QString file(const std::function<void(QFile&)>& write)
    {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("messung%1.txt").arg(++files));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        write(f);
        return path;
    }

    QTemporaryDir dir;
    Context ctx;
    QWidget window;
    FlexGrid* grid = nullptr;
    std::unique_ptr<clsFLX> table;
    int32_t idk = 0;
    int files = 0;
};

// The values of cycle i: date, time, a value with a leading decimal comma, a whole number.
QByteArrayList cycle(int i)
{
    return {"1" + QByteArray::number(i % 9) + ".03.2003", "10:" + QByteArray::number(10 + i % 50) + ":30",
            "," + QByteArray::number(i % 1000), QByteArray::number(i)};
}

void run(benchmark::State& state, const QString& key, const QByteArray& content, bool elapsed = false)
{
    ImportSetup setup(elapsed);
    const QString path = setup.file(content);
    for (auto _ : state) {
        state.PauseTiming();
        setup.grid->setRows(2);
        state.ResumeTiming();
        if (!setup.table->IMPORTIEREN(key, path))
            state.SkipWithError("import failed");
    }
    state.counters["rows"] = setup.grid->Rows() - 1;
}

void BM_ImportCyclePerLine(benchmark::State& state)
{
    QByteArray content;
    for (int i = 0; i < Lines; ++i)
        content += cycle(i).join(';') + ";;\r\n";
    run(state, QStringLiteral("ZEILE"), content);
}
BENCHMARK(BM_ImportCyclePerLine)->Unit(benchmark::kMillisecond);

void BM_ImportSingleLine(benchmark::State& state)
{
    QByteArray content = "|";
    for (int i = 0; i < Lines; ++i)
        content += cycle(i).join(';') + ";;|";
    run(state, QStringLiteral("EINE"), content + "\r\n");
}
BENCHMARK(BM_ImportSingleLine)->Unit(benchmark::kMillisecond);

// 20,000 cycles of five lines: count, cycle number, date, time, value.
QByteArray valuePerLine()
{
    QByteArray content;
    for (int i = 0; i < Lines / 5; ++i)
        content += "4\r\n" + QByteArray::number(i) + "\r\n" + cycle(i).mid(0, 3).join("\r\n") + "\r\n";
    return content;
}

void BM_ImportValuePerLine(benchmark::State& state)
{
    run(state, QStringLiteral("WERTE"), valuePerLine());
}
BENCHMARK(BM_ImportValuePerLine)->Unit(benchmark::kMillisecond);

void BM_ImportValuePerLineElapsed(benchmark::State& state)
{
    run(state, QStringLiteral("WERTE"), valuePerLine(), true);
}
BENCHMARK(BM_ImportValuePerLineElapsed)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- memory at the limits

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM").
int64_t statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Runs work once and reports the most memory the process held meanwhile above what it held
// before, in MB: the kernel's high-water mark of the resident memory, reset just before.
// Memory freed by earlier benchmarks goes back to the system first, so that the work
// cannot reuse it unseen.
void peakOf(benchmark::State& state, const std::function<void()>& work)
{
    for (auto _ : state) {
        malloc_trim(0);
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        const int64_t before = statusKiB("VmRSS");
        if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1 || before < 0) {
            state.SkipWithError("the high-water mark of the resident memory cannot be reset");
            return;
        }
        reset.close();
        work();
        state.counters["peak_MB"] = double(statusKiB("VmHWM") - before) * 1024 / 1e6;
    }
}

// One line of 256 MiB: 1,048,575 cycles of 256 bytes (a date, a time, a value of 225
// characters, a running number), as many as the table has rows.
QString singleLineAtTheLimit(ImportSetup& setup)
{
    return setup.file([](QFile& f) {
        f.write("|");
        QByteArray piece;
        for (int i = 0; i < FlexGrid::MaxRows - 1; ++i) {
            const QByteArray number = QByteArray::number(i).rightJustified(7, '0');
            piece += "12.03.2003;10:15:30;," + QByteArray(224, char('1' + i % 9)) + ';' + number + ";;|";
            if (piece.size() >= (1 << 20) || i == FlexGrid::MaxRows - 2) {
                f.write(piece);
                piece.clear();
            }
        }
        f.write("\r\n");
    });
}

// 4,194,304 lines of 63 characters, 256 MiB: cycles of five lines (count, cycle number, date,
// time, value), 838,861 of them, the last one cut short by the end of the file.
QString linesAtTheLimit(ImportSetup& setup)
{
    return setup.file([](QFile& f) {
        QByteArray piece;
        const auto line = [&](const QByteArray& text) { piece += text.leftJustified(63, ' ') + '\n'; };
        for (int64_t n = 0; n < MaxMeasurementLines; ++n) {
            const int64_t cycle = n / 5;
            switch (n % 5) {
            case 0: line("4"); break;
            case 1: line(QByteArray::number(cycle)); break;
            case 2: line("12.03.2003"); break;
            case 3: line("10:15:30"); break;
            default: line(QByteArray(63, char('1' + cycle % 9))); break;
            }
            if (piece.size() >= (1 << 20) || n == MaxMeasurementLines - 1) {
                f.write(piece);
                piece.clear();
            }
        }
    });
}

void importPeak(benchmark::State& state, const QString& key, const std::function<QString(ImportSetup&)>& write)
{
    ImportSetup setup;
    const QString path = write(setup);
    peakOf(state, [&] {
        if (!setup.table->IMPORTIEREN(key, path))
            state.SkipWithError("import failed");
    });
    state.counters["rows"] = setup.grid->Rows() - 1;
}

void readPeak(benchmark::State& state, const std::function<QString(ImportSetup&)>& write)
{
    ImportSetup setup;
    const QString path = write(setup);
    peakOf(state, [&] { benchmark::DoNotOptimize(ReadMeasurementFile(path, int64_t(FlexGrid::MaxRows) * 256)); });
}

void BM_ImportPeakSingleLine(benchmark::State& state)
{
    importPeak(state, QStringLiteral("EINE"), singleLineAtTheLimit);
}
BENCHMARK(BM_ImportPeakSingleLine)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReadPeakSingleLine(benchmark::State& state)
{
    readPeak(state, singleLineAtTheLimit);
}
BENCHMARK(BM_ReadPeakSingleLine)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ImportPeakLines(benchmark::State& state)
{
    importPeak(state, QStringLiteral("WERTE"), linesAtTheLimit);
}
BENCHMARK(BM_ImportPeakLines)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReadPeakLines(benchmark::State& state)
{
    readPeak(state, linesAtTheLimit);
}
BENCHMARK(BM_ReadPeakLines)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
