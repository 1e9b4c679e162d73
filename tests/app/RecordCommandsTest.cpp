// The record commands of the file menu with the record-selection dialog, and the save
// and discard buttons of the input window, driven as a user drives them.
#include "AppFixture.h"
#include "app/frmAUSWAHL.h"
#include "input/mdiEINGABE.h"
#include "platform/Yield.h"
#include "support/GridProbe.h"
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTimer>
#include <deque>
#include <functional>
#include <stdexcept>

namespace {

// Acts on each record-selection dialog in turn as it comes up.
class DialogScript {
public:
    explicit DialogScript(std::deque<std::function<void(frmAUSWAHL&)>> steps) : steps_(std::move(steps))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* d = qobject_cast<frmAUSWAHL*>(QApplication::activeModalWidget());
            if (!d || steps_.empty())
                return;
            captions.push_back(d->windowTitle());
            const auto step = steps_.front();
            steps_.pop_front();
            step(*d);
        });
        timer_.start(5);
    }
    bool done() const { return steps_.empty(); }
    QStringList captions;

private:
    std::deque<std::function<void(frmAUSWAHL&)>> steps_;
    QTimer timer_;
};

QStringList Entries(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// Picks the entry of a designation (none for an empty text) and presses OK.
std::function<void(frmAUSWAHL&)> Choose(const QString& ken)
{
    return [ken](frmAUSWAHL& d) {
        d.lstKEN->clearSelection();
        for (int i = 0; i < d.lstKEN->count(); ++i)
            if (d.lstKEN->item(i)->text() == ken)
                d.lstKEN->setCurrentRow(i);
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    };
}

const std::function<void(frmAUSWAHL&)> KeepAndConfirm = [](frmAUSWAHL& d) { d.cmdOK->click(); };

} // namespace

class RecordCommandsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }

    // The open input window. Without one the running test fails here: going on would end
    // the whole test program on a closed window.
    mdiEINGABE& Input() const
    {
        if (mdiEINGABE* form = main->EINGABE())
            return *form;
        throw std::runtime_error("the input window is not open");
    }
    StatusPanel& Panel(int n) const { return main->stbMAIN->Panels(n); }
    bool InInputState() const
    {
        return Panel(8).Visible() && Panel(9).Visible() && !main->Menu(QStringLiteral("mnuDATEI"))->isEnabled()
               && !main->Menu(QStringLiteral("mnuAUSWERTEN"))->isEnabled()
               && !main->Menu(QStringLiteral("mnuEXTRAS"))->isEnabled();
    }
    bool InRestState() const
    {
        return !main->EINGABE() && !Panel(8).Visible() && !Panel(9).Visible()
               && main->Menu(QStringLiteral("mnuDATEI"))->isEnabled()
               && main->Menu(QStringLiteral("mnuAUSWERTEN"))->isEnabled()
               && main->Menu(QStringLiteral("mnuEXTRAS"))->isEnabled();
    }
    // Lets queued commands and later deletions run.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    // Runs a command that shows the selection dialog, acting on it as given.
    void WithDialog(const std::function<void()>& command, std::deque<std::function<void(frmAUSWAHL&)>> steps,
                    QStringList* captions = nullptr)
    {
        DialogScript script(std::move(steps));
        command();
        EXPECT_TRUE(script.done());
        if (captions)
            *captions = script.captions;
    }

    // Types into the input window as a user: a box, or a table's cells.
    static void TypeBox(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void ShowTab(int t)
    {
        QTabBar* bar = Input().SSTab->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(t).center());
        ASSERT_EQ(Input().SSTab->currentIndex(), t);
    }
    // Types the rows of table i (columns 1 and 2), appending rows with Enter on the last cell.
    void TypeTable(int i, const std::vector<std::pair<QString, QString>>& rows)
    {
        ShowTab(1 + i / 2);
        FlexGrid* g = Input().msgFLX[size_t(i)];
        TextBox* editor = Input().txtFLX[size_t(i)];
        for (size_t r = 0; r < rows.size(); ++r) {
            if (r > 0) {
                g->setRow(g->Rows() - 1);
                g->setCol(2);
                QTest::keyClick(g, Qt::Key_Return);
            }
            for (int c = 1; c <= 2; ++c) {
                const QString text = c == 1 ? rows[r].first : rows[r].second;
                QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*g, int(r) + 1, c));
                QTest::keyClick(g, text.at(0).toLatin1());
                QTest::keyClicks(editor, text.mid(1));
                QTest::keyClick(editor, Qt::Key_Return);
            }
        }
    }
    // A new record with its designation and both levels typed, so that a save need not warn.
    void NewRecord(const QString& ken)
    {
        main->mnuNEU_Click();
        TypeBox(Input().txtKEN, ken);
        TypeBox(Input().txtZGWLS, QStringLiteral("0"));
        TypeBox(Input().txtZGWRS, QStringLiteral("0"));
    }
    void CtrlS()
    {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
        Settle();
    }

    // The rows of a record in a table without its ID, in the order they were added.
    QStringList Rows(const QString& table, int32_t id) const
    {
        return RowTexts(main->cnnX(), QStringLiteral("SELECT * FROM [%1] WHERE [ID]=%2 ORDER BY rowid").arg(table).arg(id),
                        1);
    }
    Variant Value(const QString& sql) const { return ScalarOf(main->cnnX(), sql); }
    QStringList Active() const
    {
        QStringList ken;
        Recordset rs;
        rs.Open(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true ORDER BY [ID]"), main->cnnX());
        for (; !rs.Eof(); rs.MoveNext())
            ken << CStr(rs.Fields(0).Value());
        rs.Close();
        return ken;
    }
    void Sql(const QString& sql) const { main->cnnX()->Execute(sql); }
};

