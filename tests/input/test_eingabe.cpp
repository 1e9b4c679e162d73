// The input window as a user meets it: its tables as loaded, the checks of the
// designation and the levels, the first k-value, the keys it sees first, the row
// buttons, its layout and a close through its frame.
#include "EingabeFixture.h"

#include <QClipboard>
#include <functional>

TEST_F(EingabeTest, LoadShowsSixNumberedTablesOnTheFirstTab)
{
    mdiEINGABE& w = *window;
    EXPECT_EQ(w.SSTab->currentIndex(), 0);
    const QStringList tabs{"Tremolspiegelkoten", "Schichten", "Stromlinie", "Bauwerk"};
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(w.SSTab->tabText(t), tabs[t]);
    EXPECT_EQ(w.lblKEN->text(), QStringLiteral("Datensatz"));
    EXPECT_EQ(w.lblKOM->text(), QStringLiteral("Kommentar"));
    EXPECT_EQ(w.txtKEN->maxLength(), 12);
    EXPECT_EQ(w.txtKOM->maxLength(), 50);
    EXPECT_EQ(w.lblZGWLS[0]->text(), QStringLiteral("links:   z ="));
    EXPECT_EQ(w.lblZGWRS[0]->text(), QStringLiteral("rechts: z ="));
    EXPECT_EQ(w.lblZGWRS[1]->text(), QStringLiteral("[m]"));
    EXPECT_EQ(w.txtZGWLS->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    for (QWidget* c : {static_cast<QWidget*>(w.lblZGWRS[0]), static_cast<QWidget*>(w.txtZGWRS),
                       static_cast<QWidget*>(w.lblZGWRS[1])})
        EXPECT_EQ(c->toolTip(), QStringLiteral("Z-Koordinate des Grundtremols auf der rechten Seite"));
    EXPECT_EQ(w.txtZGWLS->toolTip(), QStringLiteral("Z-Koordinate des Grundtremols auf der linken Seite"));

    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const FlexGrid& g = *w.msgFLX[i];
        EXPECT_EQ(g.Index(), i);
        EXPECT_EQ(w.fraSEITE[i]->title(), i % 2 ? QStringLiteral("Rechte Seite") : QStringLiteral("Linke Seite"));
        EXPECT_EQ(w.SSTab->indexOf(w.fraSEITE[i]->parentWidget()), 1 + i / 2);
        EXPECT_TRUE(g.Enabled());
        EXPECT_EQ(g.Rows(), 2);
        EXPECT_EQ(g.FixedCols(), 1);
        EXPECT_EQ(Column(i, 0), QStringList{"0"});
        const std::vector<int> widths = i < 2 ? std::vector<int>{680, 850, 1134} : std::vector<int>{680, 850, 850};
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(g.ColWidth(c), widths[size_t(c)]);
        const QStringList titles = i < 2 ? QStringList{"Lfd.", "z", "k{t,1}f"} : QStringList{"Lfd.", "x", "z"};
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(g.TextMatrix(0, c), titles[c]);
        EXPECT_TRUE(w.txtFLX[i]->isHidden());
        EXPECT_EQ(w.cmdH[i]->text(), QStringLiteral("Zeile einfügen"));
        EXPECT_EQ(w.cmdW[i]->text(), QStringLiteral("Zeile entfernen"));
        EXPECT_EQ(w.cmdK[i]->text(), QStringLiteral("Kopieren"));
        EXPECT_EQ(w.cmdE[i]->text(), QStringLiteral("Einfügen"));
    }
    // The title picture lies over the header row once the tab shows.
    ShowTab(1);
    EXPECT_EQ(w.picFLX[0]->width(), PixelsOfTwips(680 + 850 + 1134));
    EXPECT_EQ(w.picFLX[0]->height(), PixelsOfTwips(w.msgFLX[0]->RowHeight(0)));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EingabeTest, LevelBoxesAreCheckedWhenTheUserLeavesThem)
{
    const QString limitsDe = QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:\r\nMinimum: -1000, Maximum: 1000");
    const QString limitsEn = QStringLiteral("Numeric value out of preset limits:\r\nMinimum: -1000, Maximum: 1000");
    const QString left = QStringLiteral("z-Koordinate des GW links; Wert außerhalb der Schranken");
    const QString right = QStringLiteral("z-Koordinate des GW rechts; Wert außerhalb der Schranken");
    struct Case {
        bool rechts;
        const char* text;
        int sprache;
        QString message;   // empty: accepted
    };
    const Case cases[] = {
        {false, "", 3, {}},
        {false, "-1000", 3, {}},
        {true, " 1000 ", 3, {}},
        {false, "1000,01", 3, limitsDe},
        {true, "-1000,5", 3, limitsDe},
        {false, "1000,01", 1, limitsEn},
        {true, "abc", 3, QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!")},
        {true, "1E40", 3, QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!")},   // beyond a Single
        {false, "1E-50", 3, QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!")},   // held as 0
        {false, "abc", 1, QStringLiteral("Type of value is not numeric!")},
        {false, "abc", 2, {}},   // no message in another language, but the focus stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " language " + std::to_string(c.sprache));
        project.ctx().SPRACHE = c.sprache;
        Load();
        project.dialogs().shown.clear();
        if (!c.message.isEmpty())
            project.dialogs().msgAnswers = {MsgResult::OK};
        TextBox* box = c.rechts ? window->txtZGWRS : window->txtZGWLS;
        box->setFocus();
        box->setText(QString::fromUtf8(c.text));
        QTest::keyClick(box, Qt::Key_Tab);
        const bool refused = c.sprache == 2 || !c.message.isEmpty();
        EXPECT_EQ(QApplication::focusWidget() == box, refused);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.text));   // the check works on a copy
        if (c.message.isEmpty()) {
            EXPECT_TRUE(Boxes().empty());
            continue;
        }
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].text, c.message);
        EXPECT_EQ(Boxes()[0].title, c.rechts ? right : left);
        EXPECT_EQ(Boxes()[0].icon, MsgIcon::None);
        EXPECT_EQ(Boxes()[0].buttons, MsgButtons::OK);
    }
}

