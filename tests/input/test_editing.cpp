// Editing a grid table in place, with real key and mouse events: the editors, the
// value test and format on commit, appending by Enter, copy, paste and fill.
#include "InputFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

namespace {

void typeInto(QWidget* w, const QString& text)
{
    QTest::keyClicks(w, text);
}

} // namespace

TEST_F(GridTableTest, TypingOpensTheEditorAndEnterCommitsIntoItsCell)
{
    bindLayerTable();
    wire();
    grid->setRows(3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 1));

    // Keys 1 to 32 open nothing.
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Space})
        QTest::keyClick(grid, key);
    EXPECT_TRUE(txt->isHidden());

    QTest::keyClick(grid, '7');
    ASSERT_FALSE(txt->isHidden());
    EXPECT_EQ(txt->text(), QStringLiteral("7"));
    EXPECT_EQ(txt->cursorPosition(), 1);
    EXPECT_EQ(flx->EZNR(), 1);
    EXPECT_EQ(flx->ESNR(), 1);
    EXPECT_EQ(txt->pos(), QPoint(PixelsOfTwips(grid->Left() + grid->CellLeft()),
                                 PixelsOfTwips(grid->Top() + grid->CellTop())));
    EXPECT_EQ(txt->width(), PixelsOfTwips(grid->CellWidth()));
    typeInto(txt, QStringLiteral("5"));
    QTest::keyClick(txt, Qt::Key_Return);
    EXPECT_TRUE(txt->isHidden());
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("75,00"));

    // A double click opens the editor on the cell's text, all of it selected; the
    // commit goes to that cell even when the current cell has moved meanwhile.
    DoubleClick(grid->viewport(), CellPoint(*grid, 1, 1));
    ASSERT_FALSE(txt->isHidden());
    EXPECT_EQ(txt->selectedText(), QStringLiteral("75,00"));
    EXPECT_EQ(txt->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    grid->setRow(2);
    grid->setCol(2);
    txt->clear();
    typeInto(txt, QStringLiteral("3"));
    QTest::keyClick(txt, Qt::Key_Enter);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("3,00"));
    EXPECT_EQ(grid->TextMatrix(2, 2), QString());

    // An empty commit empties the cell without a format; a click on the grid commits too.
    DoubleClick(grid->viewport(), CellPoint(*grid, 1, 1));
    txt->clear();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 2, 1));
    EXPECT_TRUE(txt->isHidden());
    EXPECT_EQ(grid->TextMatrix(1, 1), QString());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, CommitFormatsByTheColumnsPatternInTheLocale)
{
    bindLayerTable();
    wire();
    struct Case {
        const char* name;
        int col;
        QString typed;
        QLocale locale;
        QString cell;
    } cases[] = {
        {"#0.00 German", 1, "3", German(), "3,00"},
        {"#0.00 English", 1, "3", English(), "3.00"},
        {"exponent", 2, "0,0001", German(), "1,00E-04"},
        {"exponent of a small value", 2, "1,5E-05", German(), "1,50E-05"},
        {"text is kept", 2, "abc", German(), "abc"},
    };
    for (const auto& c : cases) {
        LocaleScope locale(c.locale);
        grid->setRow(1);
        grid->setCol(c.col);
        flx->BEARBEITEN(0);
        txt->clear();
        typeInto(txt, c.typed);
        QTest::keyClick(txt, Qt::Key_Return);
        EXPECT_EQ(grid->TextMatrix(1, c.col), c.cell) << c.name;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, CommitTestsTheValueByColumnTypeAndLimits)
{
    bindLayerTable();
    wire();
    const Dynamic none = Dynamic::Missing();
    const QString notNumber = QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!");
    const QString outside = QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:\r\nMinimum: 0, Maximum: 10");
    const QString notWhole = QStringLiteral("Eingegeber Wert ist keine ganze Zahl!");
    const QString notDate = QStringLiteral("Eingegeber Wert ist kein gültiges Datums- oder Zeitformat!");
    struct Case {
        const char* name;
        int col, type;
        Dynamic min, max;
        QString typed;
        QString message;   // "" when accepted
        QString title;
    } cases[] = {
        {"no limits take any text", 1, 0, none, none, "abc", "", ""},
        {"limits refuse text", 1, 0, Dynamic(Variant(int16_t(0))), Dynamic(Variant(int16_t(10))), "abc", notNumber,
         "Spalte z"},
        {"limits refuse a grouped number", 1, 0, Dynamic(Variant(int16_t(0))), Dynamic(Variant(int16_t(10000))),
         "1.500", notNumber, "Spalte z"},
        {"limits refuse a number beyond a Single", 1, 0, Dynamic(Variant(int16_t(0))), Dynamic(Variant(int16_t(10))),
         "1E+39", notNumber, "Spalte z"},
        {"limits refuse a number a Single holds as 0", 1, 0, Dynamic(Variant(int16_t(-1))),
         Dynamic(Variant(int16_t(1))), "1E-50", notNumber, "Spalte z"},
        {"nor one below a Double's range", 1, 0, Dynamic(Variant(int16_t(-1))), Dynamic(Variant(int16_t(1))),
         "-1E-400", notNumber, "Spalte z"},
        {"the smallest Single is a number", 1, 0, Dynamic(Variant(int16_t(-1))), Dynamic(Variant(int16_t(1))),
         "1E-45", "", ""},
        {"and so is zero", 1, 0, Dynamic(Variant(int16_t(-1))), Dynamic(Variant(int16_t(1))), "0E-50", "", ""},
        {"above the limit", 1, 0, Dynamic(Variant(int16_t(0))), Dynamic(Variant(int16_t(10))), "11", outside,
         "Spalte z"},
        {"on the limit", 1, 0, Dynamic(Variant(int16_t(0))), Dynamic(Variant(int16_t(10))), " 10 ", "", ""},
        {"equal limits test nothing", 1, 0, Dynamic(Variant(int16_t(5))), Dynamic(Variant(int16_t(5))), "abc", "", ""},
        {"elapsed time like a value", 1, 6, Dynamic(Variant(int16_t(0))), Dynamic(Variant(int16_t(10))), "11",
         outside, "Spalte z"},
        {"index column wants whole numbers", 0, 1, Dynamic(Variant(int16_t(1))), Dynamic(Variant(int16_t(9))), "2,5",
         notWhole, "Indexspalte Lfd."},
        {"index column without limits", 0, 1, none, none, "2,5", "", ""},
        {"date column takes a date", 1, 4, none, none, "12.03.2003", "", ""},
        {"date column takes a time", 1, 4, none, none, "10:15:30", "", ""},
        {"date column refuses text", 1, 4, Dynamic(Variant(int16_t(5))), Dynamic(Variant(int16_t(5))), "abc", notDate,
         "Datumsspalte z"},
        {"time column refuses text", 1, 5, none, none, "abc", notDate, "Uhrzeitspalte z"},
    };
    for (auto& c : cases) {
        std::vector<Dynamic> types{Dynamic(Variant(int16_t(1))), Dynamic(Variant(int16_t(0))),
                                   Dynamic(Variant(int16_t(0)))};
        types[size_t(c.col)] = Dynamic(Variant(int16_t(c.type)));
        flx->ELSTYP(Dynamic::Array(types));
        flx->ELFORMAT(Dynamic::Array({none, none, none}));
        flx->ELMIN(Dynamic::Array({c.min, c.min, c.min}));
        flx->ELMAX(Dynamic::Array({c.max, c.max, c.max}));
        grid->setTextMatrix(1, c.col, QStringLiteral("old"));
        grid->setRow(1);
        grid->setCol(c.col);
        dialogs->shown.clear();
        flx->BEARBEITEN(0);
        txt->clear();
        typeInto(txt, c.typed);
        if (!c.message.isEmpty())
            answer(MsgResult::OK);
        QTest::keyClick(txt, Qt::Key_Return);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(boxes().empty()) << c.name;
            EXPECT_EQ(grid->TextMatrix(1, c.col), c.typed) << c.name;   // as typed
            EXPECT_TRUE(txt->isHidden()) << c.name;
        } else {
            ASSERT_EQ(boxes().size(), 1u) << c.name;
            EXPECT_EQ(boxes()[0].text, c.message) << c.name;
            EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / ") + c.title) << c.name;
            EXPECT_EQ(boxes()[0].buttons, MsgButtons::OK);
            EXPECT_EQ(boxes()[0].icon, MsgIcon::Exclamation);
            // The editor stays open with its text; the cell is unchanged.
            EXPECT_EQ(grid->TextMatrix(1, c.col), QStringLiteral("old")) << c.name;
            EXPECT_FALSE(txt->isHidden()) << c.name;
            EXPECT_EQ(txt->text(), c.typed) << c.name;
            txt->clear();
            QTest::keyClick(txt, Qt::Key_Return);
        }
    }
}