TEST_F(RecordCommandsTest, NewRecordIsTypedSavedWithCtrlSAndOpensAgain)
{
    const LocaleScope german(German());
    main->mnuNEU_Click();
    ASSERT_NE(main->EINGABE(), nullptr);
    EXPECT_TRUE(InInputState());
    EXPECT_EQ(Panel(6).text(), QStringLiteral("-"));
    EXPECT_EQ(Panel(6).toolTip(), QString());
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), main->EINGABE());

    TypeBox(Input().txtKEN, QStringLiteral("Wand3"));
    TypeBox(Input().txtKOM, QStringLiteral("Neue Wand"));
    TypeBox(Input().txtZGWLS, QStringLiteral("-1,5"));
    TypeBox(Input().txtZGWRS, QStringLiteral("0,25"));
    TypeTable(0, {{"0", "0"}, {"2,5", "1E-4"}});
    TypeTable(1, {{"0", "0"}});
    TypeTable(2, {{"0", "0"}, {"0", "8"}});
    TypeTable(3, {{"5", "0"}, {"5", "8"}});
    TypeTable(4, {{"0", "-1"}, {"0", "8"}});
    TypeTable(5, {{"5", "-1"}, {"5", "8"}});
    CtrlS();

    EXPECT_TRUE(InRestState());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(main->Changed());
    EXPECT_EQ(Panel(6).text(), QStringLiteral("Wand3"));
    EXPECT_EQ(Panel(6).toolTip(), QStringLiteral("Neue Wand"));
    EXPECT_EQ(Active(), QStringList{"Wand3"});
    EXPECT_EQ(Rows(QStringLiteral("E1"), 3), QStringList{"Wand3|Neue Wand|True"});
    EXPECT_EQ(Rows(QStringLiteral("E2"), 3), QStringList{"-1,5|0,25"});
    EXPECT_EQ(Rows(QStringLiteral("E3"), 3), (QStringList{"1|0|0|0", "1|1|2,5|0,0001", "2|0|0|0"}));
    EXPECT_EQ(Rows(QStringLiteral("E4"), 3), (QStringList{"1|0|0|0", "1|1|0|8", "2|0|5|0", "2|1|5|8"}));
    EXPECT_EQ(Rows(QStringLiteral("E5"), 3), (QStringList{"1|0|0|-1", "1|1|0|8", "2|0|5|-1", "2|1|5|8"}));

    // Open: the one active record comes back, formatted.
    QStringList captions;
    WithDialog([&] { main->mnuOEFFNEN_Click(); }, {KeepAndConfirm}, &captions);
    EXPECT_EQ(captions, QStringList{"Datei/Öffnen"});
    ASSERT_NE(main->EINGABE(), nullptr);
    EXPECT_TRUE(InInputState());
    EXPECT_EQ(Input().txtKEN->text(), QStringLiteral("Wand3"));
    EXPECT_EQ(Input().txtZGWLS->text(), QStringLiteral("-1,5"));
    const FlexGrid& layers = *Input().msgFLX[0];
    EXPECT_EQ(layers.TextMatrix(2, 1), QStringLiteral("2,50"));
    EXPECT_EQ(layers.TextMatrix(2, 2), QStringLiteral("1,00E-04"));
    EXPECT_EQ(Input().msgFLX[5]->TextMatrix(1, 2), QStringLiteral("-1,00"));
}