TEST_F(EingabeTest, BlankDesignationAndBadLevelKeepTheFocusAndTheTab)
{
    window->txtKEN->setText(QStringLiteral("   "));
    project.dialogs().msgAnswers = {MsgResult::OK, MsgResult::OK, MsgResult::OK};
    QTest::mouseClick(window->txtKOM, Qt::LeftButton);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Datensatzkennzeichnung fehlt!"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(Boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(QApplication::focusWidget(), window->txtKEN);

    // A press on a label moves no focus and checks nothing.
    QTest::mouseClick(window->lblKOM, Qt::LeftButton);
    EXPECT_EQ(Boxes().size(), 1u);

    QTest::keyClicks(window->txtKEN, QStringLiteral("W"));
    QTest::mouseClick(window->txtZGWLS, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), window->txtZGWLS);
    QTest::keyClicks(window->txtZGWLS, QStringLiteral("abc"));
    ShowTab(2);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(window->SSTab->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), window->txtZGWLS);
    QTest::keyClick(window->txtZGWLS, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(window->SSTab->currentIndex(), 0);

    window->txtZGWLS->setText(QStringLiteral("-2,5"));
    ShowTab(2);
    EXPECT_EQ(window->SSTab->currentIndex(), 2);
    EXPECT_EQ(Boxes().size(), 3u);
}

TEST_F(EingabeTest, CellsOfEveryTableRefuseWhatIsNoNumberAtEnter)
{
    // No group separators, one decimal sign, and within the range of a Single.
    const QString notNumber = QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!");
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        ShowTab(1 + i / 2);
        const int col = 1 + i % 2;
        // The column as its title reads, without the mark-up of the title picture.
        const char* const titles[] = {"z", "kf", "x", "z", "x", "z"};
        const QString title = QStringLiteral("MSFlexGrid / Spalte ") + QLatin1String(titles[i]);
        // 1E-50, a slip for 1E-05, would be stored as 0 by a Single.
        for (const char* typed : {"1.500", "abc", "1,2,3", "1E40", "1E-50"}) {
            SCOPED_TRACE(typed);
            ClickCell(i, 1, col);
            const QString before = window->msgFLX[size_t(i)]->TextMatrix(1, col);
            project.dialogs().shown.clear();
            project.dialogs().msgAnswers = {MsgResult::OK};
            TypeCell(i, QString::fromLatin1(typed));
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].text, notNumber);
            EXPECT_EQ(Boxes()[0].title, title);
            // The editor keeps the text; the cell keeps its value.
            EXPECT_FALSE(window->txtFLX[size_t(i)]->isHidden());
            EXPECT_EQ(window->txtFLX[size_t(i)]->text(), QString::fromLatin1(typed));
            EXPECT_EQ(window->msgFLX[size_t(i)]->TextMatrix(1, col), before);
            window->txtFLX[size_t(i)]->clear();
            QTest::keyClick(window->txtFLX[size_t(i)], Qt::Key_Return);
        }
        ClickCell(i, 1, col);
        TypeCell(i, QStringLiteral("-1,5"));
        EXPECT_EQ(window->msgFLX[size_t(i)]->TextMatrix(1, col), i < 2 && col == 2 ? QStringLiteral("0,00E+00")
                                                                                    : QStringLiteral("-1,50"));
    }
}

