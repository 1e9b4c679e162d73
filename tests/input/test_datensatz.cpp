// Saving the input window's record into E1 to E5 and loading it back: the rows a save
// leaves, matching rows on a second save, an open of a partial record, and the three
// ways a save could lose or garble what the user typed.
#include "EingabeFixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

// The rows of one table of a record without its ID, in the order they were added.
QStringList Rows(TempProject& p, const QString& table, int32_t id)
{
    return RowTexts(p.cnnX(), QStringLiteral("SELECT * FROM [%1] WHERE [ID]=%2 ORDER BY rowid").arg(table).arg(id), 1);
}

int Count(TempProject& p, const QString& table)
{
    return CLng(p.scalar(QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(table)));
}

} // namespace

// Fills the data rows of grid i, one text per cell of columns 1 and 2, numbered.
void EingabeTest::Fill(int i, const std::vector<std::pair<QString, QString>>& rows)
{
    FlexGrid& g = *window->msgFLX[size_t(i)];
    g.setRows(g.FixedRows() + int(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        g.setTextMatrix(int(r) + 1, 1, rows[r].first);
        g.setTextMatrix(int(r) + 1, 2, rows[r].second);
    }
    window->FLX(i).NUMMERIEREN();
}

TEST_F(EingabeTest, UntouchedNewRecordKeepsOneNumberedRowPerSide)
{
    // The levels are missing: OK in the warning keeps the record unfinished.
    project.dialogs().msgAnswers = {MsgResult::OK};
    ASSERT_TRUE(Save(1));
    EXPECT_EQ(Rows(project, QStringLiteral("E1"), 1), QStringList{"W|Null|True"});
    EXPECT_EQ(Rows(project, QStringLiteral("E2"), 1), QStringList{"Null|Null"});
    for (const char* table : {"E3", "E4", "E5"})
        EXPECT_EQ(Rows(project, QLatin1String(table), 1), (QStringList{"1|0|Null|Null", "2|0|Null|Null"})) << table;
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Kein Wert in Tremolspiegelkoten, links.\n"
                                              "Ohne beide Tremolspiegelkoten kann der Datensatz nicht berechnet werden.\n"
                                              "OK speichert den Datensatz, wie er ist, Abbrechen kehrt zum Feld zurück."));
}

