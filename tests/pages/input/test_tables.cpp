// The input-graphic page's six tables: titles, rows, columns, and long bodies paged by
// their scroll bars.
#include "InputFixture.h"
#include <map>

namespace {

// The lines of a table area, top to bottom: the texts of each line left to right,
// joined by "|".
QStringList linesOf(const std::vector<Recorded>& texts)
{
    std::map<long, std::vector<const Recorded*>> lines;
    for (const Recorded& t : texts)
        lines[std::lround(centre(t).y() * 100)].push_back(&t);
    QStringList out;
    for (auto& [y, line] : lines) {
        std::sort(line.begin(), line.end(), [](const Recorded* a, const Recorded* b) { return a->p1.x() < b->p1.x(); });
        QStringList cells;
        for (const Recorded* t : line)
            cells << t->text;
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

// The last text drawn that reads s.
const Recorded* textOf(const std::vector<Recorded>& texts, const QString& s)
{
    for (auto t = texts.rbegin(); t != texts.rend(); ++t)
        if (t->text == s)
            return &*t;
    return nullptr;
}

} // namespace

TEST_F(InputPages, TablesOfTheWorkedRecord)
{
    const LocaleScope english(English());
    workedRecord();
    RecordedInputPage* page = load();
    const QStringList layers{"z|k", "[m]|[m/s]", "0.00|GOK", "3.00|1.00E-04", "10.00|1.00E-05"};
    const struct {
        int nr;
        const char* title;
        QStringList lines;
        double secondColumnEnd;   // right edge of the second column's texts
    } tables[] = {
        {12, "Schichten", QStringList{"Schichten"} + layers, 36.5},
        {13, nullptr, layers, 36.5},
        {14, "Bauwerk", {"Bauwerk", "z|x", "[m]|[m]", "-3.00|0.00", "6.00|0.00"}, 29.5},
        {15, nullptr, {"z|x", "[m]|[m]", "-3.00|4.00", "6.00|4.00"}, 29.5},
        {16, "Stromlinien", {"Stromlinien", "z|x", "[m]|[m]", "0.00|0.00", "6.00|0.00"}, 29.5},
        {17, nullptr, {"z|x", "[m]|[m]", "0.00|4.00", "6.00|4.00"}, 29.5},
    };
    for (const auto& t : tables) {
        SCOPED_TRACE(t.nr);
        const std::vector<Recorded> texts = page->texts(t.nr);
        EXPECT_EQ(linesOf(texts), t.lines);
        if (t.title) {
            // The caption in bold, from the left margin, ending 1.7 mm above the head.
            const Recorded* title = textOf(texts, QLatin1String(t.title));
            ASSERT_NE(title, nullptr);
            EXPECT_NEAR(title->p1.x(), 5, 1e-3);
            EXPECT_NEAR(title->p1.y() + extent(*title).height(), 5.3, 1e-3);
            EXPECT_TRUE(title->font.Bold);
        }
        // Body cells right-aligned in their columns, 5 mm in, z 13 mm wide.
        const QString last = t.lines.last();
        const Recorded* z = textOf(texts, last.section(QLatin1Char('|'), 0, 0));
        const Recorded* second = textOf(texts, last.section(QLatin1Char('|'), 1, 1));
        ASSERT_TRUE(z && second);
        EXPECT_NEAR(rightEdge(*z), 16.5, 1e-3);
        EXPECT_NEAR(rightEdge(*second), t.secondColumnEnd, 1e-3);
        EXPECT_FALSE(z->font.Bold);
        EXPECT_EQ(z->font.Size, 8.0f);
        EXPECT_FALSE(page->vscBILD(int16_t(t.nr))->Visible());
    }
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(InputPages, LongTablesArePagedByTheirBars)
{
    const LocaleScope english(English());
    workedRecord();
    // Seven layers on the left, seven flow-line points on the left, six on the right.
    for (int i = 3; i <= 6; ++i)
        project.exec(QStringLiteral("INSERT INTO E3 (ID, K, I1, Z, KF) VALUES (1, 1, %1, %2, 0.000001)").arg(i).arg(8 + i));
    project.exec(QStringLiteral("DELETE FROM E4 WHERE ID = 1"));
    for (int i = 0; i <= 6; ++i)
        project.exec(QStringLiteral("INSERT INTO E4 (ID, K, I2, Z, X) VALUES (1, 1, %1, %1, 0)").arg(i));
    for (int i = 0; i <= 5; ++i)
        project.exec(QStringLiteral("INSERT INTO E4 (ID, K, I2, Z, X) VALUES (1, 2, %1, %1, 4)").arg(i));
    RecordedInputPage* page = load();
    // Seven rows do not fit: the bar stands right of the columns, under the head.
    const struct { int nr; double left; } long_[] = {{12, 39.5}, {16, 32.5}};
    for (const auto& t : long_) {
        const VScrollBar* bar = page->vscBILD(int16_t(t.nr));
        ASSERT_TRUE(bar->Visible()) << t.nr;
        EXPECT_NEAR(bar->Left(), t.left, 1e-3) << t.nr;
        EXPECT_NEAR(bar->Top(), 14.9, 1e-3) << t.nr;
        EXPECT_NEAR(bar->Width(), 5, 1e-3) << t.nr;
        EXPECT_NEAR(bar->Height(), 21.6, 1e-3) << t.nr;
    }
    EXPECT_FALSE(page->vscBILD(17)->Visible());   // six rows fit
    EXPECT_FALSE(page->vscBILD(13)->Visible());

    // Moving a bar redraws that table alone, from the row the bar reaches.
    std::map<int, RecordingSurface*> before;
    for (auto& [nr, surface] : page->areas)
        before[nr] = surface.get();
    page->vscBILD(12)->setValue(10000);
    for (auto& [nr, surface] : page->areas)
        EXPECT_EQ(surface.get() == before[nr], nr != 12) << nr;
    const QStringList lines = linesOf(page->texts(12));
    EXPECT_EQ(lines.last(), QStringLiteral("14.00|1.00E-06"));
    EXPECT_FALSE(lines.contains(QStringLiteral("0.00|GOK")));
    EXPECT_TRUE(project.dialogs().shown.empty());
}
