// The result page's tables, heading strip and legend on the worked record, and the
// cases around them: empty sides, no base, a body without rows, the pressure scale.
#include "ResultFixture.h"
#include <QRegularExpression>

namespace {

class Tables : public ResultPages {
protected:
    RecordedPage* page = nullptr;
    std::unique_ptr<LocaleScope> english;

    void SetUp() override
    {
        english = std::make_unique<LocaleScope>(English());
        workedRecord();
        page = load();
    }
    // The texts of an area, in drawing order.
    QStringList texts(int nr)
    {
        QStringList out;
        for (const Recorded& r : page->texts(nr))
            out << r.text;
        return out;
    }
    const Recorded& text(int nr, const QString& s)
    {
        static const Recorded none;
        for (const Recorded& r : page->area(nr).records)
            if (r.kind == Recorded::Text && r.text == s)
                return r;
        ADD_FAILURE() << "no text " << s.toStdString() << " in area " << nr;
        return none;
    }
    // Texts whose cells are centred on the line y.
    QStringList onLine(int nr, double y)
    {
        QStringList out;
        for (const Recorded& r : page->texts(nr))
            if (std::abs(centre(r).y() - y) < 1e-3)
                out << r.text;
        return out;
    }
    std::vector<double> verticalLinesAt(int nr, double y)
    {
        std::vector<double> xs;
        for (const Recorded& r : page->lines(nr))
            if (r.p1.x() == r.p2.x() && std::min(r.p1.y(), r.p2.y()) < y && std::max(r.p1.y(), r.p2.y()) > y)
                xs.push_back(std::round(r.p1.x() * 1000) / 1000);   // to the micrometre
        std::sort(xs.begin(), xs.end());
        return xs;
    }
};

} // namespace

TEST_F(Tables, VerticalSectionsOfTheLeftSide)
{
    const Recorded& title = text(12, QStringLiteral("Vertikale Schnitte"));
    EXPECT_NEAR(title.p1.x(), 1, 1e-3);
    EXPECT_NEAR(title.p1.y() + extent(title).height(), 3.3, 1e-3);
    EXPECT_TRUE(title.font.Bold);
    EXPECT_EQ(onLine(12, 13.6), (QStringList{"-2.00", "0.00", "u", "0.00", "0.00"}));
    EXPECT_EQ(onLine(12, 13.6 + 5 * 3), (QStringList{"6.00", "0.00", "o", "-73.77", "0.00"}));
    // Right-aligned numbers, the mark centred in its column.
    const auto row = page->texts(12);
    const auto first = std::find_if(row.begin(), row.end(), [](const Recorded& r) { return r.text == "-2.00"; });
    ASSERT_NE(first, row.end());
    EXPECT_NEAR(rightEdge(first[0]), 8.5, 1e-3);
    EXPECT_NEAR(rightEdge(first[1]), 17.5, 1e-3);
    EXPECT_NEAR(centre(first[2]).x(), 22, 1e-3);
    EXPECT_NEAR(rightEdge(first[3]), 36.5, 1e-3);
    EXPECT_NEAR(rightEdge(first[4]), 49.5, 1e-3);
    // A line after z, double lines after x and the mark, a line after wh.
    EXPECT_EQ(verticalLinesAt(12, 13.6), (std::vector<double>{10, 19, 19.5, 25, 25.5, 38}));
    // The right side's table has no title.
    EXPECT_FALSE(texts(13).contains(QStringLiteral("Vertikale Schnitte")));
    EXPECT_EQ(onLine(13, 13.6 + 3 * 3), (QStringList{"6.00", "4.00", "o", "66.23", "0.00"}));
}

TEST_F(Tables, EmptySidesShowTheirFootnote)
{
    // No horizontal sections on either side: a title on the left, the footnote on both.
    EXPECT_EQ(texts(14), (QStringList{"Horizontale Schnitte", "keine horizontalen Schnitte vorhanden"}));
    EXPECT_EQ(texts(15), QStringList{"keine horizontalen Schnitte vorhanden"});
    const Recorded& note = text(14, QStringLiteral("keine horizontalen Schnitte vorhanden"));
    EXPECT_NEAR(note.p1.x(), 2.5, 1e-3);
    EXPECT_NEAR(note.p1.y(), 6.7, 1e-3);
    EXPECT_TRUE(page->lines(14).empty());
    // A side without pressure-polygon points.
    page->L.V.MAX = -1;
    page->BILD12();
    EXPECT_EQ(texts(12), (QStringList{"Vertikale Schnitte", "keine Tremoldrücke"}));
}

TEST_F(Tables, ABodyWithoutRowsShowsNoValues)
{
    VerticalSections single;
    single.MAX = 0;
    single.Z = single.X = single.WHO = single.WVO = single.WHU = single.WVU = {3};
    page->TABVL = VerticalSectionBody(single);
    page->BILD12();
    EXPECT_EQ(texts(12).filter(QRegularExpression("\\d\\.\\d\\d")), QStringList{});
    EXPECT_TRUE(texts(12).contains(QStringLiteral("[kN/m²]")));   // the head is there
}