TEST_F(GridTableTest, ListColumnIsEditedInTheComboBox)
{
    flx->EFLX(grid);
    flx->ETXT(txt);
    flx->ECBO(cbo);
    flx->ELSTYP(Dynamic::Integers({0, 7, 0}));
    flx->ELCBO(1, Dynamic::Texts({"Sand", "Kies"}));
    wire();
    grid->setTextMatrix(1, 1, QStringLiteral("ab"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 1));
    QTest::keyClick(grid, '7');
    EXPECT_TRUE(txt->isHidden());
    ASSERT_FALSE(cbo->isHidden());
    EXPECT_EQ(cbo->count(), 2);
    EXPECT_EQ(cbo->itemText(1), QStringLiteral("Kies"));
    EXPECT_EQ(cbo->currentText(), QStringLiteral("ab7"));
    EXPECT_EQ(cbo->lineEdit()->cursorPosition(), 3);
    QTest::keyClick(cbo->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(cbo->isHidden());
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("ab7"));

    // Numeric limits apply to the list column too.
    flx->ELMIN(Dynamic::Integers({0, 0, 0}));
    flx->ELMAX(Dynamic::Integers({10, 10, 10}));
    QTest::keyClick(grid, 'x');
    answer(MsgResult::OK);
    QTest::keyClick(cbo->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / Spalte I2"));
    EXPECT_FALSE(cbo->isHidden());
}

TEST_F(GridTableTest, EnterOnTheLastCellAppendsARowHereAndOnTheCoupledTable)
{
    bindLayerTable();
    wire();
    FlexGrid* other = new FlexGrid(&window);
    other->setGeometry(360, 40, 300, 200);
    other->setCols(3);
    other->show();
    flx->EFLXK()->EFLX(other);
    flx->EFLXK()->ELSTYP(Dynamic::Integers({1, 0, 0}));

    flx->EBOH(false);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 2));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->Rows(), 2);

    flx->EBOH(true);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 1));
    QTest::keyClick(grid, Qt::Key_Return);   // not the last cell
    EXPECT_EQ(grid->Rows(), 2);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 2));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(Column(*grid, 0), (QStringList{"0", "1"}));
    EXPECT_EQ(other->Rows(), 3);
    EXPECT_EQ(other->Row(), 2);
    EXPECT_EQ(Column(*other, 0), (QStringList{"0", "1"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, CopyAndPasteRoundTripThroughTheClipboard)
{
    bindLayerTable();
    wire();
    grid->setRows(5);
    const char* texts[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i)
        grid->setTextMatrix(1 + i / 2, 1 + i % 2, QString::fromLatin1(texts[i]));

    // Select by dragging, then the copy command.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 1, 1));
    QTest::mouseMove(grid->viewport(), CellPoint(*grid, 2, 2));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 2, 2));
    flx->BEARBEITEN(-1);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a\tb\rc\td"));

    // Paste into another block.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 3, 1));
    QTest::mouseMove(grid->viewport(), CellPoint(*grid, 4, 2));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 4, 2));
    flx->EINFUEGEN(-1);
    EXPECT_EQ(Column(*grid, 1), (QStringList{"a", "c", "a", "c"}));
    EXPECT_EQ(Column(*grid, 2), (QStringList{"b", "d", "b", "d"}));

    // A block copied from a spreadsheet program, rows ending in CR LF: each cell in its
    // column's pattern, as a commit of the same text typed writes it.
    QApplication::clipboard()->setText(QStringLiteral("1,5\t2\r\n3\t4\r\n"));
    flx->EINFUEGEN(-1);
    EXPECT_EQ(Column(*grid, 1), (QStringList{"a", "c", "1,50", "3,00"}));
    EXPECT_EQ(Column(*grid, 2), (QStringList{"b", "d", "2,00E+00", "4,00E+00"}));

    // Nothing to paste when the clipboard holds only a picture, or into an empty table.
    auto* picture = new QMimeData;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    picture->setImageData(image);
    QApplication::clipboard()->setMimeData(picture);
    flx->EINFUEGEN(-1);
    EXPECT_EQ(Column(*grid, 1), (QStringList{"a", "c", "1,50", "3,00"}));
    QApplication::clipboard()->setText(QStringLiteral("x\tx\rx\tx"));
    grid->setEnabledFlag(false);
    flx->EINFUEGEN(-1);
    EXPECT_EQ(Column(*grid, 1), (QStringList{"a", "c", "1,50", "3,00"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, DraggingFromTheRightEdgeOfACellFillsDownwards)
{
    bindLayerTable();
    wire();
    grid->setRows(6);
    grid->setTextMatrix(3, 1, QStringLiteral("7,00"));
    grid->setTextMatrix(5, 1, QStringLiteral("9,00"));

    // A press in the right 15 % of the cell arms the fill (cross pointer); the drag
    // copies the cell into the rows below.
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 3, 1, 0.9));
    EXPECT_EQ(grid->MousePointer(), 2);
    EXPECT_EQ(grid->viewport()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(grid->viewport(), CellPoint(*grid, 5, 1, 0.9));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 5, 1, 0.9));
    EXPECT_EQ(Column(*grid, 1), (QStringList{"", "", "7,00", "7,00", "7,00"}));
    EXPECT_EQ(grid->MousePointer(), 0);

    // Upwards nothing is filled; a press elsewhere in the cell only selects.
    grid->setTextMatrix(5, 1, QStringLiteral("9,00"));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 5, 1, 0.9));
    QTest::mouseMove(grid->viewport(), CellPoint(*grid, 3, 1, 0.9));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 3, 1, 0.9));
    EXPECT_EQ(Column(*grid, 1), (QStringList{"", "", "7,00", "7,00", "9,00"}));
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 5, 1, 0.5));
    EXPECT_EQ(grid->MousePointer(), 0);
    QTest::mouseMove(grid->viewport(), CellPoint(*grid, 2, 1));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 2, 1));
    EXPECT_EQ(Column(*grid, 1), (QStringList{"", "", "7,00", "7,00", "9,00"}));

    // A value still open in the editor is committed first; the fill then covers its cell.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 4, 1));
    QTest::keyClick(grid, '5');
    ASSERT_FALSE(txt->isHidden());
    QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 3, 1, 0.9));
    QTest::mouseMove(grid->viewport(), CellPoint(*grid, 5, 1, 0.9));
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*grid, 5, 1, 0.9));
    EXPECT_TRUE(txt->isHidden());
    EXPECT_EQ(Column(*grid, 1), (QStringList{"", "", "7,00", "7,00", "7,00"}));

    // The zone is open at both ends: exactly 85 % does not arm.
    grid->setRow(1);
    grid->setCol(1);
    const float left = float(grid->CellLeft()), width = float(grid->CellWidth());
    flx->BEARBEITEN(-2, left + 0.85f * width);
    EXPECT_EQ(grid->MousePointer(), 0);
    flx->BEARBEITEN(-2, left + 0.90f * width);
    EXPECT_EQ(grid->MousePointer(), 2);
    flx->BEARBEITEN(-2, left + width);
    EXPECT_EQ(grid->MousePointer(), 0);
    EXPECT_TRUE(boxes().empty());
}