TEST_F(RecordCommandsTest, OpenWithoutAnActiveRecordAsksAndShowsTheDialogAgain)
{
    Sql(QStringLiteral("UPDATE [E1] SET [AKT]=0"));
    dialogs->msgAnswers = {MsgResult::OK};
    QStringList captions;
    WithDialog([&] { main->mnuOEFFNEN_Click(); }, {Choose(QString()), Choose(QStringLiteral("Spundwand"))}, &captions);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Es gibt keinen aktuellen Datensatz!"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("&Öffnen"));
    EXPECT_EQ(Boxes()[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(Boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(captions.size(), 2);
    ASSERT_NE(main->EINGABE(), nullptr);
    EXPECT_EQ(Input().txtKEN->text(), QStringLiteral("Spundwand"));
    EXPECT_EQ(Panel(6).text(), QStringLiteral("Spundwand"));

    // Cancel in the message ends the command; the dialog's choice stays written.
    main->stbMAIN_PanelClick(9);
    Settle();
    dialogs->msgAnswers = {MsgResult::Cancel};
    WithDialog([&] { main->mnuOEFFNEN_Click(); }, {Choose(QString())});
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(InRestState());
    EXPECT_TRUE(Active().isEmpty());
}

TEST_F(RecordCommandsTest, SelectShowsTheLastActiveAndWritesTheChoiceByRecord)
{
    // A record without a designation is listed too; the choice must not slip past it.
    Sql(QStringLiteral("INSERT INTO [E1] VALUES (3,'Anker','Ankerwand',1)"));
    Sql(QStringLiteral("INSERT INTO [E1] VALUES (4,NULL,NULL,0)"));
    Sql(QStringLiteral("INSERT INTO [E1] VALUES (0,'M',NULL,1)"));
    Sql(QStringLiteral("UPDATE [E1] SET [AKT]=1"));
    WithDialog([&] { main->mnuAUSWAHL_Click(); }, {[](frmAUSWAHL& d) {
                   EXPECT_EQ(Entries(*d.lstKEN), (QStringList{"", "Anker", "Beispiel", "Spundwand"}));
                   ASSERT_EQ(d.lstKEN->selectedItems().size(), 1);
                   EXPECT_EQ(d.lstKEN->selectedItems()[0]->text(), QStringLiteral("Spundwand"));
                   EXPECT_EQ(d.lstKEN->toolTip(), QString());   // nothing clicked yet
                   d.lstKEN->setCurrentRow(1);
                   EXPECT_EQ(d.lstKEN->toolTip(), QStringLiteral("Ankerwand"));
                   d.lstKEN->setCurrentRow(2);
                   d.cmdOK->click();
               }});
    EXPECT_EQ(Active(), (QStringList{"M", "Beispiel"}));   // the row with ID 0 is none of the dialog's
    EXPECT_TRUE(main->Changed());
    EXPECT_EQ(Panel(6).text(), QStringLiteral("Beispiel,..."));
}

TEST_F(RecordCommandsTest, CancelAndTheWindowFrameLeaveTheSelectionAsItWas)
{
    const QStringList before = Active();
    WithDialog([&] { main->mnuAUSWAHL_Click(); }, {[](frmAUSWAHL& d) {
                   d.lstKEN->setCurrentRow(1);
                   d.cmdABBRECHEN->click();
               }});
    EXPECT_EQ(main->Tag, QStringLiteral("Abbrechen"));
    WithDialog([&] { main->mnuAUSWAHL_Click(); }, {[](frmAUSWAHL& d) {
                   d.lstKEN->setCurrentRow(1);
                   d.close();
               }});
    EXPECT_EQ(main->Tag, QStringLiteral("A"));
    EXPECT_EQ(Active(), before);
    EXPECT_FALSE(main->Changed());
}

TEST_F(RecordCommandsTest, DialogCaptionsFollowTheModeAndTheLanguage)
{
    struct Case {
        int sprache;
        const char* tag;
        const char* caption;
    };
    const Case cases[] = {
        {3, "A", "Datei/Auswahl"}, {3, "O", "Datei/Öffnen"}, {3, "L", "Datei/Löschen"},
        {1, "A", "File/Select"},   {1, "O", "File/Open"},    {1, "L", "File/Delete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        main->context().SPRACHE = c.sprache;
        main->Tag = QString::fromLatin1(c.tag);
        frmAUSWAHL dialog(*main);
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("OK"));
        EXPECT_EQ(dialog.cmdABBRECHEN->text(), c.sprache == 1 ? QStringLiteral("Cancel") : QStringLiteral("Abbrechen"));
        EXPECT_EQ(dialog.x(), PixelsOfTwips(main->ScaleWidth() / 5));
        // Wide enough for its title in a title bar, its controls kept in the middle.
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 100);
        EXPECT_NEAR(dialog.lstKEN->geometry().center().x(), dialog.width() / 2, 2);
    }
}

TEST_F(RecordCommandsTest, DeleteAsksForEachRecordAndTakesAllItsRows)
{
    // Results and layouts of the record to go, which a later record of its number
    // must not inherit.
    for (const QString& table : {QStringLiteral("A1"), QStringLiteral("G0")})
        Sql(QStringLiteral("INSERT INTO [%1] ([ID]) VALUES (2)").arg(table));
    dialogs->msgAnswers = {MsgResult::Cancel};
    WithDialog([&] { main->mnuLOESCHEN_Click(); }, {Choose(QStringLiteral("Spundwand"))});
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Datensatz Spundwand wird gelöscht!"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("&Löschen"));
    EXPECT_EQ(Boxes()[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(Rows(QStringLiteral("E1"), 2).size(), 1);
    EXPECT_TRUE(main->Changed());
    EXPECT_EQ(Panel(6).text(), QStringLiteral("Spundwand"));

    dialogs->msgAnswers = {MsgResult::OK};
    WithDialog([&] { main->mnuLOESCHEN_Click(); }, {KeepAndConfirm});
    for (const QString& table : QStringList{"E1", "E2", "E3", "E4", "E5", "A1", "G0"})
        EXPECT_TRUE(Rows(table, 2).isEmpty()) << table.toStdString();
    EXPECT_EQ(Rows(QStringLiteral("E3"), 1).size(), 6);
    EXPECT_EQ(Panel(6).text(), QStringLiteral("-"));

    // The number comes again, with nothing of the deleted record.
    NewRecord(QStringLiteral("Neu"));
    main->stbMAIN_PanelClick(8);
    Settle();
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]='Neu'"))), 2);
    EXPECT_TRUE(Rows(QStringLiteral("A1"), 2).isEmpty());
    EXPECT_TRUE(Rows(QStringLiteral("G0"), 2).isEmpty());
}

TEST_F(RecordCommandsTest, SavingAnExistingDesignationAsksBeforeOverwriting)
{
    Sql(QStringLiteral("INSERT INTO [A1] ([ID],[BONEU]) VALUES (2,0)"));
    const QStringList layers = Rows(QStringLiteral("E3"), 2);
    NewRecord(QStringLiteral("spundwand"));
    TypeTable(0, {{"1", "0"}});
    dialogs->msgAnswers = {MsgResult::No};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Soll der vorhandene Datensatz spundwand überschrieben werden?"));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("OK"));
    EXPECT_EQ(Boxes()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Boxes()[0].icon, MsgIcon::Question);
    EXPECT_TRUE(InInputState());
    EXPECT_EQ(Rows(QStringLiteral("E1"), 2), QStringList{"Spundwand|Spundwand, je Seite drei Schichten, GW links +2 m|False"});
    EXPECT_EQ(Rows(QStringLiteral("E3"), 2), layers);

    dialogs->msgAnswers = {MsgResult::Yes};
    CtrlS();
    EXPECT_TRUE(InRestState());
    EXPECT_EQ(Rows(QStringLiteral("E1"), 2), QStringList{"spundwand|Null|True"});
    EXPECT_EQ(Rows(QStringLiteral("E3"), 2), (QStringList{"1|0|1|0", "2|0|Null|0"}));
    EXPECT_EQ(Active(), QStringList{"spundwand"});
    // Results of the overwritten record stay, for the evaluation to renew.
    EXPECT_EQ(Rows(QStringLiteral("A1"), 2).size(), 1);
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
}

TEST_F(RecordCommandsTest, OverwriteQuestionInEnglishNamesTheRecordAfterASpace)
{
    main.reset();
    QFile::remove(workingCopy());
    {
        const LocaleScope english(English());
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    }
    NewRecord(QStringLiteral("Spundwand"));
    dialogs->msgAnswers = {MsgResult::No};
    main->stbMAIN_PanelClick(8);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Do you want to overwrite the file Spundwand?"));
}

TEST_F(RecordCommandsTest, NewRecordTakesTheNumberAfterTheHighest)
{
    const auto save = [&](const QString& ken) {
        NewRecord(ken);
        main->stbMAIN_PanelClick(8);
        Settle();
        return CLng(Value(QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]='%1'").arg(ken)));
    };
    Sql(QStringLiteral("DELETE FROM [E1]"));
    EXPECT_EQ(save(QStringLiteral("Erste")), 1);
    Sql(QStringLiteral("INSERT INTO [E1] VALUES (7,'Sieben',NULL,0)"));
    EXPECT_EQ(save(QStringLiteral("Achte")), 8);
}

TEST_F(RecordCommandsTest, ChecksAndWarningsComeBeforeTheOverwriteQuestion)
{
    // The user is never asked to confirm a save that is then refused or warned of.
    QStringList before;
    for (const QString& table : QStringList{"E1", "E2", "E3", "E4", "E5"})
        before << Rows(table, 2);
    NewRecord(QStringLiteral("Spundwand"));
    Input().txtZGWRS->setText(QStringLiteral("5000"));   // never left: its check comes with the save
    dialogs->msgAnswers = {MsgResult::OK};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("Tremolspiegelkoten, rechts: \"5000\"\nZahlenwert außerhalb")))
        << Boxes()[0].text.toStdString();
    EXPECT_EQ(QApplication::focusWidget(), Input().txtZGWRS);

    // A warning answered with Cancel asks nothing either; answered with OK, the question follows.
    Input().txtZGWRS->clear();
    dialogs->msgAnswers = {MsgResult::Cancel};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].title, QStringLiteral("Unvollständige Eingabe"));
    QStringList after;
    for (const QString& table : QStringList{"E1", "E2", "E3", "E4", "E5"})
        after << Rows(table, 2);
    EXPECT_EQ(after, before);
    EXPECT_EQ(Active(), QStringList{"Beispiel"});
    EXPECT_TRUE(InInputState());
    EXPECT_FALSE(main->Changed());

    dialogs->msgAnswers = {MsgResult::OK, MsgResult::No};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 4u);
    EXPECT_EQ(Boxes()[3].text, QStringLiteral("Soll der vorhandene Datensatz Spundwand überschrieben werden?"));
    EXPECT_TRUE(InInputState());
}