TEST_F(EingabeTest, AfterARefusalTheKeysGoToTheEditorAndEscapeCancelsIt)
{
    Fill(0, {{"0", "0"}, {"3", "1E-04"}});
    window->FLX(0).AKTUALISIEREN();
    ShowTab(1);
    FlexGrid* g = window->msgFLX[0];
    TextBox* editor = window->txtFLX[0];
    ClickCell(0, 2, 2);
    QTest::keyClick(g, '1');
    QTest::keyClicks(editor, QStringLiteral("E-50"));
    // A click on another cell commits the edit; its refusal gives the keyboard back.
    project.dialogs().msgAnswers = {MsgResult::OK};
    ClickCell(0, 2, 1);
    ASSERT_EQ(Boxes().size(), 1u);
    ASSERT_FALSE(editor->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), editor);
    // So the next keys correct the text, and Enter commits it where it was typed,
    // appending no row.
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus, Qt::Key_Backspace);
    QTest::keyClick(focus, Qt::Key_Backspace);
    QTest::keyClicks(focus, QStringLiteral("05"));
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_TRUE(editor->isHidden());
    EXPECT_EQ(g->TextMatrix(2, 2), QStringLiteral("1,00E-05"));
    EXPECT_EQ(g->Rows(), 3);

    // Escape drops an edit: the cell keeps its value, the grid has the keyboard.
    ClickCell(0, 2, 1);
    QTest::keyClick(g, '7');
    ASSERT_FALSE(editor->isHidden());
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(editor->isHidden());
    EXPECT_EQ(editor->text(), QString());
    EXPECT_EQ(g->TextMatrix(2, 1), QStringLiteral("3,00"));
    EXPECT_EQ(QApplication::focusWidget(), g);
    EXPECT_EQ(g->Rows(), 3);
    EXPECT_EQ(Boxes().size(), 1u);

    // The same after a refused save: the window shows the editor with the keyboard in it.
    ClickCell(0, 2, 1);
    QTest::keyClick(g, 'a');
    ShowTab(2);
    project.dialogs().msgAnswers = {MsgResult::OK};
    EXPECT_FALSE(window->PRUEFEN());
    EXPECT_EQ(window->SSTab->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(g->TextMatrix(2, 1), QStringLiteral("3,00"));
}

TEST_F(EingabeTest, FirstKValueIsResetOnTheLayersTabOnly)
{
    ShowTab(1);
    window->msgFLX[1]->setRow(1);
    window->cmdW[1]->click();   // the right layers become the empty table
    ASSERT_FALSE(window->msgFLX[1]->Enabled());
    window->msgFLX[0]->setTextMatrix(1, 2, QStringLiteral("5,00E-04"));
    window->msgFLX[1]->setTextMatrix(1, 2, QStringLiteral("7"));

    // Zero in the column's format, as a loaded record shows it.
    const QString zero = QStringLiteral("0,00E+00");
    ClickCell(0, 1, 1);
    EXPECT_EQ(window->msgFLX[0]->TextMatrix(1, 2), zero);
    EXPECT_EQ(window->msgFLX[1]->TextMatrix(1, 2), zero);

    // Enter in an editor resets too, after its own commit.
    ClickCell(0, 1, 2);
    TypeCell(0, QStringLiteral("3"));
    EXPECT_EQ(window->msgFLX[0]->TextMatrix(1, 2), zero);

    // Edits on the other tabs leave the layers alone.
    window->msgFLX[0]->setTextMatrix(1, 2, QStringLiteral("9"));
    ShowTab(2);
    ClickCell(2, 1, 1);
    TypeCell(2, QStringLiteral("4"));
    EXPECT_EQ(window->msgFLX[2]->TextMatrix(1, 1), QStringLiteral("4,00"));
    EXPECT_EQ(window->msgFLX[0]->TextMatrix(1, 2), QStringLiteral("9"));
}

