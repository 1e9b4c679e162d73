// The grid control, driven with real key and mouse events on the offscreen platform.
#include "platform/FlexGrid.h"
#include "platform/Twips.h"
#include "support/GridProbe.h"
#include "support/TestHelpers.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FlexGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(520, 320);
        grid = new FlexGrid(&window);
        grid->setGeometry(10, 10, 400, 200);
        grid->setRows(5);
        grid->setCols(4);
        grid->setFixedCols(1);
        for (int c = 0; c < 4; ++c)
            grid->setColWidth(c, 900);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 4; ++c)
                grid->setTextMatrix(r, c, QStringLiteral("%1%2").arg(QChar(u'a' + r)).arg(c));
        window.show();
        log();
    }

    // Records the events with the current cell at the moment each is sent.
    void log()
    {
        QObject::connect(grid, &FlexGrid::mouseDown, [this](int b, int, float x, float y) {
            events << QStringLiteral("down %1 %2,%3").arg(b).arg(grid->Row()).arg(grid->Col());
            lastX = x;
            lastY = y;
        });
        QObject::connect(grid, &FlexGrid::mouseUp, [this](int b, int, float, float) {
            events << QStringLiteral("up %1").arg(b);
        });
        QObject::connect(grid, &FlexGrid::click, [this] { events << QStringLiteral("click"); });
        QObject::connect(grid, &FlexGrid::dblClick, [this] { events << QStringLiteral("dblClick"); });
        QObject::connect(grid, &FlexGrid::keyPress, [this](int code) { events << QStringLiteral("key %1").arg(code); });
        QObject::connect(grid, &FlexGrid::scroll, [this] { events << QStringLiteral("scroll"); });
    }

    QWidget* vp() { return grid->viewport(); }
    QImage image() { return grid->viewport()->grab().toImage(); }

    QWidget window;
    FlexGrid* grid = nullptr;
    QStringList events;
    float lastX = 0, lastY = 0;
};

} // namespace

TEST_F(FlexGridTest, CellsSizeAndCurrentCell)
{
    FlexGrid g;
    g.setRows(2);
    g.setCols(3);
    g.setFixedCols(1);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    g.setTextMatrix(1, 2, QStringLiteral("x"));
    g.setCol(2);
    EXPECT_EQ(g.Text(), QStringLiteral("x"));
    EXPECT_EQ(g.RowSel(), 1);
    EXPECT_EQ(g.ColSel(), 2);

    // Growing keeps the cells and adds empty ones; shrinking drops cells and pulls the
    // current cell back into the grid.
    g.setRows(4);
    EXPECT_EQ(g.TextMatrix(1, 2), QStringLiteral("x"));
    EXPECT_EQ(g.TextMatrix(3, 2), QString());
    g.setRow(3);
    g.setRows(2);
    EXPECT_EQ(g.Row(), 1);
    g.setCols(2);
    EXPECT_EQ(g.Col(), 1);

    EXPECT_EQ(VbErrorOf([&] { g.TextMatrix(2, 0); }), VbErr::InvalidArrayIndex);
    EXPECT_EQ(VbErrorOf([&] { g.setRow(-1); }), VbErr::InvalidArrayIndex);
    EXPECT_EQ(VbErrorOf([&] { g.setRows(1); }), VbErr::InvalidProperty);
    EXPECT_EQ(VbErrorOf([&] { g.setRows(FlexGrid::MaxRows + 1); }), VbErr::InvalidProperty);
    EXPECT_EQ(VbErrorOf([&] { g.setFixedCols(2); }), VbErr::InvalidProperty);
    EXPECT_EQ(VbErrorOf([&] { g.setColAlignment(0, 10); }), VbErr::InvalidProperty);
}