// A check of the save that fails with an error stops the save as a refusal does, also
// when its box is answered with OK.
TEST_F(RecordCommandsTest, CheckThatFailsWithAnErrorStopsTheSave)
{
    NewRecord(QStringLiteral("Wand3"));
    Input().txtZGWRS->clear();   // the check warns of the missing level, and fails there
    dialogs->onShow = [](const ScriptedDialogService::Shown& shown) {
        if (shown.box.title == QStringLiteral("Unvollständige Eingabe"))
            throw VbError(VbErr::Overflow);
    };
    dialogs->msgAnswers = {MsgResult::OK};
    CtrlS();
    dialogs->onShow = nullptr;
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].text, QString::fromUtf8("VB-Error: 6\nÜberlauf"));
    EXPECT_EQ(Boxes()[1].title, QStringLiteral("OK"));
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
    EXPECT_TRUE(InInputState());
    EXPECT_FALSE(main->Changed());
}

TEST_F(RecordCommandsTest, OpenedRecordIsNeverStoredInPart)
{
    const LocaleScope german(German());
    QStringList before;
    for (const QString& table : QStringList{"E1", "E2", "E3", "E4", "E5"})
        before << Rows(table, 1);
    WithDialog([&] { main->mnuOEFFNEN_Click(); }, {KeepAndConfirm});
    ASSERT_NE(main->EINGABE(), nullptr);
    // A layer changed as it may be, and a value typed that is no number, left in its editor.
    ShowTab(1);
    FlexGrid* layers = Input().msgFLX[0];
    QTest::mouseClick(layers->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*layers, 2, 1));
    QTest::keyClick(layers, '3');
    QTest::keyClicks(Input().txtFLX[0], QStringLiteral(",5"));
    QTest::keyClick(Input().txtFLX[0], Qt::Key_Return);
    ASSERT_EQ(layers->TextMatrix(2, 1), QStringLiteral("3,50"));
    ShowTab(2);
    FlexGrid* flowRight = Input().msgFLX[3];
    QTest::mouseClick(flowRight->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*flowRight, 1, 1));
    QTest::keyClick(flowRight, '1');
    QTest::keyClicks(Input().txtFLX[3], QStringLiteral(".500"));
    ShowTab(0);
    dialogs->msgAnswers = {MsgResult::OK};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 1u);   // the refusal, before any question
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!"));
    QStringList after;
    for (const QString& table : QStringList{"E1", "E2", "E3", "E4", "E5"})
        after << Rows(table, 1);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(main->Changed());
    // The window stays open on the editor, with the text and the keyboard in it.
    EXPECT_TRUE(InInputState());
    EXPECT_EQ(Input().SSTab->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), Input().txtFLX[3]);
    EXPECT_EQ(Input().txtFLX[3]->text(), QStringLiteral("1.500"));
    EXPECT_EQ(Input().FLX(3).EZNR(), 1);
    EXPECT_EQ(Input().FLX(3).ESNR(), 1);
}

