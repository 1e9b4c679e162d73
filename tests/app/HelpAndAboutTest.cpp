// The "?" menu's gate, the help request, the documents and the about box.
#include "AppFixture.h"
#include "platform/App.h"
#include "app/clsADRESSE.h"
#include "app/frmINFO.h"
#include "platform/Documents.h"
#include "platform/FileOps.h"
#include "platform/LateReport.h"
#include "platform/Yield.h"
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>
#include <QTimer>

// The help handed to the desktop, as the real dialog service does.
class DesktopHelp : public ScriptedDialogService {
public:
    void ShowHelp(const QString& helpFile, int context, const OpenerFailed& failed) override
    {
        ScriptedDialogService::ShowHelp(helpFile, context, failed);
        OpenDocument(helpFile, failed);
    }
};

class HelpTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        for (const char* name : {"TREMOL.html", "TREMOL.odt", "TREMOL_H.odt"})
            QFile::remove(suite->programFolder() + QLatin1Char('/') + QLatin1String(name));
    }
    void TearDown() override
    {
        SetDocumentOpenerHook(nullptr);
        AppFixture::TearDown();
    }
    void Touch(const char* name)
    {
        QFile f(suite->programFolder() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    bool Enabled(const char* item) const { return main->Menu(QLatin1String(item))->isEnabled(); }
};

TEST_F(HelpTest, MenuGateFollowsTheFilesAtEachOpening)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    // Before the first opening everything is enabled, as stored.
    EXPECT_TRUE(Enabled("mnuREADME"));

    Touch("TREMOL.html");
    main->mnuFRAGEZEICHEN_Click();
    EXPECT_TRUE(Enabled("mnuHILFE"));
    EXPECT_FALSE(Enabled("mnuREADME"));
    EXPECT_FALSE(Enabled("mnuHINWEISE"));
    EXPECT_TRUE(Enabled("mnuINFO"));

    Touch("TREMOL.odt");
    main->mnuFRAGEZEICHEN_Click();
    EXPECT_TRUE(Enabled("mnuREADME"));
    EXPECT_FALSE(Enabled("mnuHINWEISE"));

    // The menu runs the gate when it opens.
    QFile::remove(suite->programFolder() + QStringLiteral("/TREMOL.html"));
    emit main->Menu(QStringLiteral("mnuFRAGEZEICHEN"))->menu()->aboutToShow();
    EXPECT_FALSE(Enabled("mnuHILFE"));
}

TEST_F(HelpTest, HelpOpensTheHelpFileWithTheActiveControlsContext)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->mnuFRAGEZEICHEN_Click();
    ASSERT_FALSE(Enabled("mnuHILFE"));   // the request does not depend on the item

    main->mnuHILFE_Click();   // the start window, no control of its own context
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].kind, QStringLiteral("ShowHelp"));
    EXPECT_EQ(dialogs->shown[0].box.helpFile, suite->programFolder() + QStringLiteral("/TREMOL.html"));
    EXPECT_EQ(dialogs->shown[0].helpContext, 0);
    EXPECT_EQ(MousePointer(), 0);

    // A child window whose focused control has its own context number.
    auto* form = new QWidget;
    form->setProperty("HelpContextID", 12);
    auto* edit = new QLineEdit(form);
    edit->setProperty("HelpContextID", 77);
    QMdiSubWindow* sub = main->mdiArea->addSubWindow(form);
    sub->show();
    main->mdiArea->setActiveSubWindow(sub);
    edit->setFocus();
    main->mnuHILFE_Click();
    EXPECT_EQ(dialogs->shown.back().helpContext, 77);
    edit->clearFocus();
    form->setFocus();
    main->mnuHILFE_Click();
    EXPECT_EQ(dialogs->shown.back().helpContext, 12);
}

TEST_F(HelpTest, DocumentsOpenOrShowTheErrorBox)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    QStringList opened;
    SetDocumentOpenerHook([&](const QString& path) {
        opened << path;
        return true;
    });

    dialogs->msgAnswers = {MsgResult::Cancel};
    SetMousePointer(1);
    main->mnuREADME_Click();   // missing document
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: 53")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("?/ReadMe"));
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_TRUE(opened.isEmpty());

    dialogs->msgAnswers = {MsgResult::Cancel};
    main->mnuHINWEISE_Click();
    EXPECT_EQ(Boxes().back().title, QStringLiteral("?/Hinweise"));

    Touch("TREMOL_H.odt");
    dialogs->shown.clear();
    main->mnuHINWEISE_Click();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(opened, QStringList{suite->programFolder() + QStringLiteral("/TREMOL_H.odt")});
    EXPECT_EQ(MousePointer(), 0);

    // A document no application accepts.
    SetDocumentOpenerHook([](const QString&) { return false; });
    dialogs->msgAnswers = {MsgResult::Cancel};
    main->mnuHINWEISE_Click();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("VB-Error: 429")));
}