TEST_F(FlexGridTest, ClipReadsAndFillsTheSelectedBlock)
{
    auto select = [&] {
        grid->setRow(1);
        grid->setCol(1);
        grid->setRowSel(2);
        grid->setColSel(2);
    };
    select();
    EXPECT_EQ(grid->Clip(), QStringLiteral("b1\tb2\rc1\tc2"));

    struct Case {
        const char* name;
        QString text;
        QStringList block;   // (1,1) (1,2) (2,1) (2,2) afterwards
    } cases[] = {
        {"CR LF rows, one final row end", "1\t2\r\n3\t4\r\n", {"1", "2", "3", "4"}},
        {"LF rows", "1\t2\n3\t4", {"1", "2", "3", "4"}},
        {"CR rows", "1\t2\r3\t4\r", {"1", "2", "3", "4"}},
        {"a larger block is cut to the selection", "1\t2\t9\r3\t4\t9\r9\t9\t9", {"1", "2", "3", "4"}},
        {"a smaller block leaves the rest", "1", {"1", "b2", "c1", "c2"}},
    };
    for (const auto& c : cases) {
        for (int r = 1; r <= 2; ++r)
            for (int k = 1; k <= 2; ++k)
                grid->setTextMatrix(r, k, QStringLiteral("%1%2").arg(QChar(u'a' + r)).arg(k));
        select();
        grid->setClip(c.text);
        EXPECT_EQ((QStringList{grid->TextMatrix(1, 1), grid->TextMatrix(1, 2), grid->TextMatrix(2, 1),
                               grid->TextMatrix(2, 2)}),
                  c.block)
            << c.name;
        EXPECT_EQ(grid->TextMatrix(3, 1), QStringLiteral("d1")) << c.name;
        EXPECT_EQ(grid->TextMatrix(1, 3), QStringLiteral("b3")) << c.name;
    }
}

TEST_F(FlexGridTest, RowsAreInsertedAndRemoved)
{
    grid->AddItem(QString(), 1);
    EXPECT_EQ(grid->Rows(), 6);
    EXPECT_EQ(grid->TextMatrix(1, 1), QString());
    EXPECT_EQ(grid->TextMatrix(2, 1), QStringLiteral("b1"));
    grid->AddItem(QStringLiteral("p\tq"));
    EXPECT_EQ(grid->TextMatrix(6, 0), QStringLiteral("p"));
    EXPECT_EQ(grid->TextMatrix(6, 1), QStringLiteral("q"));

    grid->RemoveItem(1);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("b1"));
    EXPECT_EQ(VbErrorOf([&] { grid->RemoveItem(0); }), VbErr::InvalidArrayIndex);
    EXPECT_EQ(VbErrorOf([&] { grid->AddItem(QString(), 8); }), VbErr::InvalidArrayIndex);
    while (grid->Rows() > 2)
        grid->RemoveItem(1);
    EXPECT_EQ(VbErrorOf([&] { grid->RemoveItem(1); }), VbErr::InvalidProperty);
}

TEST_F(FlexGridTest, GeometryIsInTwipsAndMatchesThePainting)
{
    grid->setColWidth(0, 690);
    grid->setColWidth(1, 1200);
    EXPECT_EQ(grid->ColWidth(0), 690);
    grid->setCol(1);
    const int left1 = grid->CellLeft();
    grid->setCol(2);
    EXPECT_EQ(grid->CellLeft() - left1, 1200);
    EXPECT_EQ(grid->CellWidth(), 900);
    EXPECT_EQ(grid->CellLeft(), (grid->viewport()->x() + 46 + 80) * TwipsPerPixel);
    EXPECT_EQ(grid->Left(), 150);
    EXPECT_EQ(grid->Width(), 400 * TwipsPerPixel);

    // The grid line closing column 1 is painted on the last pixel before column 2.
    const QImage img = image();
    const int y = CellPoint(*grid, 2, 1).y();
    const int edge = grid->CellLeft() / TwipsPerPixel - grid->viewport()->x();
    EXPECT_EQ(img.pixelColor(edge - 1, y), QColor(192, 192, 192));
    EXPECT_EQ(img.pixelColor(edge + 1, y), grid->BackColor());
}

