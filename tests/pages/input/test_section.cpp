// The input-graphic page's section diagram, heading strip and legend: the layout rows
// they write and read, and the section they draw, on the worked record.
#include "InputFixture.h"
#include "pages/common/frmKONTEXT11.h"
#include <QTimer>

TEST_F(InputPages, SectionDiagramOfTheWorkedRecord)
{
    const LocaleScope english(English());
    workedRecord();
    // A row left with other margins and a pressure scale: the defaults replace the
    // margins, and the pressure scale, the result page's, stays.
    project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, OX, OY, RL, RR, RO, RU, MYMX, MSP, MX, MY) "
                                "VALUES (1, 11, -1, 1, 2, 2, 2, 2, 0, 0.7, 0.5, 0.5)"));
    RecordedInputPage* page = load();
    const struct { const char* column; float value; } row[] = {
        {"OX", 1}, {"OY", -1}, {"RL", 11}, {"RR", 7}, {"RO", 7}, {"RU", 11}, {"MYMX", 1}, {"MSP", 0.7f},
        {"XMIN", -3}, {"XMAX", 7}, {"YMIN", -3}, {"YMAX", 10}, {"MX", 13.0f / 97.0f}, {"MY", 13.0f / 97.0f}};
    for (const auto& c : row)
        EXPECT_FLOAT_EQ(CSng(layout(11, c.column)), c.value) << c.column;

    const auto lines = page->lines(11);
    const int32_t lightBlue = Palette(9), green = Palette(2);
    EXPECT_TRUE(drawn(lines, {{11, YP(-2)}, {XP(0), YP(-2)}}, 0, lightBlue));          // left water line
    EXPECT_TRUE(drawn(lines, {{XP(7), YP(0)}, {XP(4), YP(0)}}, 0, lightBlue));         // right water line
    EXPECT_TRUE(drawn(lines, {{11, YP(3)}, {XP(0), YP(3)}}, 0, 0));                    // a left layer boundary
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(-3)}, {XP(0), YP(6)}}, 0, 0));                // outlines
    EXPECT_TRUE(drawn(lines, {{XP(4), YP(-3)}, {XP(4), YP(6)}}, 0, 0));
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(-3)}, {XP(4), YP(-3)}}, 0, 0));               // top link
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(6)}, {XP(4), YP(6)}}, 0, 0));                 // base link
    EXPECT_TRUE(drawn(lines, {{XP(0) - 1, YP(0)}, {XP(0) - 1, YP(6)}}, 1, green));     // flow lines 1 mm aside
    EXPECT_TRUE(drawn(lines, {{XP(4) + 1, YP(0)}, {XP(4) + 1, YP(6)}}, 1, green));
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(6) + 1}, {XP(4), YP(6) + 1}}, 1, green));     // and 1 mm below
    // No pressure ordinates: nothing dotted, nothing dashed black.
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const Recorded& r) {
        return r.drawStyle == 2 || (r.drawStyle == 1 && r.colour == 0);
    }));

    QStringList labels;
    for (const Recorded& t : page->area(11).records)   // the z axis's labels are turned
        if (t.kind == Recorded::Text || t.kind == Recorded::RotatedText)
            labels << t.text;
    for (const char* label : {"-3.0", "7.0", "10.0", "x [m]", "z [m]"})
        EXPECT_TRUE(labels.contains(QLatin1String(label))) << label;
    EXPECT_EQ(labels.count(QStringLiteral("-3.0")), 2);   // range 10 and 13: only the ends are labelled
    EXPECT_FALSE(labels.contains(QStringLiteral("2.0")));

    // The strip's and the legend's rows: millimetre grids with the pressure scale 0.5.
    for (int nr : {18, 19}) {
        const struct { const char* column; float value; } grid[] = {
            {"OX", 1}, {"OY", -1}, {"RL", 0}, {"RR", 0}, {"RO", 0}, {"RU", 0}, {"MX", 1}, {"MY", 1}, {"MSP", 0.5f}};
        for (const auto& c : grid)
            EXPECT_FLOAT_EQ(CSng(layout(nr, c.column)), c.value) << nr << " " << c.column;
    }
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(InputPages, StoredLayoutIsOnlyReadOnceTheResultsAreConfirmed)
{
    workedRecord();
    project.exec(QStringLiteral("UPDATE A1 SET BONEU = 0"));
    project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MYMX, "
                                "MX, MY) VALUES (1, 11, 1, -1, 11, 7, 7, 11, -10, 10, -5, 15, 1, 0.25, 0.25)"));
    project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, OX, OY, MX, MY, MSP) VALUES (1, 19, 1, -1, 2, 2, 9)"));
    const auto row = [&] {
        return project.scalar(QStringLiteral("SELECT XMIN || ' ' || XMAX || ' ' || YMIN || ' ' || YMAX || ' ' || MX "
                                             "|| ' ' || MY FROM G0 WHERE ID = 1 AND IDOBJEKT = 11"));
    };
    const Variant before = row();
    RecordedInputPage* page = load();
    page->DRUCKEN();
    EXPECT_EQ(row(), before);
    // The strip's defaults are not written (its scales, computed by the diagram class
    // where they are 0, are all it stores); the legend's are, at every drawing.
    EXPECT_EQ(CLng(project.scalar(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE IDOBJEKT = 18 AND "
                                                 "(OX IS NOT NULL OR OY IS NOT NULL OR RL IS NOT NULL)"))), 0);
    EXPECT_FLOAT_EQ(CSng(layout(19, "MX")), 1.0f);
    EXPECT_FLOAT_EQ(CSng(layout(19, "MSP")), 0.5f);
    project.exec(QStringLiteral("UPDATE G0 SET MX = 2 WHERE IDOBJEKT = 19"));
    page->BILD19();
    EXPECT_FLOAT_EQ(CSng(layout(19, "MX")), 1.0f);
    // Every drawing of the diagram moves the bar from 73 to 81.
    bar.clear();
    page->BILD11();
    EXPECT_EQ(bar, (std::vector<float>{73, 75, 77, 79, 81}));
}

TEST_F(InputPages, ConfirmedDiagramDialogRedrawsTheSectionOnly)
{
    workedRecord();
    RecordedInputPage* page = load();
    ShowMaximized(page);
    RecordingSurface* const before[] = {&page->area(11), &page->area(12), &page->area(18), &page->area(19)};
    bool scaleShown = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        scaleShown = dialog->fraMSP->isVisible();
        dialog->cmdOK->click();
    });
    page->picBILD11_MouseDown(2, 0, 50, 50);
    EXPECT_FALSE(scaleShown);   // the pressure scale belongs to the result page
    EXPECT_NE(&page->area(11), before[0]);
    EXPECT_EQ(&page->area(12), before[1]);
    EXPECT_EQ(&page->area(18), before[2]);
    EXPECT_EQ(&page->area(19), before[3]);
    EXPECT_EQ(page->Tag, QString());
}