TEST_F(HelpTest, HelpThatNothingOpensShowsTheErrorBox)
{
    // A desktop with no program for the help file.
    class NoHelpViewer : public ScriptedDialogService {
    public:
        void ShowHelp(const QString& helpFile, int context, const OpenerFailed& failed) override
        {
            ScriptedDialogService::ShowHelp(helpFile, context, failed);
            throw VbError(VbErr::CannotCreateObject);
        }
    };
    dialogs = std::make_shared<NoHelpViewer>();
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuHILFE_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("?/Hilfe"));
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: 429\n")));
    EXPECT_EQ(MousePointer(), 0);
}

// The desktop's opener needs seconds to find that no program takes a file: the
// commands return at once, and its failure is told whenever it comes, in the box of
// the command that asked.
TEST_F(HelpTest, OpenerThatFailsLateIsToldInTheCommandsBox)
{
    dialogs = std::make_shared<DesktopHelp>();
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Touch("TREMOL.html");
    Touch("TREMOL.odt");
    const FakeDesktopOpener desktop("sleep 3; exit 3");
    QElapsedTimer t;
    t.start();
    main->mnuHILFE_Click();
    main->mnuREADME_Click();
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(MousePointer(), 0);

    dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK};
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 2; }, 20000));
    QStringList titles;
    for (const MsgBoxRequest& box : Boxes()) {
        titles << box.title;
        EXPECT_TRUE(box.text.startsWith(QStringLiteral("VB-Error: 429\n"))) << box.text.toStdString();
        EXPECT_EQ(box.buttons, MsgButtons::OK);
    }
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"?/Hilfe", "?/ReadMe"}));
}

// A failure that comes while a command runs waits until the command has returned:
// told inside its yield or under its modal dialog, the box would hold the command's
// transaction and the working copy's lock until answered.
TEST_F(HelpTest, LateFailureIsToldOnlyWhenNoCommandRuns)
{
    dialogs = std::make_shared<DesktopHelp>();
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Touch("TREMOL.html");
    const FakeDesktopOpener desktop("exit 3");
    dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK};
    const auto failureCame = [&] { return ReportsWaiting() > 0 || !Boxes().empty(); };

    // A command that yields: the failure comes in one of its yields and waits.
    main->mnuHILFE_Click();
    QElapsedTimer t;
    t.start();
    while (!failureCame() && t.elapsed() < 20000) {
        DoEvents();
        QThread::msleep(5);
    }
    ASSERT_TRUE(failureCame());
    for (int i = 0; i < 20; ++i) {
        DoEvents();
        QThread::msleep(5);
    }
    EXPECT_TRUE(Boxes().empty());
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 1; }, 10000));   // the command has returned
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("?/Hilfe"));
    EXPECT_EQ(ReportsWaiting(), 0);

    // A command's modal dialog: the failure waits until it is closed.
    main->mnuHILFE_Click();
    bool toldUnderTheDialog = true;
    QTimer::singleShot(0, [&] {
        auto* info = qobject_cast<frmINFO*>(QApplication::activeModalWidget());
        ASSERT_NE(info, nullptr);
        WaitFor([&] { return ReportsWaiting() > 0 || Boxes().size() > 1; }, 20000);
        toldUnderTheDialog = Boxes().size() > 1;
        info->cmdSCHLIESSEN->click();
    });
    main->mnuINFO_Click();
    EXPECT_FALSE(toldUnderTheDialog);
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 2; }, 10000));
    EXPECT_TRUE(Boxes()[1].text.startsWith(QStringLiteral("VB-Error: 429\n")));
}