TEST_F(RecordCommandsTest, OpenedRecordIsSavedAsItself)
{
    // Both records share a designation longer than its box takes (written by other means);
    // the second, opened, has a long comment.
    const QString ken = QStringLiteral("Spundwand-Variante-2");
    const QString kom = QStringLiteral("Spundwand, je Seite drei Schichten, GW links +2 m, mit einer langen Bemerkung");
    Sql(QStringLiteral("UPDATE [E1] SET [KEN]='%1', [AKT]=([ID]=2)").arg(ken));
    Sql(QStringLiteral("UPDATE [E1] SET [KOM]='%1' WHERE [ID]=2").arg(kom));
    const auto record = [&](int32_t id) {
        QStringList rows;
        for (const QString& table : QStringList{"E1", "E2", "E3", "E4", "E5"})
            rows << Rows(table, id);
        return rows;
    };
    const QStringList namesake = record(1), opened = record(2);
    ASSERT_EQ(Rows(QStringLiteral("E1"), 2), QStringList{ken + QLatin1Char('|') + kom + QStringLiteral("|True")});
    WithDialog([&] { main->mnuOEFFNEN_Click(); }, {KeepAndConfirm});
    ASSERT_NE(main->EINGABE(), nullptr);
    ASSERT_EQ(Input().txtKEN->text(), ken.left(12));
    dialogs->msgAnswers = {MsgResult::Yes};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Soll der vorhandene Datensatz ") + ken + QStringLiteral(" überschrieben werden?"));
    EXPECT_TRUE(InRestState());
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
    EXPECT_EQ(record(2), opened);
    EXPECT_EQ(record(1), namesake);
}

