// Saving the input window's record into E1 to E5 and loading it back: the rows a save
// leaves, matching rows on a second save, an open of a partial record, and the three
// ways a save could lose or garble what the user typed.
#include "EingabeFixture.h"

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
    ASSERT_TRUE(window->OK(1));
    EXPECT_EQ(Rows(project, QStringLiteral("E1"), 1), QStringList{"W|Null|True"});
    EXPECT_EQ(Rows(project, QStringLiteral("E2"), 1), QStringList{"Null|Null"});
    for (const char* table : {"E3", "E4", "E5"})
        EXPECT_EQ(Rows(project, QLatin1String(table), 1), (QStringList{"1|0|Null|Null", "2|0|Null|Null"})) << table;
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EingabeTest, TypedRecordIsStoredAndOpensAgainFormatted)
{
    const LocaleScope german(German());
    window->txtKEN->setText(QStringLiteral("Wand 1"));
    window->txtKOM->setText(QStringLiteral("Baugrube Nord"));
    window->txtZGWLS->setText(QStringLiteral("-1,5"));
    window->txtZGWRS->setText(QStringLiteral("2"));
    Fill(0, {{"0", "0"}, {"1,5", "1E-05"}, {"12,25", "2,5E-4"}});
    Fill(1, {{"0,5", "0"}});
    Fill(2, {{"-1", "0"}, {"-1", "6,75"}});
    Fill(3, {{"4", "0"}});
    Fill(4, {{"-1", "-3"}, {"-1", "6"}});
    Fill(5, {{"4", "-3"}, {"4", "6"}});
    ASSERT_TRUE(window->OK(7));

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
    ASSERT_TRUE(window->OK(3));
    ASSERT_EQ(Rows(project, QStringLiteral("E3"), 3).size(), 6);

    Load();
    Fill(0, {{"1", ""}, {"2", ""}, {"3", ""}});
    ASSERT_TRUE(window->OK(3));
    EXPECT_EQ(Rows(project, QStringLiteral("E3"), 3), (QStringList{"1|0|1|Null", "1|1|2|Null", "1|2|3|Null", "2|0|Null|Null"}));

    Fill(1, {{"7", ""}, {"8", ""}});
    // The left structure becomes the empty table: its rows go.
    window->msgFLX[4]->setRow(1);
    window->cmdW[4]->click();
    ASSERT_TRUE(window->OK(3));
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
    EXPECT_FALSE(window->OK(1));
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
    ASSERT_TRUE(window->OK(2));
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
        EXPECT_FALSE(window->OK(5));
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
    for (int i = 0; i < 6; ++i)
        Fill(i, {{"1", "2"}, {"3", "4"}});
    Fill(2, {{"1", "2"}, {"5", ""}});
    Fill(5, {{"", "7"}});
    // Cancel goes back to the first such cell with nothing written.
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    EXPECT_FALSE(window->OK(6));
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
    EXPECT_TRUE(window->OK(6));
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Rows(project, QStringLiteral("E4"), 6), (QStringList{"1|0|1|2", "1|1|5|Null", "2|0|1|2", "2|1|3|4"}));
    EXPECT_EQ(Rows(project, QStringLiteral("E5"), 6), (QStringList{"1|0|1|2", "1|1|3|4", "2|0|Null|7"}));

    // Rows left wholly empty, and the first k-value, which belongs to no section, are no matter.
    Load();
    Fill(0, {{"0", ""}, {"2", "1E-4"}, {"", ""}});
    Fill(3, {{"", ""}, {"4", "6"}});
    EXPECT_TRUE(window->OK(7));
    EXPECT_EQ(Boxes().size(), 2u);
}