TEST_F(FlexGridTest, APressMakesTheCellCurrentBeforeMouseDown)
{
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 2, 2));
    EXPECT_EQ(events, (QStringList{"down 1 2,2", "up 1", "click"}));
    const QPoint p = CellPoint(*grid, 2, 2);
    EXPECT_FLOAT_EQ(lastX, float((p.x() + vp()->x()) * TwipsPerPixel));
    EXPECT_FLOAT_EQ(lastY, float((p.y() + vp()->y()) * TwipsPerPixel));

    events.clear();
    DoubleClick(vp(), CellPoint(*grid, 3, 1));
    EXPECT_EQ(events, (QStringList{"down 1 3,1", "up 1", "click", "dblClick", "up 1"}));
    EXPECT_EQ(grid->Row(), 3);

    // A press on a fixed cell leaves the current cell.
    events.clear();
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 0, 2));
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 2, 0));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(events.first(), QStringLiteral("down 1 3,1"));
}

TEST_F(FlexGridTest, DraggingExtendsTheSelection)
{
    QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 1));
    QTest::mouseMove(vp(), CellPoint(*grid, 2, 2));
    QTest::mouseMove(vp(), CellPoint(*grid, 3, 3));
    QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 3, 3));
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->RowSel(), 3);
    EXPECT_EQ(grid->ColSel(), 3);
    EXPECT_EQ(grid->Clip(), QStringLiteral("b1\tb2\tb3\rc1\tc2\tc3\rd1\td2\td3"));
}

TEST_F(FlexGridTest, KeysMoveTheCellAndReportTypedCharacters)
{
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    QTest::keyClick(grid, '7');
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Backspace);
    QTest::keyClick(grid, Qt::Key_Escape);
    QTest::keyClick(grid, Qt::Key_Delete);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(events, (QStringList{"key 55", "key 13", "key 8", "key 27", "key 3", "key 22"}));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("untouched"));

    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 2);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->RowSel(), 3);
    // The fixed cells cannot be reached by keys.
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
    QTest::keyClick(grid, Qt::Key_Up);
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 3);
}

TEST_F(FlexGridTest, ScrollingKeepsTheCurrentCellInViewAndIsReported)
{
    grid->setRows(10001);
    grid->setTextMatrix(10000, 1, QStringLiteral("last"));
    EXPECT_TRUE(grid->RowIsVisible(1));
    EXPECT_FALSE(grid->RowIsVisible(10000));

    grid->setRow(10000);
    EXPECT_TRUE(grid->RowIsVisible(10000));
    EXPECT_FALSE(grid->RowIsVisible(1));
    EXPECT_TRUE(grid->RowIsVisible(0));
    EXPECT_TRUE(events.contains(QStringLiteral("scroll")));

    QTest::keyClick(grid, Qt::Key_PageUp);
    EXPECT_LT(grid->Row(), 10000);
    EXPECT_TRUE(grid->RowIsVisible(grid->Row()));

    events.clear();
    grid->setColWidth(2, 3000);
    grid->setColWidth(3, 3000);
    grid->setLeftCol(3);
    EXPECT_EQ(grid->LeftCol(), 3);
    EXPECT_EQ(events, QStringList{"scroll"});
    EXPECT_TRUE(grid->ColIsVisible(0));
    EXPECT_FALSE(grid->ColIsVisible(1));
    EXPECT_TRUE(grid->ColIsVisible(3));

    // A scroll bar moved by the user reports too.
    events.clear();
    grid->verticalScrollBar()->setValue(0);
    EXPECT_EQ(events, QStringList{"scroll"});
    EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(FlexGridTest, DisabledGridIsAnEmptyTableThatSendsNothing)
{
    const QColor body(200, 230, 255);
    grid->setBackColor(body);
    grid->setEnabledFlag(false);
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 3, 2));
    DoubleClick(vp(), CellPoint(*grid, 3, 2));
    QTest::keyClick(grid, '7');
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(events.isEmpty()) << events.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->focusPolicy(), Qt::NoFocus);
    // It keeps its colours.
    grid->setTextMatrix(2, 2, QString());
    EXPECT_EQ(image().pixelColor(CellPoint(*grid, 2, 2)), body);

    // A disabled window does not make its tables empty.
    grid->setEnabledFlag(true);
    window.setEnabled(false);
    EXPECT_TRUE(grid->Enabled());
    EXPECT_FALSE(grid->isEnabled());
    window.setEnabled(true);
}