TEST(AboutBox, DevelopersLineIsCutAfterACommaFromPosition50)
{
    const auto line = [](int length, std::initializer_list<int> commas) {
        QString d(length, QLatin1Char('x'));
        for (int p : commas)
            d[p - 1] = QLatin1Char(',');
        return d;
    };
    EXPECT_EQ(Entwicklerzeile(line(50, {20})), line(50, {20}));
    EXPECT_EQ(Entwicklerzeile(line(60, {20, 55})), line(60, {20, 55}).left(55) + QStringLiteral(" ..."));
    EXPECT_EQ(Entwicklerzeile(line(60, {20})), line(60, {20}));
    EXPECT_EQ(Entwicklerzeile(line(51, {50})), line(51, {50}).left(50) + QStringLiteral(" ..."));
    EXPECT_EQ(Entwicklerzeile(line(60, {49})), line(60, {49}));
}

TEST(AboutBox, InstitutionLinesFollowTheLanguage)
{
    int sprache = 1;
    const clsADRESSE adresse([&] { return sprache; });
    const QString en[] = {adresse.FIRMA1(), adresse.FIRMA2(), adresse.PLZ()};
    sprache = 3;
    const QString de[] = {adresse.FIRMA1(), adresse.FIRMA2(), adresse.PLZ()};
    sprache = 2;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(en[i].isEmpty());
        EXPECT_FALSE(de[i].isEmpty());
        EXPECT_NE(en[i], de[i]);
    }
    EXPECT_EQ(adresse.FIRMA1(), QString());
    EXPECT_EQ(adresse.FIRMA2(), QString());
    EXPECT_EQ(adresse.PLZ(), QString());
    EXPECT_FALSE(adresse.STR().isEmpty());   // the same in every language
}

TEST(AboutBox, TextsInBothLanguagesRepeatTheStartWindow)
{
    for (const int sprache : {1, 3}) {
        SCOPED_TRACE(sprache);
        const bool english = sprache == 1;
        mdiAUTOSTART start(sprache);
        start.Form_Load(12000, 8000);
        ScriptedDialogService dialogs;
        frmINFO info(sprache, start, dialogs, nullptr);
        const clsADRESSE adresse([&] { return sprache; });

        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(info.windowTitle(), english ? QStringLiteral("Info of TREMOL") : QStringLiteral("Info zu TREMOL"));
        EXPECT_EQ(info.cmdSCHLIESSEN->text(), english ? QStringLiteral("Done") : QStringLiteral("Schließen"));
        EXPECT_TRUE(info.cmdSCHLIESSEN->isDefault());
        EXPECT_EQ(info.lblINFO[0]->text(), QStringLiteral("Stratega"));
        EXPECT_EQ(info.lblINFO[1]->text(), QStringLiteral("Tremola"));
        EXPECT_EQ(info.lblINFO[2]->text(), QString());
        EXPECT_EQ(info.lblINFO[3]->text(), QStringLiteral("(TREMOL.exe)"));
        EXPECT_EQ(info.lblINFO[4]->text(), english ? QStringLiteral("Version March 2003") : QStringLiteral("Version März 2003"));
        EXPECT_EQ(info.lblINFO[5]->text(), App::LegalCopyright());
        EXPECT_EQ(info.lblINFO[6]->text(), (english ? QStringLiteral("Program developed by: ")
                                                    : QStringLiteral("Programmentwicklung: "))
                                               + Entwicklerzeile(App::LegalTrademarks()));
        EXPECT_EQ(info.lblPALO[0]->text(), adresse.FIRMA1());
        EXPECT_EQ(info.lblPALO[2]->text(), adresse.PLZ() + QStringLiteral(", ") + adresse.STR());
        EXPECT_EQ(info.lblPALO[3]->text(), (english ? QStringLiteral("Head of Found.: ") : QStringLiteral("Vorsitzender: "))
                                               + adresse.VORSITZ());
        EXPECT_EQ(info.lblPALO[4]->text(), (english ? QStringLiteral("Phone: ") : QStringLiteral("Telefon: ")) + adresse.TEL());
        EXPECT_EQ(info.lblPALO[5]->text(), QStringLiteral("Fax: ") + adresse.FAX());
        EXPECT_EQ(info.lblPALO[7]->text(), QStringLiteral("Internet: ") + adresse.URL());
        EXPECT_EQ(info.size(), QSize(597, 486));
    }
}

TEST_F(HelpTest, InfoShowsTheAboutBoxModallyOverTheMainWindow)
{
    LocaleScope locale(English());
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    QString title;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<frmINFO*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            modal = box->isModal() && box->parentWidget() == main.get();
            box->cmdSCHLIESSEN->click();
        }
    });
    main->mnuINFO_Click();
    EXPECT_EQ(title, QStringLiteral("Info of TREMOL"));
    EXPECT_TRUE(modal);
}