TEST_F(EingabeTest, TypedRecordIsStoredAndOpensAgainFormatted)
{
    const LocaleScope german(German());
    window->txtKEN->setText(QStringLiteral("Wand 1"));
    window->txtKOM->setText(QStringLiteral("Baugrube Nord"));
    Levels(QStringLiteral("-1,5"), QStringLiteral("2"));
    Fill(0, {{"0", "0"}, {"1,5", "1E-05"}, {"12,25", "2,5E-4"}});
    Fill(1, {{"0,5", "0"}});
    Fill(2, {{"-1", "0"}, {"-1", "6,75"}});
    Fill(3, {{"4", "0"}});
    Fill(4, {{"-1", "-3"}, {"-1", "6"}});
    Fill(5, {{"4", "-3"}, {"4", "6"}});
    ASSERT_TRUE(Save(7));

    EXPECT_EQ(Rows(project, QStringLiteral("E1"), 7), QStringList{"Wand 1|Baugrube Nord|True"});
    EXPECT_EQ(Rows(project, QStringLiteral("E2"), 7), QStringList{"-1,5|2"});
    EXPECT_EQ(Rows(project, QStringLiteral("E3"), 7),
              (QStringList{"1|0|0|0", "1|1|1,5|1E-05", "1|2|12,25|0,00025", "2|0|0,5|0"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 7), (QStringList{"1|0|-1|0", "1|1|-1|6,75", "2|0|4|0"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E5"), 7), (QStringList{"1|0|-1|-3", "1|1|-1|6", "2|0|4|-3", "2|1|4|6"}));
    // Numbers, not texts: the calculation reads them as such.
    EXPECT_EQ(CStr(project.scalar(QStringLiteral("SELECT typeof([KF]) FROM [E3] WHERE [I1]=1"))), QStringLiteral("real"));

    Load();
    window->OEFFNEN(7);
    EXPECT_EQ(window->txtKEN->text(), QStringLiteral("Wand 1"));
    EXPECT_EQ(window->txtKOM->text(), QStringLiteral("Baugrube Nord"));
    EXPECT_EQ(window->txtZGWLS->text(), QStringLiteral("-1,5"));
    EXPECT_EQ(window->txtZGWRS->text(), QStringLiteral("2"));
    EXPECT_EQ(Column(0, 0), (QStringList{"0", "1", "2"}));
    EXPECT_EQ(Column(0, 1), (QStringList{"0,00", "1,50", "12,25"}));
    EXPECT_EQ(Column(0, 2), (QStringList{"0,00E+00", "1,00E-05", "2,50E-04"}));
    EXPECT_EQ(Column(1, 1), QStringList{"0,50"});
    EXPECT_EQ(Column(2, 2), (QStringList{"0,00", "6,75"}));
    EXPECT_EQ(Column(5, 1), (QStringList{"4,00", "4,00"}));
    EXPECT_EQ(Column(5, 2), (QStringList{"-3,00", "6,00"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EingabeTest, SavingAgainMatchesTheRowsToTheTables)
{
    // Rows without their k-values, kept all the same (OK in the warning of each save).
    project.dialogs().msgAnswers = {MsgResult::OK, MsgResult::OK, MsgResult::OK};
    Fill(0, {{"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""}});
    ASSERT_TRUE(Save(3));
    ASSERT_EQ(Rows(project, QStringLiteral("E3"), 3).size(), 6);

    Load();
    Fill(0, {{"1", ""}, {"2", ""}, {"3", ""}});
    ASSERT_TRUE(Save(3));
    EXPECT_EQ(Rows(project, QStringLiteral("E3"), 3), (QStringList{"1|0|1|Null", "1|1|2|Null", "1|2|3|Null", "2|0|Null|Null"}));

    Fill(1, {{"7", ""}, {"8", ""}});
    // The left structure becomes the empty table: its rows go.
    window->msgFLX[4]->setRow(1);
    window->cmdW[4]->click();
    ASSERT_TRUE(Save(3));
    EXPECT_EQ(Rows(project, QStringLiteral("E3"), 3),
              (QStringList{"1|0|1|Null", "1|1|2|Null", "1|2|3|Null", "2|0|7|Null", "2|1|8|Null"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E5"), 3), QStringList{"2|0|Null|Null"});
    EXPECT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Count(project, QStringLiteral("E1")), 1);
    EXPECT_EQ(Count(project, QStringLiteral("E2")), 1);
}

TEST_F(EingabeTest, OpeningAPartialRecordLeavesTheMissingPartsEmpty)
{
    project.exec(QStringLiteral("INSERT INTO [E1] VALUES (4,'Teil',Null,1)"));
    project.exec(QStringLiteral("INSERT INTO [E5] VALUES (4,1,0,2,-3)"));
    project.exec(QStringLiteral("INSERT INTO [E5] VALUES (4,1,1,2,Null)"));
    window->txtKOM->setText(QStringLiteral("vorher"));
    window->OEFFNEN(4);
    EXPECT_EQ(window->txtKEN->text(), QStringLiteral("Teil"));
    EXPECT_EQ(window->txtKOM->text(), QString());
    EXPECT_EQ(window->txtZGWLS->text(), QString());
    EXPECT_EQ(window->txtZGWRS->text(), QString());
    // Without rows a table is the empty table, showing only its running number.
    const FlexGrid& rechts = *window->msgFLX[5];
    EXPECT_FALSE(rechts.Enabled());
    EXPECT_EQ(rechts.BackColor(), rechts.BackColorFixed());
    EXPECT_EQ(Column(5, 0), QStringList{"0"});
    EXPECT_EQ(Column(5, 1), QStringList{""});
    // The structure tables are refreshed too.
    EXPECT_TRUE(window->msgFLX[4]->Enabled());
    EXPECT_EQ(Column(4, 1), (QStringList{"2,00", "2,00"}));
    EXPECT_EQ(Column(4, 2), (QStringList{"-3,00", ""}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EingabeTest, BlankDesignationIsRefusedBeforeAnythingIsWritten)
{
    window->txtKEN->setText(QStringLiteral("  "));
    window->txtZGWLS->setFocus();
    project.dialogs().msgAnswers = {MsgResult::OK};
    EXPECT_FALSE(window->PRUEFEN());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Datensatzkennzeichnung fehlt!"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(QApplication::focusWidget(), window->txtKEN);
    for (const char* table : {"E1", "E2", "E3", "E4", "E5"})
        EXPECT_EQ(Count(project, QLatin1String(table)), 0) << table;
}

TEST_F(EingabeTest, ValueStillInACellEditorIsSaved)
{
    ShowTab(2);
    ClickCell(3, 1, 2);
    QTest::keyClick(window->msgFLX[3], '8');
    ASSERT_FALSE(window->txtFLX[3]->isHidden());
    QTest::keyClicks(window->txtFLX[3], QStringLiteral(",5"));
    project.dialogs().msgAnswers = {MsgResult::OK};   // its row has no x yet
    ASSERT_TRUE(Save(2));
    EXPECT_TRUE(window->txtFLX[3]->isHidden());
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 2), (QStringList{"1|0|Null|Null", "2|0|Null|8,5"}));
}

TEST_F(EingabeTest, TextInAValueCellIsRefusedNotStored)
{
    // What the tables could not store as a number stops the save before anything is
    // written (a pasted text, a number beyond a Single), and the window shows the place.
    const QString deNot = QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!\nDer Datensatz wurde nicht gespeichert.");
    const QString enNot = QStringLiteral("Type of value is not numeric!\nThe record was not saved.");
    struct Case {
        int grid, row, col;   // a data row, counted from 0
        const char* text;
        int sprache;
        QString box;
    } cases[] = {
        {3, 0, 1, "1.500", 3, QStringLiteral("Stromlinie, Rechte Seite, Zeile 0, Spalte x: \"1.500\"\n") + deNot},
        {0, 1, 1, " abc ", 3, QStringLiteral("Schichten, Linke Seite, Zeile 1, Spalte z: \"abc\"\n") + deNot},
        {1, 0, 2, "1E40", 3, QStringLiteral("Schichten, Rechte Seite, Zeile 0, Spalte kf: \"1E40\"\n") + deNot},
        {4, 1, 2, "1,2,3", 1, QStringLiteral("Bauwerk, Linke Seite, row 1, column z: \"1,2,3\"\n") + enNot},
        {-1, 0, 0, "hoch", 3, QStringLiteral("Tremolspiegelkoten, rechts: \"hoch\"\n") + deNot},
        // The box of the level is never left: the save tests it as leaving it would.
        {-1, 0, 0, "5000", 3,
         QStringLiteral("Tremolspiegelkoten, rechts: \"5000\"\nZahlenwert außerhalb der vorgegeben Schranken:\r\n"
                        "Minimum: -1000, Maximum: 1000\nDer Datensatz wurde nicht gespeichert.")},
        {-1, 0, 0, "1E-50", 3, QStringLiteral("Tremolspiegelkoten, rechts: \"1E-50\"\n") + deNot},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        project.ctx().SPRACHE = c.sprache;
        Load();
        for (int i = 0; i < 6; ++i)
            Fill(i, {{"1", "2"}, {"3", "4"}});
        if (c.grid < 0)
            window->txtZGWRS->setText(QString::fromLatin1(c.text));
        else
            window->msgFLX[size_t(c.grid)]->setTextMatrix(c.row + 1, c.col, QString::fromLatin1(c.text));
        window->txtKOM->setFocus();
        project.dialogs().shown.clear();
        project.dialogs().msgAnswers = {MsgResult::OK};
        EXPECT_FALSE(window->PRUEFEN());
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, c.box);
        EXPECT_EQ(Boxes()[0].title, QStringLiteral("Datenfehler"));
        EXPECT_EQ(Boxes()[0].buttons, MsgButtons::OK);
        for (const char* table : {"E1", "E2", "E3", "E4", "E5"})
            EXPECT_EQ(Count(project, QLatin1String(table)), 0) << table;
        // The window shows the place.
        if (c.grid < 0) {
            EXPECT_EQ(window->SSTab->currentIndex(), 0);
            EXPECT_EQ(QApplication::focusWidget(), window->txtZGWRS);
            continue;
        }
        const FlexGrid* g = window->msgFLX[size_t(c.grid)];
        EXPECT_EQ(window->SSTab->currentIndex(), 1 + c.grid / 2);
        EXPECT_EQ(QApplication::focusWidget(), g);
        EXPECT_EQ(g->Row(), c.row + 1);
        EXPECT_EQ(g->Col(), c.col);
    }
}

TEST_F(EingabeTest, RowWithSomeOfItsValuesWarnsBeforeTheSave)
{
    Levels(QStringLiteral("1"), QStringLiteral("2"));
    for (int i = 0; i < 6; ++i)
        Fill(i, {{"1", "2"}, {"3", "4"}});
    Fill(2, {{"1", "2"}, {"5", ""}});
    Fill(5, {{"", "7"}});
    // Cancel goes back to the first such cell with nothing written.
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    EXPECT_FALSE(Save(6));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Kein Wert in Stromlinie, Linke Seite, Zeile 1, Spalte z.\n"
                                              "Eine Zeile ohne alle ihre Werte kann nicht berechnet werden.\n"
                                              "OK speichert den Datensatz, wie er ist, Abbrechen kehrt zur Zelle zurück."));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Unvollständige Eingabe"));
    EXPECT_EQ(Boxes()[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(Boxes()[0].icon, MsgIcon::Exclamation);
    for (const char* table : {"E1", "E2", "E3", "E4", "E5"})
        EXPECT_EQ(Count(project, QLatin1String(table)), 0) << table;
    EXPECT_EQ(window->SSTab->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), window->msgFLX[2]);
    EXPECT_EQ(window->msgFLX[2]->Row(), 2);
    EXPECT_EQ(window->msgFLX[2]->Col(), 2);

    // OK keeps the unfinished input as it stands.
    project.dialogs().msgAnswers = {MsgResult::OK};
    EXPECT_TRUE(Save(6));
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 6), (QStringList{"1|0|1|2", "1|1|5|Null", "2|0|1|2", "2|1|3|4"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E5"), 6), (QStringList{"1|0|1|2", "1|1|3|4", "2|0|Null|7"}));

    // The first k-value, which belongs to no section, is no matter.
    Load();
    Levels(QStringLiteral("1"), QStringLiteral("2"));
    Fill(0, {{"0", ""}, {"2", "1E-4"}});
    EXPECT_TRUE(Save(7));
    EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(EingabeTest, WhollyEmptyRowsAreLeftOutAtTheEndAndWarnedOfBetween)
{
    Levels(QStringLiteral("1"), QStringLiteral("2"));
    // An extra Enter on the last cell, or an inserted row, leaves rows that hold nothing.
    Fill(0, {{"0", "0"}, {"2", "1"}, {"", ""}, {"", ""}});
    Fill(3, {{"4", "6"}, {"", ""}});
    EXPECT_TRUE(Save(7));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Rows(project, QStringLiteral("E3"), 7), (QStringList{"1|0|0|0", "1|1|2|1", "2|0|Null|Null"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 7), (QStringList{"1|0|Null|Null", "2|0|4|6"}));

    // One between filled rows cannot be calculated: Cancel goes to it, OK stores it.
    Load();
    Levels(QStringLiteral("1"), QStringLiteral("2"));
    Fill(3, {{"4", "6"}, {"", ""}, {"5", "7"}, {"", ""}});
    project.dialogs().msgAnswers = {MsgResult::Cancel, MsgResult::OK};
    EXPECT_FALSE(Save(7));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Leere Zeile in Stromlinie, Rechte Seite, Zeile 1.\n"
                                              "Eine leere Zeile zwischen gefüllten Zeilen kann nicht berechnet werden.\n"
                                              "OK speichert den Datensatz, wie er ist, Abbrechen kehrt zur Zelle zurück."));
    EXPECT_EQ(QApplication::focusWidget(), window->msgFLX[3]);
    EXPECT_EQ(window->msgFLX[3]->Row(), 2);
    EXPECT_EQ(window->msgFLX[3]->Col(), 1);
    EXPECT_TRUE(Save(7));
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 7), (QStringList{"1|0|Null|Null", "2|0|4|6", "2|1|Null|Null", "2|2|5|7"}));
}

namespace {

// The stored values of a record's table exactly as the file holds them, row by row in
// the order of the columns given first.
QString Exact(TempProject& p, const QString& table, const QString& order, const QString& format, const QString& columns)
{
    return CStr(p.scalar(QStringLiteral("SELECT group_concat(v, ';') FROM (SELECT printf('%1', %2) AS v FROM [%3] "
                                        "WHERE [ID]=4 ORDER BY %4)")
                             .arg(format, columns, table, order)));
}

} // namespace

TEST_F(EingabeTest, SaveKeepsEveryValueNobodyEdited)
{
    // Values finer than the tables show them (written by other means), a designation
    // longer than its box and a comment longer than its box.
    const QString ken = QStringLiteral("Überlange Kennung");
    const QString kom = QStringLiteral("Ein Kommentar, länger als die fünfzig Zeichen, die das Feld fasst");
    project.exec(QStringLiteral("INSERT INTO [E1] VALUES (4,'%1','%2',1)").arg(ken, kom));
    project.exec(QStringLiteral("INSERT INTO [E2] VALUES (4,-2.125,1.0000001)"));
    project.exec(QStringLiteral("INSERT INTO [E3] VALUES (4,1,0,0,0), (4,1,1,1.125,1.5258789e-05), "
                                "(4,1,2,1.1289062,0.00012207031), (4,2,0,0,0), (4,2,1,3.0000002,1e-45)"));
    project.exec(QStringLiteral("INSERT INTO [E4] VALUES (4,1,0,0.005859375,0), (4,2,0,4,0.0039)"));
    project.exec(QStringLiteral("INSERT INTO [E5] VALUES (4,1,0,0,-3.0078125), (4,2,0,4,-3)"));
    const auto stored = [&] {
        QStringList t{Exact(project, QStringLiteral("E1"), QStringLiteral("ID"), QStringLiteral("%s|%s|%d"),
                            QStringLiteral("KEN, KOM, AKT")),
                      Exact(project, QStringLiteral("E2"), QStringLiteral("ID"), QStringLiteral("%.17g|%.17g"),
                            QStringLiteral("ZGWLS, ZGWRS"))};
        for (const char* table : {"E3", "E4", "E5"}) {
            const bool layers = table == QLatin1String("E3");
            const QString index = QStringLiteral("I%1").arg(table[1] - '2');
            t << Exact(project, QLatin1String(table), QStringLiteral("K, ") + index, QStringLiteral("%d|%d|%.17g|%.17g"),
                       QStringLiteral("K, %1, %2").arg(index, layers ? QStringLiteral("Z, KF") : QStringLiteral("X, Z")));
        }
        return t;
    };
    const QStringList before = stored();
    window->OEFFNEN(4);
    // The boxes and cells show what they can hold, in their patterns.
    EXPECT_EQ(window->txtKEN->text(), ken.left(12));
    EXPECT_EQ(window->txtKOM->text(), kom.left(50));
    EXPECT_EQ(window->KEN(), ken);
    const QString sep = DecimalSeparatorOf(ProgramLocale());
    EXPECT_EQ(Column(0, 1), (QStringList{"0.00", "1.13", "1.13"}).replaceInStrings(QStringLiteral("."), sep));

    // Saved without an edit, and with an edit only committed unchanged (a double click and
    // Enter), the record is stored as it was, to the bit.
    QTest::mouseDClick(window->msgFLX[0]->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*window->msgFLX[0], 2, 1));
    ASSERT_FALSE(window->txtFLX[0]->isHidden());
    QTest::keyClick(window->txtFLX[0], Qt::Key_Return);
    ASSERT_TRUE(Save(4));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(stored(), before);

    // A typed or pasted value is stored as its cell shows it; a row inserted above others
    // moves their values along.
    Load();
    window->OEFFNEN(4);
    ShowTab(1);
    ClickCell(0, 2, 1);
    TypeCell(0, QStringLiteral("2"));
    ClickCell(1, 2, 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    QTest::keyClick(window->msgFLX[1], Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(window->msgFLX[1]->TextMatrix(2, 1), QStringLiteral("7") + sep + QStringLiteral("00"));
    window->msgFLX[0]->setRow(2);
    window->cmdH[0]->click();
    window->msgFLX[0]->setTextMatrix(2, 1, QStringLiteral("1"));
    window->msgFLX[0]->setTextMatrix(2, 2, QStringLiteral("0"));
    ASSERT_TRUE(Save(4));
    EXPECT_EQ(Exact(project, QStringLiteral("E3"), QStringLiteral("K, I1"), QStringLiteral("%d|%.17g|%.17g"),
                    QStringLiteral("I1, Z, KF")),
              QStringLiteral("0|0|0;1|1|0;2|2|1.5258789e-05;3|1.1289062|0.00012207031;0|0|0;1|7|9.999999999999999e-46"));
}

// One text gives one stored value, typed or pasted (Ctrl+V or "Einfügen"): the value its
// cell shows after the commit, in the column's pattern. A pasted text a cell would refuse
// pastes nothing.
TEST_F(EingabeTest, TypedAndPastedTextsAreStoredAlikeAsTheirCellsShowThem)
{
    const LocaleScope german(German());
    Levels(QStringLiteral("1"), QStringLiteral("2"));
    Fill(0, {{"0", "0"}, {"", ""}, {"", ""}});
    Fill(2, {{"", ""}, {"", ""}});
    const auto type = [&](int i, int row, int col, const QString& text) {
        ClickCell(i, row, col);
        TypeCell(i, text);
    };
    // Selects the two value cells of a row, as Shift and an arrow key do.
    const auto selectRow = [&](int i, int row) {
        ClickCell(i, row, 1);
        QTest::keyClick(window->msgFLX[size_t(i)], Qt::Key_Right, Qt::ShiftModifier);
    };
    ShowTab(1);
    type(0, 2, 1, QStringLiteral("3,456"));
    type(0, 2, 2, QStringLiteral("1,2345E-04"));
    selectRow(0, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("3,456\t1,2345E-04\r\n"));
    QTest::keyClick(window->msgFLX[0], Qt::Key_V, Qt::ControlModifier);
    ShowTab(2);
    type(2, 1, 1, QStringLiteral("0,005"));
    type(2, 1, 2, QStringLiteral("3,456"));
    selectRow(2, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("0,005\t3,456"));
    QTest::mouseClick(window->cmdE[2], Qt::LeftButton);
    EXPECT_EQ(Column(0, 1), (QStringList{"0", "3,46", "3,46"}));
    EXPECT_EQ(Column(0, 2), (QStringList{"0,00E+00", "1,23E-04", "1,23E-04"}));
    EXPECT_EQ(Column(2, 1), (QStringList{"0,01", "0,01"}));
    EXPECT_EQ(Column(2, 2), (QStringList{"3,46", "3,46"}));
    EXPECT_TRUE(Boxes().empty());

    // A block with a slip is refused as a whole, with the typed value's box naming the text.
    selectRow(2, 2);
    QGuiApplication::clipboard()->setText(QStringLiteral("7\t1.500"));
    project.dialogs().msgAnswers = {MsgResult::OK};
    QTest::keyClick(window->msgFLX[2], Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("\"1.500\"\nEingegeber Wert ist kein gültiges Zahlenformat!"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("MSFlexGrid / Spalte z"));
    EXPECT_EQ(Column(2, 1), (QStringList{"0,01", "0,01"}));
    EXPECT_EQ(Column(2, 2), (QStringList{"3,46", "3,46"}));

    ASSERT_TRUE(Save(4));
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Rows(project, QStringLiteral("E3"), 4),
              (QStringList{"1|0|0|0", "1|1|3,46|0,000123", "1|2|3,46|0,000123", "2|0|Null|0"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 4), (QStringList{"1|0|0,01|3,46", "1|1|0,01|3,46", "2|0|Null|Null"}));
}

TEST_F(EingabeTest, HostileTextsAreRefusedWhereTypedOrStoredAsTyped)
{
    const LocaleScope german(German());
    struct Case {
        QString text;
        bool number;        // a number field takes it
        bool designation;   // the designation takes it
    };
    const Case cases[] = {
        {QStringLiteral("1e40"), false, true},  {QStringLiteral("-1e40"), false, true},
        {QStringLiteral("abc"), false, true},   {QStringLiteral("0"), true, true},
        {QStringLiteral("-1"), true, true},     {QString(), true, false},
        {QStringLiteral("   "), true, false},   {QString(10000, QLatin1Char('9')), false, true},
        {QString(QChar(0)), true, false},   // a NUL types nothing
        {QStringLiteral("'; DROP TABLE E1; --"), false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.left(24).toStdString());
        Load();
        project.exec(QStringLiteral("DELETE FROM [E1]"));
        project.dialogs().shown.clear();
        size_t boxes = 0;
        // Real key events; a NUL has no key of its own, so its event carries the character
        // only. The middle of a long text is put in at once (typing it would take seconds).
        const auto keys = [](QLineEdit* w, const QString& text) {
            for (qsizetype i = 0; i < text.size(); ++i) {
                const QChar ch = text.at(i);
                if (i == 1 && text.size() > 40) {
                    w->insert(text.mid(1, text.size() - 2));
                    i = text.size() - 2;
                } else if (ch == QChar(0)) {
                    QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
                } else {
                    QTest::keyClicks(w, QString(ch));
                }
            }
        };
        const auto typeInto = [&](QLineEdit* box, bool takes) {
            box->setFocus();
            box->clear();
            keys(box, c.text);
            if (!takes)
                project.dialogs().msgAnswers = {MsgResult::OK};
            QTest::keyClick(box, Qt::Key_Tab);
            EXPECT_EQ(Boxes().size(), boxes += takes ? 0 : 1);
            EXPECT_EQ(QApplication::focusWidget() == box, !takes);
        };
        typeInto(window->txtKEN, c.designation);
        if (!c.designation)
            window->txtKEN->setText(QStringLiteral("W"));
        typeInto(window->txtZGWLS, c.number);
        if (!c.number)
            window->txtZGWLS->clear();
        window->txtZGWRS->setText(QStringLiteral("0"));

        // A cell: the first character opens the editor (a blank or a NUL opens none, and
        // types nothing into a box either).
        ShowTab(2);
        ClickCell(2, 1, 1);
        const bool opens = !Trim(c.text).isEmpty() && c.text.at(0) != QChar(0);
        if (opens) {
            if (!c.number)
                project.dialogs().msgAnswers = {MsgResult::OK};
            QTest::keyClick(window->msgFLX[2], c.text.at(0).toLatin1());
            keys(window->txtFLX[2], c.text.mid(1));
            QTest::keyClick(window->txtFLX[2], Qt::Key_Return);
            EXPECT_EQ(Boxes().size(), boxes += c.number ? 0 : 1);
            EXPECT_EQ(window->txtFLX[2]->isHidden(), c.number);
            QTest::keyClick(window->txtFLX[2], Qt::Key_Escape);
        }
        const QString cell = window->msgFLX[2]->TextMatrix(1, 1);
        EXPECT_EQ(cell, opens && c.number ? CStr(Variant(c.text)) + QStringLiteral(",00") : QString());

        // What was taken is stored as it stands, and no text reaches the database as SQL.
        project.dialogs().msgAnswers = {MsgResult::OK};   // warnings of missing values: keep unfinished
        ASSERT_TRUE(Save(1));
        project.dialogs().msgAnswers.clear();
        EXPECT_EQ(CStr(project.scalar(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=1"))),
                  c.designation ? c.text.left(12) : QStringLiteral("W"));
        const Variant level = project.scalar(QStringLiteral("SELECT [ZGWLS] FROM [E2] WHERE [ID]=1"));
        EXPECT_EQ(level.isNull() ? QString() : CStr(level), c.number && opens ? c.text : QString());
        EXPECT_EQ(CLng(project.scalar(QStringLiteral("SELECT COUNT(*) FROM [E4] WHERE [ID]=1 AND [X] IS NOT NULL"))),
                  cell.isEmpty() ? 0 : 1);
        project.exec(QStringLiteral("DELETE FROM [E2]"));
        project.exec(QStringLiteral("DELETE FROM [E3]"));
        project.exec(QStringLiteral("DELETE FROM [E4]"));
        project.exec(QStringLiteral("DELETE FROM [E5]"));
    }
}