TEST_F(Tables, BaseTable)
{
    const Recorded& title = text(16, QStringLiteral("Sohlfläche"));
    EXPECT_NEAR(title.p1.x(), 28, 1e-3);
    EXPECT_NEAR(title.p1.y() + extent(title).height(), 3.3, 1e-3);
    EXPECT_EQ(onLine(16, 13.6), (QStringList{"Links", "6.00", "0.00", "0.00", "-73.77"}));
    EXPECT_EQ(onLine(16, 16.6), (QStringList{"Rechts", "6.00", "4.00", "0.00", "-66.23"}));
    EXPECT_NEAR(text(16, QStringLiteral("Links")).p1.x(), 29.5, 1e-3);   // left-aligned label

    // Outlines ending in one point: no base, nothing drawn, on screen or on paper. A
    // difference in x or in z alone shows the table.
    struct Case { float dx, dz; bool shown; };
    for (const Case& c : {Case{-4, 0, false}, Case{0, 0.5f, true}, Case{-2, 0, true}}) {
        page->S.R.XB.back() = 4 + c.dx;
        page->S.R.ZB.back() = 6 + c.dz;
        page->sheet.records.clear();
        page->BILD16(1, 0, 5);
        page->BILD16();
        EXPECT_EQ(!page->area(16).records.empty(), c.shown) << c.dx << " " << c.dz;
        EXPECT_EQ(!page->sheet.records.empty(), c.shown) << c.dx << " " << c.dz;
    }
}

TEST_F(Tables, LayoutsAreTheirKindsWhateverWasDrawnBefore)
{
    // The right-hand tables draw as the left-hand ones, also without a left table object.
    page->TABELLE12.reset();
    page->TABELLE14.reset();
    page->BILD13();
    page->BILD15();
    EXPECT_EQ(verticalLinesAt(13, 13.6), (std::vector<double>{10, 19, 19.5, 25, 25.5, 38}));
    EXPECT_EQ(texts(15), QStringList{"keine horizontalen Schnitte vorhanden"});
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(Tables, HeadingStrip)
{
    const Recorded& left = text(17, QStringLiteral("Linke Seite"));
    const Recorded& right = text(17, QStringLiteral("Rechte Seite"));
    EXPECT_NEAR(left.p1.x(), 1, 1e-3);
    EXPECT_NEAR(right.p1.x(), 61, 1e-3);
    EXPECT_NEAR(centre(left).y(), 4, 1e-3);
    EXPECT_EQ(left.font.Size, 9.0f);
    EXPECT_TRUE(left.font.Bold);
    // The strip's font goes back to the defaults.
    EXPECT_EQ(page->area(17).Font().Size, 8.0f);
    EXPECT_FALSE(page->area(17).Font().Bold);
}

TEST_F(Tables, Legend)
{
    const struct { const char* text; double y; int style; int colour; } rows[] = {
        {"Stromlinie", 1, 1, 2}, {"Hydrostatischer Tremola", 4, 1, 0},
        {"Tatsächlicher Tremola", 7, 0, 9}, {"Bezugsschnitte", 10, 2, 9}};
    const auto lines = page->lines(18);
    for (const auto& r : rows) {
        const Recorded& t = text(18, QString::fromUtf8(r.text));
        EXPECT_NEAR(t.p1.x(), 26, 1e-3) << r.text;
        EXPECT_NEAR(centre(t).y(), r.y, 1e-3) << r.text;
        EXPECT_EQ(t.font.Size, 7.0f);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Recorded& l) {
            return sameSegment(l, {11, r.y}, {23, r.y}) && l.drawStyle == r.style && l.colour == Palette(r.colour);
        })) << r.text;
    }
    // The scale: a 10 mm bar with a tick and an arrow head, and what it stands for.
    const Recorded& label = text(18, QStringLiteral("50.00 kN/m²"));
    EXPECT_NEAR(label.p1.x(), 70, 1e-3);
    EXPECT_NEAR(centre(label).y(), 7, 1e-3);
    const auto at = [&](QPointF a, QPointF b) {
        return std::any_of(lines.begin(), lines.end(), [&](const Recorded& l) { return sameSegment(l, a, b); });
    };
    EXPECT_TRUE(at({58, 6}, {58, 7.5}));
    EXPECT_TRUE(at({58, 7}, {68, 7}));
    EXPECT_GE(std::count_if(lines.begin(), lines.end(),
                            [](const Recorded& l) { return touches(l, {68, 7}) && segmentLength(l) < 3; }),
              2);
    EXPECT_EQ(page->area(18).Font().Size, 7.0f);   // the legend's font stays
}

TEST_F(Tables, PressureScaleLabel)
{
    struct Case { const char* MSP; bool german; const char* label; };
    const Case cases[] = {{"5", false, "50.00 kN/m²"}, {"0.35", false, "3.50 kN/m²"},
                          {"5", true, "50,00 kN/m²"},  {nullptr, false, "0.00 kN/m²"}};
    for (const Case& c : cases) {
        const LocaleScope locale(c.german ? German() : English());
        if (c.MSP)
            project.exec(QStringLiteral("UPDATE G0 SET MSP = %1 WHERE IDOBJEKT = 11").arg(QLatin1String(c.MSP)));
        else
            project.exec(QStringLiteral("DELETE FROM G0 WHERE IDOBJEKT = 11"));
        page->BILD18();
        EXPECT_TRUE(texts(18).contains(QString::fromUtf8(c.label))) << c.label;
    }
}

TEST_F(Tables, OnPaperFiveMillimetresLower)
{
    page->BILD12(1, 0, 5);
    page->BILD18(1, 0, 5);
    const auto onSheet = [&](const QString& s) {
        for (const Recorded& r : page->sheet.of(Recorded::Text))
            if (r.text == s)
                return r;
        ADD_FAILURE() << s.toStdString();
        return Recorded{};
    };
    const Recorded title = onSheet(QStringLiteral("Vertikale Schnitte"));
    EXPECT_NEAR(title.p1.x(), 137 + 1, 1e-3);
    EXPECT_NEAR(title.p1.y() + extent(title).height(), 37 + 5 + 3.3, 1e-3);
    EXPECT_NEAR(centre(onSheet(QStringLiteral("Stromlinie"))).y(), 145 + 5 + 1, 1e-3);
    EXPECT_NEAR(onSheet(QStringLiteral("Stromlinie")).p1.x(), 13 + 26, 1e-3);
}