// Two selected records of one designation (written by other means), and a new record saved
// over one of them: the saved record alone stays selected, its namesake included.
TEST_F(RecordCommandsTest, SavedRecordAloneStaysActiveItsNamesakeIncluded)
{
    Sql(QStringLiteral("UPDATE [E1] SET [KEN]='Spundwand', [AKT]=true WHERE [ID] IN (1,2)"));
    ASSERT_EQ(Active(), (QStringList{"Spundwand", "Spundwand"}));
    NewRecord(QStringLiteral("Spundwand"));
    dialogs->msgAnswers = {MsgResult::Yes};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 1u);   // the question whether to overwrite
    EXPECT_TRUE(InRestState());
    EXPECT_EQ(Active(), QStringList{"Spundwand"});
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Spundwand'"))), 2);
}

// A check of the input window after it closed fails its own test, and the tests after it
// still run.
TEST_F(RecordCommandsTest, AClosedInputWindowFailsTheTestNotTheTestProgram)
{
    ASSERT_EQ(main->EINGABE(), nullptr);
    EXPECT_THROW(Input().txtKEN->text(), std::runtime_error);
}

TEST_F(RecordCommandsTest, RefusedEditAtCtrlSKeepsTheKeysInTheEditor)
{
    NewRecord(QStringLiteral("Wand3"));
    ShowTab(1);
    FlexGrid* g = Input().msgFLX[0];
    TextBox* editor = Input().txtFLX[0];
    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*g, 1, 1));
    QTest::keyClick(g, '1');
    QTest::keyClicks(editor, QStringLiteral("E-50"));
    dialogs->msgAnswers = {MsgResult::OK};
    CtrlS();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("MSFlexGrid / Spalte z"));
    EXPECT_TRUE(InInputState());
    ASSERT_EQ(QApplication::focusWidget(), editor);
    // The next keys correct the text instead of reaching the grid.
    QTest::keyClicks(editor, QStringLiteral("0"));
    EXPECT_EQ(editor->text(), QStringLiteral("1E-500"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(editor->isHidden());
    EXPECT_EQ(g->Rows(), 2);
    EXPECT_EQ(g->TextMatrix(1, 1), QString());
}

TEST_F(RecordCommandsTest, SaveThatFailsInItsWritesStoresNothing)
{
    struct Case {
        const char* name;
        const char* damage;
        QString failure;   // the box of the failing write
        QString notSaved;
    } cases[] = {
        {"a row the database refuses", "CREATE TRIGGER [sperre] BEFORE INSERT ON [E5] BEGIN SELECT RAISE(ABORT, 'gesperrt'); END",
         QStringLiteral("Datenfehler"),
         QStringLiteral("Der Datensatz wurde nicht gespeichert.\nFehler beim Schreiben: Bauwerk, Linke Seite, Spalte Lfd.\n"
                        "Gespeichert bleibt, was vorher gespeichert war.")},
        {"a comment the database refuses", "CREATE TRIGGER [sperre] BEFORE UPDATE OF [KOM] ON [E1] BEGIN SELECT RAISE(ABORT, 'gesperrt'); END",
         QStringLiteral("Datenfehler"),
         QStringLiteral("Der Datensatz wurde nicht gespeichert.\nFehler beim Schreiben: Kommentar\n"
                        "Gespeichert bleibt, was vorher gespeichert war.")},
        {"the other records keep their selection",
         "CREATE TRIGGER [sperre] BEFORE UPDATE OF [AKT] ON [E1] WHEN NEW.[AKT] = 0 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END",
         QStringLiteral("OK"), QStringLiteral("Der Datensatz wurde nicht gespeichert.")},   // the save button's box
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sql(QLatin1String(c.damage));
        NewRecord(QStringLiteral("Wand3"));
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK};
        CtrlS();
        ASSERT_EQ(Boxes().size(), 2u);
        EXPECT_EQ(Boxes()[0].title, c.failure);
        EXPECT_EQ(Boxes()[1].text, c.notSaved);
        EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
        for (const char* table : {"E2", "E3", "E4", "E5"})
            EXPECT_TRUE(Rows(QLatin1String(table), 3).isEmpty()) << table;
        EXPECT_EQ(Active(), QStringList{"Beispiel"});
        EXPECT_TRUE(InInputState());
        EXPECT_FALSE(main->Changed());
        main->stbMAIN_PanelClick(9);
        Settle();
        Sql(QStringLiteral("DROP TRIGGER [sperre]"));
    }
}