TEST_F(EingabeTest, NumericPadDecimalKeyTypesTheLocaleSeparator)
{
    for (const bool english : {false, true}) {
        const LocaleScope locale(english ? English() : German());
        const QString separator = english ? QStringLiteral(".") : QStringLiteral(",");
        SCOPED_TRACE(separator.toStdString());
        project.ctx().DEZIMALPUNKT = separator;
        Load();
        const auto padKey = [](QWidget* w) { QTest::keyClick(w, Qt::Key_Period, Qt::KeypadModifier); };
        window->txtKEN->setFocus();
        padKey(window->txtKEN);
        EXPECT_EQ(window->txtKEN->text(), QStringLiteral("W") + separator);

        window->txtZGWRS->setFocus();
        QTest::keyClicks(window->txtZGWRS, QStringLiteral("1"));
        padKey(window->txtZGWRS);
        QTest::keyClicks(window->txtZGWRS, QStringLiteral("5"));
        EXPECT_EQ(window->txtZGWRS->text(), QStringLiteral("1") + separator + QStringLiteral("5"));

        // In a grid the key opens the editor, which then holds the separator.
        ShowTab(1);
        ClickCell(0, 1, 1);
        padKey(window->msgFLX[0]);
        ASSERT_FALSE(window->txtFLX[0]->isHidden());
        EXPECT_EQ(window->txtFLX[0]->text(), separator);
    }
}

