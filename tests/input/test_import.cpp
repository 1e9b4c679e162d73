// The measurement data import: the three file layouts over the sample files, start rows,
// the messages of damaged files, the failures, the clean-up of the received texts, and
// the file reader's lines and code page.
#include "InputFixture.h"
#include "input/MeasurementFile.h"
#include "input/MeasurementImport.h"
#include "platform/Yield.h"
#include "support/TestSuite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

QString sample(const char* name)
{
    return QStringLiteral(TREMOL_INPUT_DATA "/") + QLatin1String(name);
}

// A value row of the presets.
struct Value {
    QString SPALTE;
    std::optional<int> POSITION;
    std::optional<float> FAKTOR = 1.0f;   // none: left empty in the table
    QString PRAEFIX = {};
    QString SUFFIX = {};
};

// A layout row of the presets and its value rows.
struct Layout {
    int16_t ZL = 0;
    QString TZS = {}, TZZ = {}, KENZ1NR = {}, KENZ1KZ = {}, DATUM = {}, UHRZEIT = {};
    std::vector<Value> values = {};
};

Variant textOrNull(const QString& s)
{
    return s.isEmpty() ? Variant::Null() : Variant(s);
}

class ImportTest : public GridTableTest {
protected:
    ImportTest()
    {
        ctx.cnnX = project.ctx().cnnX;
        ctx.cnnX_V = project.ctx().cnnX_V;
    }

    // Columns: running number, date, time, A, B (keys "", "DATUM", "ZEIT", "A", "B"),
    // one numbered data row holding "alt" in A and nothing else.
    void bindImportTable(std::initializer_list<int> types = {1, 4, 5, 0, 0})
    {
        flx->EFLX(grid);
        flx->ELSB(Dynamic::Integers({10, 20, 20, 15, 15}));
        flx->ELSTYP(Dynamic::Integers(types));
        flx->ELSELEK(Dynamic::Texts({"", "DATUM", "ZEIT", "A", "B"}));
        for (int c = 0; c < grid->Cols(); ++c)
            grid->setTextMatrix(1, c, QString());
        flx->NUMMERIEREN();
        grid->setTextMatrix(1, 3, QStringLiteral("alt"));
    }

    // Stores a layout in the presets under a key.
    void store(const QString& AKVK, const Layout& l)
    {
        const int32_t IDK = ++lastIDK_;
        ctx.cnnX_V->Execute(QStringLiteral("INSERT INTO TREMOL_VE1 (AKVK, IDK, ZL, DATUM, UHRZEIT, KENZ1NR, KENZ1KZ, "
                                           "TZS, TZZ) VALUES (?,?,?,?,?,?,?,?,?)"),
                            {AKVK, IDK, l.ZL, textOrNull(l.DATUM), textOrNull(l.UHRZEIT), textOrNull(l.KENZ1NR),
                             textOrNull(l.KENZ1KZ), textOrNull(l.TZS), textOrNull(l.TZZ)});
        for (size_t m = 0; m < l.values.size(); ++m) {
            const Value& v = l.values[m];
            ctx.cnnX_V->Execute(QStringLiteral("INSERT INTO TREMOL_VE2 (IDK, MNR, SPALTE, POSITION, PRAEFIX, SUFFIX, "
                                               "FAKTOR, FORMAT) VALUES (?,?,?,?,?,?,?,?)"),
                                {IDK, int16_t(m), textOrNull(v.SPALTE),
                                 v.POSITION ? Variant(int16_t(*v.POSITION)) : Variant::Null(), textOrNull(v.PRAEFIX),
                                 textOrNull(v.SUFFIX), v.FAKTOR ? Variant(*v.FAKTOR) : Variant::Null(), Variant::Null()});
        }
    }

    // A measurement file with these bytes in the test's folder.
    QString file(const QByteArray& bytes)
    {
        const QString path = QDir(project.folder()).filePath(QStringLiteral("messung%1.txt").arg(++files_));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // The data rows, each as its cells.
    std::vector<QStringList> rows() const
    {
        std::vector<QStringList> all;
        for (int r = grid->FixedRows(); r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->Cols(); ++c)
                cells << grid->TextMatrix(r, c);
            all.push_back(cells);
        }
        return all;
    }
    QStringList texts() const
    {
        QStringList t;
        for (const MsgBoxRequest& b : boxes())
            t << b.text;
        return t;
    }

    TempProject project;

private:
    int32_t lastIDK_ = 0;
    int files_ = 0;
};

// ---------------------------------------------------------------- layouts

struct LayoutCase {
    const char* name;
    const char* file;
    Layout layout;
    std::vector<QStringList> expected;
};