// A save that fails on a full disk takes itself back at once: one box, the working
// copy free for others while it is shown, the stored record as it was and nothing
// written after the failure; with room again the same save works.
TEST_F(RecordCommandsTest, SaveOnAFullDiskTakesItselfBackAtOnceAndTheNextTryWorks)
{
    // The window holds a record much larger than the room left in the file.
    Sql(QStringLiteral("INSERT INTO [E1] VALUES (5,'Gross',NULL,1)"));
    Sql(QStringLiteral("INSERT INTO [E2] VALUES (5,0,0)"));
    for (int k = 1; k <= 2; ++k)
        Sql(QStringLiteral("INSERT INTO [E3] SELECT 5,%1,n,n*0.5,0.001 FROM (WITH RECURSIVE s(n) AS "
                           "(SELECT 1 UNION ALL SELECT n+1 FROM s WHERE n<400) SELECT n FROM s)")
                .arg(k));
    main->mnuNEU_Click();
    Input().OEFFNEN(5);
    Sql(QStringLiteral("DELETE FROM [E3] WHERE [ID]=5"));
    Sql(QStringLiteral("VACUUM"));
    const QStringList stored = Rows(QStringLiteral("E1"), 5) + Rows(QStringLiteral("E3"), 5);
    Sql(QStringLiteral("PRAGMA max_page_count = %1").arg(CLng(Value(QStringLiteral("PRAGMA page_count"))) + 1));
    bool freeDuringTheBox = false;
    dialogs->onShow = [&](const ScriptedDialogService::Shown& shown) {
        if (shown.box.title != QLatin1String("Datenfehler"))
            return;
        auto other = OpenDatabase(workingCopy());
        other->ConnectionTimeout = 0;
        freeDuringTheBox = VbErrorOf([&] { other->Execute(QStringLiteral("BEGIN IMMEDIATE")); }) == 0;
    };
    dialogs->msgAnswers = {MsgResult::Yes, MsgResult::OK, MsgResult::OK};
    main->stbMAIN_PanelClick(8);
    Settle();
    dialogs->onShow = nullptr;
    // The failure's own box, then the one that says nothing was saved and where.
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[1].title, QStringLiteral("Datenfehler"));
    EXPECT_TRUE(Boxes()[1].text.endsWith(QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.")))
        << Boxes()[1].text.toStdString();
    EXPECT_TRUE(Boxes()[2].text.startsWith(QStringLiteral("Der Datensatz wurde nicht gespeichert.")))
        << Boxes()[2].text.toStdString();
    EXPECT_TRUE(freeDuringTheBox);
    EXPECT_EQ(Rows(QStringLiteral("E1"), 5) + Rows(QStringLiteral("E3"), 5), stored);
    EXPECT_TRUE(InInputState());

    Sql(QStringLiteral("PRAGMA max_page_count = 1000000"));
    dialogs->msgAnswers = {MsgResult::Yes};
    main->stbMAIN_PanelClick(8);
    Settle();
    EXPECT_EQ(Boxes().size(), 4u);   // only the question
    EXPECT_TRUE(InRestState());
    EXPECT_EQ(Rows(QStringLiteral("E3"), 5).size(), 800);
}

TEST_F(RecordCommandsTest, DesignationWithQuotesIsStoredAndFoundAgain)
{
    const QString ken = QStringLiteral("O'Brien [1];");
    for (int pass = 0; pass < 2; ++pass) {
        NewRecord(ken);
        dialogs->msgAnswers = {MsgResult::Yes};
        CtrlS();
        EXPECT_TRUE(InRestState());
    }
    ASSERT_EQ(Boxes().size(), 1u);   // the second save found the record
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Soll der vorhandene Datensatz ") + ken + QStringLiteral(" überschrieben werden?"));
    EXPECT_EQ(Rows(QStringLiteral("E1"), 3), QStringList{ken + QStringLiteral("|Null|True")});
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 3);
    EXPECT_EQ(Active(), QStringList{ken});
}