TEST_F(EingabeTest, KeysReachTheMainWindowAndTheFocusedGrid)
{
    window->txtKOM->setFocus();
    QTest::keyClick(window->txtKOM, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(window->txtKOM, Qt::Key_Q, Qt::AltModifier);
    EXPECT_EQ(speichern + beenden, 0);   // queued: the save unloads this window
    Settle();
    EXPECT_EQ(speichern, 1);
    EXPECT_EQ(beenden, 1);

    // Copy and paste act on the grid that has the focus.
    ShowTab(3);
    FlexGrid& g = *window->msgFLX[5];
    window->msgFLX[5]->setRows(3);
    g.setTextMatrix(1, 1, QStringLiteral("2,00"));
    g.setTextMatrix(1, 2, QStringLiteral("-3,00"));
    ClickCell(5, 1, 1);
    g.setColSel(2);
    QTest::keyClick(&g, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2,00\t-3,00"));
    ClickCell(5, 2, 1);
    g.setColSel(2);
    QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Column(5, 2), (QStringList{"-3,00", "-3,00"}));
    EXPECT_EQ(Column(4, 1), QStringList{""});

    // In a text box only the box's own keys work.
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    window->txtKOM->setFocus();
    QTest::keyClick(window->txtKOM, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window->txtKOM->text(), QStringLiteral("7"));
    EXPECT_EQ(Column(5, 1), (QStringList{"2,00", "2,00"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EingabeTest, RowButtonsCommitTheOpenEditorAndActOnTheirOwnTable)
{
    ShowTab(3);
    ClickCell(5, 1, 1);
    QTest::keyClick(window->msgFLX[5], '7');
    ASSERT_FALSE(window->txtFLX[5]->isHidden());
    QTest::mouseClick(window->cmdH[5], Qt::LeftButton);
    EXPECT_TRUE(window->txtFLX[5]->isHidden());
    // The row goes in at the current row, above the committed value.
    EXPECT_EQ(Column(5, 1), (QStringList{"", "7,00"}));
    EXPECT_EQ(Column(5, 0), (QStringList{"0", "1"}));
    EXPECT_EQ(Column(4, 0), QStringList{"0"});

    window->msgFLX[5]->setRow(1);
    QTest::mouseClick(window->cmdW[5], Qt::LeftButton);
    EXPECT_EQ(Column(5, 1), QStringList{"7,00"});
}

// A command that commits the open editor before it acts (a fill drag among them) goes
// no further when the commit is refused: the editor stays on its row with its text and the keyboard, and
// the table is as it was. Corrected, the value goes into the row it was typed in.
TEST_F(EingabeTest, RefusedValueStopsTheCommandThatCommitsIt)
{
    struct Command {
        const char* name;
        std::function<void(mdiEINGABE&)> run;
    };
    const Command commands[] = {
        {"Zeile einfügen", [](mdiEINGABE& w) { QTest::mouseClick(w.cmdH[0], Qt::LeftButton); }},
        {"Zeile entfernen", [](mdiEINGABE& w) { QTest::mouseClick(w.cmdW[0], Qt::LeftButton); }},
        {"Einfügen", [](mdiEINGABE& w) { QTest::mouseClick(w.cmdE[0], Qt::LeftButton); }},
        {"Ctrl+V", [](mdiEINGABE& w) {
             // The keyboard goes back to the grid, the editor stays open.
             QTest::keyClick(w.txtFLX[0], Qt::Key_Backtab, Qt::ShiftModifier);
             ASSERT_EQ(QApplication::focusWidget(), w.msgFLX[0]);
             QTest::keyClick(w.msgFLX[0], Qt::Key_V, Qt::ControlModifier);
         }},
        {"fill drag", [](mdiEINGABE& w) {
             // k of row 1 dragged from its right edge down to row 2.
             QWidget* area = w.msgFLX[0]->viewport();
             QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, CellPoint(*w.msgFLX[0], 1, 2, 0.9));
             QTest::mouseMove(area, CellPoint(*w.msgFLX[0], 2, 2, 0.9));
             QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, CellPoint(*w.msgFLX[0], 2, 2, 0.9));
         }},
    };
    struct Slip {
        bool english;
        int row, col;
        const char* typed;
        const char* corrected;
        const char* stored;
    };
    const Slip slips[] = {
        {false, 2, 1, "1.500", "1,5", "1,50"},        // a group separator under German settings
        {true, 2, 1, "4x", "4", "4.00"},
        {false, 2, 2, "1E-50", "1E-05", "1,00E-05"},  // a k-value a Single would hold as 0
        {false, 3, 1, "1.500", "12", "12,00"},        // on the last row
    };
    for (const Slip& slip : slips) {
        for (const Command& command : commands) {
            SCOPED_TRACE(std::string(slip.typed) + " row " + std::to_string(slip.row) + ", " + command.name);
            const LocaleScope locale(slip.english ? English() : German());
            project.ctx().DEZIMALPUNKT = slip.english ? QStringLiteral(".") : QStringLiteral(",");
            Load();
            Fill(0, {{"0", "0"}, {"3", "1E-04"}, {"10", "1E-05"}});
            window->FLX(0).AKTUALISIEREN();
            QStringList z = Column(0, 1), k = Column(0, 2);
            ShowTab(1);
            QGuiApplication::clipboard()->setText(QStringLiteral("99"));
            FlexGrid* g = window->msgFLX[0];
            TextBox* editor = window->txtFLX[0];
            ClickCell(0, slip.row, slip.col);
            QTest::keyClick(g, slip.typed[0]);
            QTest::keyClicks(editor, QString::fromLatin1(slip.typed + 1));
            project.dialogs().shown.clear();
            project.dialogs().msgAnswers = {MsgResult::OK};
            command.run(*window);
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].text, QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!"));
            EXPECT_EQ(Column(0, 1), z);
            EXPECT_EQ(Column(0, 2), k);
            ASSERT_FALSE(editor->isHidden());
            EXPECT_EQ(editor->text(), QString::fromLatin1(slip.typed));
            EXPECT_EQ(QApplication::focusWidget(), editor);
            EXPECT_EQ(window->FLX(0).EZNR(), slip.row);

            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(editor, QString::fromLatin1(slip.corrected));
            QTest::keyClick(editor, Qt::Key_Return);
            EXPECT_TRUE(editor->isHidden());
            (slip.col == 1 ? z : k)[slip.row - 1] = QString::fromLatin1(slip.stored);
            EXPECT_EQ(Column(0, 1), z);
            EXPECT_EQ(Column(0, 2), k);
            EXPECT_EQ(Boxes().size(), 1u);
        }
    }
}

TEST_F(EingabeTest, ResizeCentresTheTabsBelowTheDesignation)
{
    window->resize(1000, 700);
    Settle();
    const double frame = window->fraKEN->height() * double(TwipsPerPixel);
    const double tabTop = 1.5 * frame;
    EXPECT_EQ(window->SSTab->y(), PixelsOfTwips(tabTop));
    EXPECT_EQ(window->SSTab->x(), PixelsOfTwips((1000 - window->SSTab->width()) * double(TwipsPerPixel) / 2));
    EXPECT_EQ(window->fraKEN->y(), PixelsOfTwips(tabTop - 1.15 * frame));
    EXPECT_EQ(window->fraKEN->x(), window->SSTab->x());
}

TEST_F(EingabeTest, CloseThroughTheFrameGoesToTheDiscardCommand)
{
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    Settle();
    EXPECT_EQ(verwerfen, 1);
}