TEST_F(ImportTest, EachLayoutFillsOneRowPerCycleFromRowOne)
{
    const Value notImported{QStringLiteral("A"), std::nullopt};
    const LayoutCase cases[] = {
        {"cycle per line, semicolons, CR LF, header counted", "zeilen_semikolon.txt",
         {4, ";", {}, "1", {}, {}, {}, {{"DATUM", 0}, {"ZEIT", 1}, {"A", 2}, {"B", 3}}},
         {{"0", "12.03.2003", "10:15:30", "1,5", "20"},
          {"1", "12.03.2003", "10:15:40", "1,6", "21"},
          {"2", "13.03.2003", "08:00:00", "1,7", "22"}}},
        // The unmatched key sends position 0 to column 0, which the refresh renumbers.
        {"cycle per line, tabs, LF, header marker", "zeilen_tab.txt",
         {3, "<TAB>", {}, {}, "DATEN", {}, {}, {{"Nr", 0}, {"A", 1}, {"B", 2}}},
         {{"0", "", "", "2,5", "0,75"}, {"1", "", "", "2,6", "0,85"}}},
        {"cycle per line, blanks, CR", "zeilen_blank.txt",
         {2, "<BLANK>", {}, {}, {}, {}, {}, {{"A", 0}, {"B", 1}}},
         {{"0", "", "", "3,5", "-1,25"}, {"1", "", "", "3,6", "-1,5"}}},
        // Only the first line counts, and its last cycle lacks the separator after it.
        {"single line, header counted", "eine_zeile.txt",
         {3, ";", "|", "1", {}, {}, {}, {{"A", 0}, notImported, {"B", 2}}},
         {{"0", "", "", "1", "3"}, {"1", "", "", "4", "6"}}},
        {"single line, header marker", "eine_zeile_marke.txt",
         {3, "/", "#", {}, "START", {}, {}, {{"A", 0}, {"B", 2}}},
         {{"0", "", "", "1,5", "3,5"}, {"1", "", "", "1,6", "3,6"}}},
        {"value per line", "werte.txt",
         {4, {}, {}, {}, {}, {}, {}, {{"DATUM", 2}, {"A", 3}}},
         {{"0", "12.03.2003", "", "1,5", ""}, {"1", "12.03.2003", "", "1,6", ""}, {"2", "13.03.2003", "", "1,7", ""}}},
        {"value per line, header counted", "werte_kopf.txt",
         {3, {}, {}, "1", {}, {}, {}, {{"A", 2}}},
         {{"0", "", "", "1,5", ""}, {"1", "", "", "1,6", ""}}},
        // The marker stands in the first cycle's count line: the line after it is read
        // as the cycle number.
        {"value per line, header marker", "werte_marke.txt",
         {3, {}, {}, {}, "BEGINN", {}, {}, {{"A", 2}, {"B", 1}}},
         {{"0", "", "", "1,5", "1"}, {"1", "", "", "1,6", "2"}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->shown.clear();
        bindImportTable();
        store(c.name, c.layout);
        EXPECT_TRUE(flx->IMPORTIEREN(c.name, sample(c.file)));
        EXPECT_EQ(rows(), c.expected);
        EXPECT_TRUE(boxes().empty());
        EXPECT_EQ(MousePointer(), 0);
    }
}

TEST_F(ImportTest, LongerTablesGrowByLayout)
{
    struct Case {
        const char* name;
        const char* file;
        Layout layout;
        QStringList column;   // A after the import
    };
    const Case cases[] = {
        {"cycle per line appends", "zeilen_blank.txt", {2, "<BLANK>", {}, {}, {}, {}, {}, {{"A", 0}}},
         {"alt1", "alt2", "alt3", "3,5", "3,6"}},
        {"single line appends", "eine_zeile.txt", {3, ";", "|", "1", {}, {}, {}, {{"A", 0}}},
         {"alt1", "alt2", "alt3", "1", "4"}},
        {"value per line overwrites the last row first", "werte_kopf.txt", {3, {}, {}, "1", {}, {}, {}, {{"A", 2}}},
         {"alt1", "alt2", "1,5", "1,6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bindImportTable();
        grid->setRows(4);
        for (int r = 1; r <= 3; ++r)
            grid->setTextMatrix(r, 3, QStringLiteral("alt%1").arg(r));
        store(c.name, c.layout);
        EXPECT_TRUE(flx->IMPORTIEREN(c.name, sample(c.file)));
        EXPECT_EQ(Column(*grid, 3), c.column);
        EXPECT_EQ(Column(*grid, 0).last(), QString::number(c.column.size() - 1));   // renumbered
    }
}

TEST_F(ImportTest, AResynchronisedCycleNeverTakesARowAboveTheFirstImported)
{
    bindImportTable();
    grid->setRows(4);
    for (int r = 1; r <= 3; ++r)
        grid->setTextMatrix(r, 3, QStringLiteral("alt%1").arg(r));
    store(QStringLiteral("WERTE"), {3, {}, {}, {}, {}, {}, {}, {{"A", 2}}});
    answer(MsgResult::OK);
    // The first count line is wrong; the cycle found after it goes into the first row the
    // import took (the last one), while the row above keeps the table's own text.
    EXPECT_TRUE(flx->IMPORTIEREN(QStringLiteral("WERTE"), file("7\n2\n1\n-,5\n")));
    EXPECT_EQ(texts(), QStringList{"Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!"});
    EXPECT_EQ(Column(*grid, 3), (QStringList{"alt1", "alt2", "-0,5"}));
}

TEST_F(ImportTest, ValuesAreCutAtTheSeparatorsAndTheLastLosesTwoCharacters)
{
    struct Case {
        const char* name;
        int16_t ZL;
        QByteArray line;
        std::optional<QStringList> cells;   // columns 0 to 4 of row 1; none: the import fails
    };
    const Case cases[] = {
        {"three values", 3, "a;b;cde", QStringList{"a", "", "", "b", "c"}},
        {"one value is also the last", 1, "abcd", QStringList{"ab", "", "", "alt", ""}},
        {"blanks around a value are trimmed", 3, " a ; b ;c  xx", QStringList{"a", "", "", "b", "c"}},
        {"a last value of one character fails", 3, "a;b;c", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bindImportTable({0, 0, 0, 0, 0});
        // The first key matches no column: its value goes into column 0.
        store(c.name, {c.ZL, ";", {}, {}, {}, {}, {}, {{"keine", 0}, {"A", 1}, {"B", 2}}});
        const bool ok = flx->IMPORTIEREN(c.name, file(c.line + "\r\n"));
        EXPECT_EQ(ok, c.cells.has_value());
        if (c.cells)
            EXPECT_EQ(rows().front(), *c.cells);
        else   // the values before the failure stay as written
            EXPECT_EQ(rows().front(), (QStringList{"a", "", "", "b", ""}));
        EXPECT_TRUE(boxes().empty());
    }
}

// ---------------------------------------------------------------- damaged files

TEST_F(ImportTest, DamagedCyclesAreReportedAndOKReadsOn)
{
    struct Case {
        const char* name;
        Layout layout;
        QByteArray content;
        std::vector<MsgResult> answers;
        bool result;
        QStringList messages;
        QStringList column;   // A afterwards
    };
    const QString msg1 = QStringLiteral("Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!");
    const Layout perLine3{3, {}, {}, {}, {}, {}, {}, {{"A", 2}}};
    const Layout perLine4{4, {}, {}, {}, {}, {}, {}, {{"A", 3}}};
    const Layout cycles{3, ";", {}, {}, {}, {}, {}, {{"A", 0}, {"B", 2}}};
    const Layout single{3, ";", "|", "1", {}, {}, {}, {{"A", 0}, {"B", 2}}};
    const Case cases[] = {
        {"first count line wrong, Cancel", perLine3, "7\n2\n0\n-,5\n", {MsgResult::Cancel}, false, {msg1}, {"alt"}},
        // OK: the next count line starts the cycle over, in the same row.
        {"first count line wrong, OK", perLine3, "7\nx\n2\n1\n-,5\n", {MsgResult::OK}, true, {msg1}, {"-0,5"}},
        // Cycle 1 lacks a line: its row is taken by the next cycle found whole (3).
        {"later count line wrong, OK", perLine4, "3\n0\na\n1,1\n3\n1\n1,2\n3\n2\nc\n1,3\n3\n3\nd\n1,4\n",
         {MsgResult::OK}, true, {"ZyklusNr. 1 der Elektronikdatei ist beschädigt!"}, {"1,1", "1,4"}},
        // Cancel leaves the rows read so far raw and unrefreshed.
        {"later count line wrong, Cancel", perLine3, "2\n0\n-,5\nx\n", {MsgResult::Cancel}, false,
         {"ZyklusNr. 0 der Elektronikdatei ist beschädigt!"}, {"-,5"}},
        {"a cycle missing, OK", perLine3, "2\n0\n1,1\n2\n2\n1,3\n", {MsgResult::OK}, true,
         {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 0 !"}, {"1,1", "1,3"}},
        // The count is not held to 16 bits: long recordings number their cycles beyond.
        {"a cycle number beyond 16 bits", perLine3, "2\n0\n1,1\n2\n40000\n1,2\n", {MsgResult::OK}, true,
         {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 0 !"}, {"1,1", "1,2"}},
        {"a cycle missing, Cancel", perLine3, "2\n0\n1,1\n2\n2\n1,3\n", {MsgResult::Cancel}, false,
         {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 0 !"}, {"1,1"}},
        // One line per cycle: after the resynchronisation the cycle number stands at
        // position 1, beyond the cycle, and is passed over.
        {"one line per cycle, count line wrong, OK", {1, {}, {}, {}, {}, {}, {}, {{"A", 0}}}, "5\n0\n7\n0\n",
         {MsgResult::OK}, true, {msg1}, {"alt", "0"}},
        // A repeated or backward cycle number is reported like a gap; OK reads on from
        // it, and the rows are cleaned up and renumbered ("-,5" becomes "-0,5").
        {"a repeated cycle number, OK", perLine3, "2\n0\n1,1\n2\n1\n1,2\n2\n1\n-,5\n2\n2\n1,4\n",
         {MsgResult::OK}, true, {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 1 !"}, {"1,1", "1,2", "-0,5", "1,4"}},
        {"a backward cycle number, OK", perLine3, "2\n0\n1,1\n2\n1\n1,2\n2\n0\n-,5\n2\n1\n1,4\n",
         {MsgResult::OK}, true, {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 1 !"}, {"1,1", "1,2", "-0,5", "1,4"}},
        {"a backward cycle number, Cancel", perLine3, "2\n0\n1,1\n2\n1\n-,5\n2\n0\n1,3\n", {MsgResult::Cancel},
         false, {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 1 !"}, {"1,1", "-,5"}},
        // A cycle number that is no number: the count goes on as if it were right.
        {"cycle number no number, OK", perLine3, "2\n0\n1,1\n2\nx\n1,2\n2\n2\n1,3\n", {MsgResult::OK}, true,
         {"Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 0 !"}, {"1,1", "1,2", "1,3"}},
        {"cycle per line, damaged line, OK", cycles, "1;2;3;;\n4 5 6xx\n7;8;9;;\n", {MsgResult::OK}, true,
         {"ZyklusNr. 1 ist beschädigt!"}, {"1", "7"}},
        {"cycle per line, damaged line, Cancel", cycles, "1;2;3;;\n4 5 6xx\n7;8;9;;\n", {MsgResult::Cancel}, false,
         {"ZyklusNr. 1 ist beschädigt!"}, {"1"}},
        // The count starts at the header's cycles.
        {"single line, damaged cycle, OK", single, "KOPF|1;2;3;;|45|7;8;9;;|", {MsgResult::OK}, true,
         {"ZyklusNr. 2 ist beschädigt!"}, {"1", "7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->shown.clear();
        dialogs->msgAnswers.assign(c.answers.begin(), c.answers.end());
        // The hourglass stays while a message is open.
        dialogs->onShow = [](const ScriptedDialogService::Shown&) { EXPECT_EQ(MousePointer(), 11); };
        bindImportTable();
        store(c.name, c.layout);
        EXPECT_EQ(flx->IMPORTIEREN(c.name, file(c.content)), c.result);
        EXPECT_EQ(texts(), c.messages);
        for (const MsgBoxRequest& b : boxes()) {
            EXPECT_EQ(b.title, "MSFlexGrid / Importieren");
            EXPECT_EQ(b.buttons, MsgButtons::OKCancel);
            EXPECT_EQ(b.icon, MsgIcon::Exclamation);
        }
        EXPECT_EQ(Column(*grid, 3), c.column);
        EXPECT_EQ(MousePointer(), 0);
    }
}

TEST_F(ImportTest, FailuresEndTheImportWithFalse)
{
    bindImportTable();
    store(QStringLiteral("ZEILE"), {2, ";", {}, {}, {}, {}, {}, {{"A", 0}}});
    store(QStringLiteral("KOPF"), {2, ";", {}, "x", {}, {}, {}, {{"A", 0}}});
    store(QStringLiteral("EINE"), {2, ";", "|", {}, {}, {}, {}, {{"A", 0}}});
    const QString good = file("1,5;;;\n");
    const std::vector<QStringList> before = rows();
    struct Case {
        const char* name;
        QString AKVK, path;
        QString box;   // the error box, if any
    };
    const Case cases[] = {
        {"unknown layout", "UNBEKANNT", good, {}},
        {"header count no whole number", "KOPF", good, {}},
        {"single line without header preset", "EINE", good, {}},
        {"missing file", "ZEILE", QDir(project.folder()).filePath("fehlt.txt"), "VB-Error: 53\nDatei nicht gefunden"},
        {"missing folder", "ZEILE", QDir(project.folder()).filePath("fehlt/fehlt.txt"),
         "VB-Error: 76\nPfad nicht gefunden"},
        {"a folder", "ZEILE", project.folder(), "VB-Error: 75\nFehler beim Zugriff auf Pfad/Datei"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->shown.clear();
        if (!c.box.isEmpty())
            answer(MsgResult::OK);
        EXPECT_FALSE(flx->IMPORTIEREN(c.AKVK, c.path));
        EXPECT_EQ(rows(), before);
        EXPECT_EQ(MousePointer(), 0);
        if (c.box.isEmpty()) {
            EXPECT_TRUE(boxes().empty());
        } else {
            ASSERT_EQ(boxes().size(), 1u);
            EXPECT_EQ(boxes()[0].text, c.box);
            EXPECT_EQ(boxes()[0].title, "MSFlexGrid / Importieren");
        }
    }

    // A value table that cannot be read: the view's box, then False.
    dialogs->shown.clear();
    ctx.cnnX_V->Execute(QStringLiteral("ALTER TABLE TREMOL_VE2 DROP COLUMN FAKTOR"));
    answer(MsgResult::OK);
    EXPECT_FALSE(flx->IMPORTIEREN(QStringLiteral("ZEILE"), good));
    EXPECT_EQ(rows(), before);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Datenfehler");

    // An empty table takes no import.
    flx->ZEILEENTFERNEN();
    EXPECT_FALSE(flx->IMPORTIEREN(QStringLiteral("ZEILE"), good));
    EXPECT_EQ(grid->TextMatrix(1, 3), QString());
}

// Should a reader wait on a named pipe after all, a writer that comes and goes after a
// while ends the wait, so that the test fails rather than hangs.
class PipeWatchdog {
public:
    explicit PipeWatchdog(const QString& pipe)
        : thread_([this, name = QFile::encodeName(pipe)] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (ended_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; }))
                  return;
              const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0)
                  ::close(fd);
          })
    {
    }
    ~PipeWatchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            done_ = true;
        }
        ended_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};

TEST_F(ImportTest, OnlyARegularFileATableCanHoldIsRead)
{
    bindImportTable();
    store(QStringLiteral("ZEILE"), {2, ";", {}, {}, {}, {}, {}, {{"A", 0}}});
    const std::vector<QStringList> before = rows();
    const QString pipe = QDir(project.folder()).filePath(QStringLiteral("messung.fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const PipeWatchdog watchdog(pipe);
    // One byte beyond the largest file an import reads, without taking room on the disk.
    const QString large = QDir(project.folder()).filePath(QStringLiteral("gross.txt"));
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(int64_t(FlexGrid::MaxRows) * 256 + 1));
    }
    // One line beyond the most an import reads: small as a file, but its lines would
    // need 24 bytes of memory for each of its bytes.
    static_assert(MaxMeasurementLines == 4 * int64_t(FlexGrid::MaxRows));
    const QString manyLines = QDir(project.folder()).filePath(QStringLiteral("zeilen.txt"));
    {
        QFile f(manyLines);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.write(QByteArray(qsizetype(MaxMeasurementLines) + 1, '\n')) == MaxMeasurementLines + 1);
    }
    const QString notAFile = QStringLiteral("VB-Error: 75\nFehler beim Zugriff auf Pfad/Datei");
    struct Case {
        const char* name;
        QString path, box;
    };
    const Case cases[] = {
        {"a named pipe without a writer", pipe, notAFile},
        {"a device without end", QStringLiteral("/dev/zero"), notAFile},
        {"larger than a table holds", large,
         QStringLiteral("VB-Error: 7\nDie Datei ist zu groß: 268435457 Bytes; eine Tabelle nimmt nur den Inhalt einer "
                        "Datei von höchstens 268435456 Bytes auf.")},
        {"more lines than a table holds", manyLines,
         QStringLiteral("VB-Error: 7\nDie Datei hat zu viele Zeilen; eine Tabelle nimmt nur den Inhalt einer "
                        "Datei von höchstens 4194304 Zeilen auf.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->shown.clear();
        answer(MsgResult::OK);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(flx->IMPORTIEREN(QStringLiteral("ZEILE"), c.path));
        EXPECT_LT(clock.elapsed(), 10000);   // refused at once, not after the watchdog
        EXPECT_EQ(rows(), before);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, c.box);
        EXPECT_EQ(boxes()[0].title, "MSFlexGrid / Importieren");
        EXPECT_EQ(MousePointer(), 0);
    }
}

// A file of more cycles than the table has rows left is refused with the file's box
// when the table is full, and the table is put back as it was: its rows, and the last
// one, which the import overwrites first, with the value it was loaded with.
TEST_F(ImportTest, FileOfMoreCyclesThanTheTableTakesLeavesItAsItWas)
{
    bindImportTable();
    store(QStringLiteral("ZEILE"), {2, ";", {}, {}, {}, {}, {}, {{"A", 0}}});
    store(QStringLiteral("EINE"), {2, ";", "|", "0", {}, {}, {}, {{"A", 0}}});
    store(QStringLiteral("WERTE"), {3, {}, {}, {}, {}, {}, {}, {{"A", 2}}});
    // Room for two more rows; the value-per-line layout overwrites the last one first.
    const int rows = FlexGrid::MaxRows - 2;
    grid->setRows(rows);
    grid->setTextMatrix(rows - 1, 3, QStringLiteral("1,50"));
    grid->setLoadedValue(rows - 1, 3, Variant(1.5f));
    grid->setTextMatrix(rows - 1, 4, QStringLiteral("alt"));
    std::vector<QString> before;
    for (int c = 0; c < grid->Cols(); ++c)
        before.push_back(grid->TextMatrix(rows - 1, c));
    struct Case {
        const char* AKVK;
        QByteArray content;   // four cycles
    };
    const Case cases[] = {
        {"ZEILE", "1;;;\n2;;;\n3;;;\n4;;;\n"},
        {"EINE", "|1;;;|2;;;|3;;;|4;;;|\n"},
        {"WERTE", "2\n0\n1##\n2\n1\n2##\n2\n2\n3##\n2\n3\n4##\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.AKVK);
        dialogs->shown.clear();
        answer(MsgResult::OK);
        EXPECT_FALSE(flx->IMPORTIEREN(QLatin1String(c.AKVK), file(c.content)));
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, QStringLiteral("VB-Error: 7\nDie Datei hat mehr Zyklen, als die Tabelle noch Zeilen "
                                                  "aufnimmt; eine Tabelle hat höchstens 1048576 Zeilen."));
        EXPECT_EQ(boxes()[0].title, "MSFlexGrid / Importieren");
        EXPECT_EQ(boxes()[0].buttons, MsgButtons::OK);
        ASSERT_EQ(grid->Rows(), rows);
        for (int col = 0; col < grid->Cols(); ++col)
            EXPECT_EQ(grid->TextMatrix(rows - 1, col), before[size_t(col)]) << col;
        EXPECT_EQ(grid->LoadedValue(rows - 1, 3), std::optional<Variant>(Variant(1.5f)));
        EXPECT_EQ(MousePointer(), 0);
    }
}

// A logger at one value a minute writes more cycles in a month than 16 bits count: every
// row the table takes is numbered. A refresh that fails takes the import back.
TEST_F(ImportTest, EveryImportedRowIsNumberedAndAFailedRefreshLeavesTheTableAsItWas)
{
    bindImportTable();
    store(QStringLiteral("ZEILE"), {2, ";", {}, {}, {}, {}, {}, {{"A", 0}}});
    const int cycles = 40000;
    QByteArray content;
    for (int i = 0; i < cycles; ++i)
        content += QByteArray::number(i % 100) + ";;;\n";
    const std::vector<QStringList> before = rows();
    EXPECT_TRUE(flx->IMPORTIEREN(QStringLiteral("ZEILE"), file(content)));
    EXPECT_TRUE(boxes().empty());
    ASSERT_EQ(grid->Rows(), 1 + cycles);
    for (const int row : {32767, 32768, 32769, cycles})
        EXPECT_EQ(grid->TextMatrix(row, 0), QString::number(row - 1)) << row;
    EXPECT_EQ(grid->TextMatrix(cycles, 3), QStringLiteral("99"));

    // A format list shorter than the columns fails the refresh: Cancel in its box.
    bindImportTable();
    flx->ELFORMAT(Dynamic::Texts({"#0"}));
    answer(MsgResult::Cancel);
    EXPECT_FALSE(flx->IMPORTIEREN(QStringLiteral("ZEILE"), file("1;;;\n2;;;\n")));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / Aktulisieren"));
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(ImportTest, LayoutKeyWithQuotesIsFoundAsIs)
{
    bindImportTable();
    const QString key = QStringLiteral("O'Neil'; DROP TABLE TREMOL_VE2; --");
    store(key, {2, ";", {}, {}, {}, {}, {}, {{"A", 0}}});
    EXPECT_TRUE(flx->IMPORTIEREN(key, file("1,5;;;\n")));
    EXPECT_EQ(Column(*grid, 3), QStringList{"1,5"});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ImportTest, ReadingNothingLeavesTheTableAsItWas)
{
    bindImportTable();
    store(QStringLiteral("FAKTOR"), {2, ";", {}, {}, "fehlt", {}, {}, {{"A", 0, 0.5f}}});
    grid->setTextMatrix(1, 3, QStringLiteral("8"));
    // The header marker never comes: the table's own row keeps its value.
    EXPECT_TRUE(flx->IMPORTIEREN(QStringLiteral("FAKTOR"), file("1;;;\n2;;;\n")));
    EXPECT_EQ(Column(*grid, 3), QStringList{"8"});
}

// A cycle-per-line file of one value per line, each followed by two characters.
QByteArray cellsFile(const QStringList& cells)
{
    QByteArray bytes;
    for (const QString& c : cells)
        bytes += c.toLatin1() + "##\r\n";
    return bytes;
}

// ---------------------------------------------------------------- post-processing

TEST_F(ImportTest, ReceivedTextsAreCleanedUp)
{
    struct Case {
        const char* name;
        QLocale locale;
        const char* key;   // the receiving column
        Value value;
        QString DATUM, UHRZEIT;
        QStringList cells, expected;
        QString message = {};
    };
    const QString datumMsg = QStringLiteral(
        "Es wurde für diese Konfiguration ein ungültiges Datumsformat im Menü Elektronikvorgaben eingegeben!");
    const QString zeitMsg = QStringLiteral(
        "Es wurde für diese Konfiguration ein ungültiges Zeitformat im Menü Elektronikvorgaben eingegeben!");
    const Case cases[] = {
        {"prefix and suffix cut by length", German(), "A", {"A", 0, 1.0f, "ab", "mm"}, {}, {},
         {"ab", "abc", "xy12mm", "mm"}, {"ab", "c", "12", "mm"}},
        // An empty date cell becomes the two points, then a leading point gets its zero.
        {"date, four-digit year", English(), "DATUM", {"DATUM", 0}, "TT.MM.JJJJ", {}, {"12.03.2003", ""},
         {"12.03.03", "0.."}},
        {"date, two-digit year first", German(), "DATUM", {"DATUM", 0}, "JJMMTT", {}, {"030312"}, {"12.03.03"}},
        {"date pattern without a day", German(), "DATUM", {"DATUM", 0}, "MM.JJJJ", {}, {"12.03.2003"},
         {"12.03.2003"}, datumMsg},
        {"time already in form", German(), "ZEIT", {"ZEIT", 0}, {}, "hh:mm:ss", {"10:15:30"}, {"10:15:30"}},
        {"time without separators", German(), "ZEIT", {"ZEIT", 0}, {}, "hhmmss", {"101530", ""}, {"10:15:30", "::"}},
        {"time pattern without seconds", German(), "ZEIT", {"ZEIT", 0}, {}, "hh:mm", {"101530"}, {"101530"}, zeitMsg},
        {"decimal signs, comma locale", German(), "A", {"A", 0}, {}, {}, {"-.5", ",25", "1.5", "1,5", "a.b"},
         {"-0,5", "0,25", "1,5", "1,5", "a.b"}},
        {"decimal signs, point locale", English(), "A", {"A", 0}, {}, {}, {"-,5", ".25", "1,5", "1.5"},
         {"-0.5", "0.25", "1.5", "1.5"}},
        {"a date column keeps its decimal sign", German(), "DATUM", {"DATUM", 0}, {}, {}, {"1.5"}, {"1.5"}},
        {"factor, comma locale", German(), "A", {"A", 0, 0.001f}, {}, {}, {"1234", "1.5"}, {"1,234", "0,002"}},
        {"factor, point locale", English(), "A", {"A", 0, 0.001f}, {}, {}, {"1234"}, {"1.234"}},
        // An empty factor reads as 0; what is no number stays as it is.
        {"empty factor", German(), "A", {"A", 0, std::nullopt}, {}, {}, {"1234", "", "abc"}, {"0", "", "abc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LocaleScope locale(c.locale);
        dialogs->shown.clear();
        if (!c.message.isEmpty())
            answer(MsgResult::OK);
        bindImportTable();
        store(c.name, {1, ";", {}, {}, {}, c.DATUM, c.UHRZEIT, {c.value}});
        EXPECT_TRUE(flx->IMPORTIEREN(c.name, file(cellsFile(c.cells))));
        const int col = c.key == QLatin1String("A") ? 3 : c.key == QLatin1String("ZEIT") ? 2 : 1;
        EXPECT_EQ(Column(*grid, col), c.expected);
        EXPECT_EQ(texts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        for (const MsgBoxRequest& b : boxes()) {
            EXPECT_EQ(b.title, "MSFlexGrid / Importieren");
            EXPECT_EQ(b.buttons, MsgButtons::OK);
        }
    }
}

// ---------------------------------------------------------------- the reading alone

// Plain cells, as many rows as the reading asks for, two columns.
class PlainCells : public ImportTable {
public:
    int Rows() const override { return int(cells_.size()); }
    void setRows(int rows) override { cells_.resize(size_t(rows), std::vector<QString>(2)); }
    QString TextMatrix(int row, int col) const override { return cells_.at(size_t(row)).at(size_t(col)); }
    void setTextMatrix(int row, int col, const QString& text) override { cells_.at(size_t(row)).at(size_t(col)) = text; }

private:
    std::vector<std::vector<QString>> cells_{2, std::vector<QString>(2)};
};

// The reading gives back each line, and what it has passed of a single line, as soon as
// it has cut them into cells: at the question about a damaged cycle late in the file, it
// holds none of the text before it, so that the file and the cells are never held whole
// together.
TEST(MeasurementReading, GivesBackWhatItHasCutAsItGoes)
{
    struct Case {
        const char* name;
        const char* TZZ;
        std::vector<QString> lines;
        size_t passed;   // lines wholly cut before the damaged cycle
        const char* last;
    };
    const Case cases[] = {
        {"a cycle per line", "", {"1;;;", "2;;;", "3;;;", "4;;;", "x", "6;;;"}, 4, "6"},
        {"a single line", "|", {"|1;;;|2;;;|3;;;|4;;;|5;;;|6;;;|x|8;;;|"}, 0, "8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImportPlan plan;
        plan.layout = {1, 2, {}, {}, QStringLiteral("0"), {}, QStringLiteral(";"), QString::fromLatin1(c.TZZ)};
        plan.values = {ImportValue{QStringLiteral("A"), 0.0, {}, {}, 1.0f}};
        plan.n = 1;
        plan.columns = {1};
        plan.columnTypes = {1, 0};
        // Texts of their own, shared only with what the reading gets.
        std::vector<QString> kept;
        for (const QString& line : c.lines)
            kept.emplace_back(line.constData(), line.size());
        std::vector<bool> held;
        PlainCells cells;
        const auto ask = [&](const QString&) {
            for (size_t i = 0; i < std::max<size_t>(c.passed, 1); ++i)
                held.push_back(!kept[i].isDetached());
            return true;
        };
        EXPECT_TRUE(ReadMeasurementData(plan, std::vector<QString>(kept), cells, ask));
        EXPECT_EQ(held, std::vector<bool>(std::max<size_t>(c.passed, 1), false));
        EXPECT_EQ(cells.TextMatrix(cells.Rows() - 1, 1), QLatin1String(c.last));
    }
}

// ---------------------------------------------------------------- the file reader

TEST(MeasurementFile, LinesEndAtCarriageReturnLineFeedOrBothAndAreWindows1252)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<QString> lines;
    };
    const Case cases[] = {
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"CR alone", "a\rb\r", {"a", "b"}},
        {"LF alone", "a\nb", {"a", "b"}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"empty lines stay", "\r\n\r\na\r\n", {"", "", "a"}},
        {"nothing", "", {}},
        {"code page", "\x80 \xb0\xe4\xb5\x81", {QString::fromUtf8("€ °äµ\u0081")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MeasurementLines(c.bytes), c.lines);
        // Read in two pieces, cut anywhere, a line end between them included.
        for (qsizetype at = 0; at <= c.bytes.size(); ++at) {
            MeasurementLineCutter cutter;
            cutter.feed(QByteArrayView(c.bytes).first(at));
            cutter.feed(QByteArrayView(c.bytes).sliced(at));
            EXPECT_EQ(cutter.finish(), c.lines) << at;
        }
    }
}

// A file "messung.txt" with these bytes in the folder.
QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("messung.txt"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

TEST(MeasurementFile, AFileIsReadUpToItsLimits)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "a\r\nbc");
    EXPECT_EQ(ReadMeasurementFile(path, 5), (std::vector<QString>{"a", "bc"}));
    EXPECT_EQ(VbErrorOf([&] { ReadMeasurementFile(path, 4); }), VbErr::OutOfMemory);
    EXPECT_EQ(ReadMeasurementFile(path, 5, 2), (std::vector<QString>{"a", "bc"}));
    EXPECT_EQ(VbErrorOf([&] { ReadMeasurementFile(path, 5, 1); }), VbErr::OutOfMemory);
    // Longer than a piece of the reading, with line ends where the pieces meet.
    QByteArray bytes;
    std::vector<QString> lines;
    for (int i = 0; bytes.size() < 200'000; ++i) {
        const QByteArray line = QByteArray::number(i) + QByteArray(i % 700, 'x');
        bytes += line + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\r" : "\n");
        lines.push_back(QString::fromLatin1(line));
    }
    EXPECT_EQ(ReadMeasurementFile(WriteFile(dir, bytes), bytes.size()), lines);
}

// Memory that runs out while a file is read is the reader's error 7, never the end of
// the program: read in a child process whose address space leaves no room for the
// file's text.
TEST(MeasurementFile, MemoryThatRunsOutIsError7)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves the address space a limit would bound";
#endif
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("eine-zeile.txt"));
    {
        QFile f(path);   // one line of 64 MiB, without taking room on the disk
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(qint64(64) << 20));
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // The address space in use now and 32 MiB more: the line's text needs 128 MiB.
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        rlim_t used = 0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmSize:"))
                used = rlim_t(line.mid(7).trimmed().split(' ').value(0).toULongLong()) * 1024;
        const rlimit limit{used + (rlim_t(32) << 20), used + (rlim_t(32) << 20)};
        if (used == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(100);
        try {
            ReadMeasurementFile(path, qint64(256) << 20);
        } catch (const VbError& e) {
            ::_exit(e.number());
        } catch (...) {
            ::_exit(101);   // anything else would have ended the program
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), VbErr::OutOfMemory);
}

// The reader's error number for a file, read by a user other than root where the test
// runs as root (root may read any file).
int ErrorNumberUnprivileged(const QString& path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        try {
            ReadMeasurementFile(path, 1000);
        } catch (const VbError& e) {
            ::_exit(e.number());
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(MeasurementFile, AFileWithoutPermissionIsError70)
{
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "1;2\r\n");
    // The folder may be passed through, the file not read.
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                      | QFileDevice::ExeOwner | QFileDevice::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    EXPECT_EQ(ErrorNumberUnprivileged(path), VbErr::PermissionDenied);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    EXPECT_EQ(ErrorNumberUnprivileged(path), 0);
}

} // namespace