TEST_F(RecordCommandsTest, SaveHoldsOtherCommandsBackUntilItEnds)
{
    NewRecord(QStringLiteral("Wand3"));
    // Each yield of the save offers another save, a discard and the window's own key.
    int yields = 0;
    SetDoEventsHook([&] {
        ++yields;
        main->stbMAIN_PanelClick(8);
        main->stbMAIN_PanelClick(9);
        if (main->EINGABE())
            QTest::keyClick(main->EINGABE()->txtKEN, Qt::Key_S, Qt::ControlModifier);
    });
    main->stbMAIN_PanelClick(8);
    SetDoEventsHook(nullptr);
    Settle();
    EXPECT_GT(yields, 0);
    EXPECT_TRUE(InRestState());
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Wand3'"))), 1);
    EXPECT_EQ(Rows(QStringLiteral("E3"), 3).size(), 2);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordCommandsTest, DiscardEndsTheInputWithoutAQuestion)
{
    main->mnuNEU_Click();
    EXPECT_EQ(Panel(6).text(), QStringLiteral("-"));   // a new record is no selected one yet
    TypeBox(Input().txtKEN, QStringLiteral("Wand3"));
    StatusPanel& abbrechen = Panel(9);
    QTest::mousePress(&abbrechen, Qt::LeftButton);
    EXPECT_EQ(abbrechen.Bevel(), PanelBevel::Inset);
    QTest::mouseRelease(&abbrechen, Qt::LeftButton);
    Settle();
    EXPECT_EQ(abbrechen.Bevel(), PanelBevel::Raised);
    EXPECT_TRUE(InRestState());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(CLng(Value(QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
    EXPECT_FALSE(main->Changed());
    // The selection is as it was, and the panel says so again.
    EXPECT_EQ(Panel(6).text(), QStringLiteral("Beispiel"));

    // Closing the input window through its frame discards too.
    main->mnuNEU_Click();
    main->mdiArea->activeSubWindow()->close();
    Settle();
    EXPECT_TRUE(InRestState());
}
