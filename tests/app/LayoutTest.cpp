// The main window's menus and status bar in both languages, and the start window.
#include "AppFixture.h"
#include "app/clsADRESSE.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QApplication>

namespace {

struct MenuCase {
    const char* name;
    const char* german;
    const char* english;
    int helpContextId;
    bool enabled;
};

const MenuCase kMenus[] = {
    {"mnuDATEI", "&Datei", "&File", 0, true},
    {"mnuNEU", "&Neu", "&New", 11, true},
    {"mnuOEFFNEN", "&Öffnen", "&Open", 12, true},
    {"mnuAUSWAHL", "&Auswahl", "&Select", 13, true},
    {"mnuEXPIMP", "&Export-Import", "&Export-Import", 14, true},
    {"mnuLOESCHEN", "&Löschen", "&Delete", 16, true},
    {"mnuSCHLIESSEN", "&Schließen", "&Done", 17, true},
    {"mnuSPEICHERN", "&Speichern", "&Save", 18, true},
    {"mnuBEENDEN", "&Beenden", "&Quit", 19, true},
    {"mnuAUSWERTEN", "&Auswerten", "&Evaluate", 20, true},
    {"mnuEINGABEGRAFIK", "&Eingabegrafik", "&Graphics of Input Data", 21, false},
    {"mnuBERECHNEN", "&Berechnen", "&Calculate", 22, true},
    {"mnuMBERECHNEN", "&MBerechnen", "Calculate &Multiple", 23, false},
    {"mnuFBERECHNEN", "&FBerechnen", "Calculate &Next", 24, false},
    {"mnuNEUBERECHNEN", "&Neuberechnen", "Calculate &First", 25, true},
    {"mnuEXTRAS", "E&xtras", "Tools", 30, true},
    {"mnuVVORGABEN", "&Vorgaben", "Preset Data", 30, false},
    {"mnuVEVORGABEN", "&Elektronikvorgaben", "Preset Electronic Data", 32, false},
    {"mnuWERKZEUGE", "&Werkzeuge", "Grafic Tools", 33, false},
    {"mnuTEXT", "&Text", "Text", 30, true},
    {"mnuPOLYGON", "&Polygon", "Polygon", 30, true},
    {"mnuKREIS", "&Kreisbogen", "Circle", 30, true},
    {"mnuKOMPRIMIEREN", "&Komprimieren", "Compact Database", 34, true},
    {"mnuFRAGEZEICHEN", "&?", "&?", 0, true},
    {"mnuHILFE", "&Hilfe", "Help", 0, true},
    {"mnuREADME", "&ReadMe", "&ReadMe", 42, true},
    {"mnuHINWEISE", "Hin&weise", "Hin&weise", 43, true},
    {"mnuINFO", "&Info", "&Info", 44, true},
};

struct PanelCase {
    const char* german;
    const char* english;
    const char* germanTip;
    const char* englishTip;
};

const PanelCase kButtons[] = {
    {"OK", "OK", "Eingabedaten speichern", "Save input-data"},
    {"Abbrechen", "Cancel", "Eingabedaten verwerfen", "Discard input-data"},
    {"Anzeigen", "Show", "Ausgabeseite anzeigen", "Show another page"},
    {"Drucken", "Print", "Ausgabeseite drucken", "Print loaded pages"},
    {"Kopie", "Copy", "Bildschirmkopie speichern", "Save Screenshot"},
    {"Word", "Word", "Ausgabeseite in ein Word-Dokument übertragen", "Send current page to word"},
    {"AutoCAD", "AutoCAD", "Ausgabeseite in eine AutoCAD-Zeichnung übertragen", "Send current page to AutoCAD"},
    {"Schließen", "Close", "Zurück zum Startbildschirm", "Back to the front window"},
};

} // namespace

class LayoutTest : public AppFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(LayoutTest, MenusAndStatusBarInTheLanguageOfTheLocale)
{
    const bool english = GetParam();
    LocaleScope locale(english ? English() : German());
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);

    EXPECT_EQ(main->windowTitle(), QStringLiteral("Stratega"));
    for (const MenuCase& m : kMenus) {
        SCOPED_TRACE(m.name);
        QAction* item = main->Menu(QLatin1String(m.name));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), QString::fromUtf8(english ? m.english : m.german));
        EXPECT_EQ(item->property("HelpContextID").toInt(), m.helpContextId);
        EXPECT_EQ(item->isEnabled(), m.enabled);
        EXPECT_TRUE(item->shortcut().isEmpty());
    }
    // The tools submenu hangs under a disabled item, so it never opens.
    EXPECT_EQ(main->Menu(QStringLiteral("mnuTEXT"))->parent(), main->Menu(QStringLiteral("mnuWERKZEUGE"))->menu());

    StatusBar& stb = *main->stbMAIN;
    ASSERT_EQ(stb.Count(), 15);
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(stb.Panels(n).Visible(), n <= 7) << n;
    EXPECT_EQ(stb.Panels(3).text(), QStringLiteral("/"));
    EXPECT_EQ(stb.Panels(5).text(), QStringLiteral("/"));
    for (int n = 8; n <= 15; ++n) {
        const PanelCase& p = kButtons[n - 8];
        EXPECT_EQ(stb.Panels(n).text(), QString::fromUtf8(english ? p.english : p.german)) << n;
        EXPECT_EQ(stb.Panels(n).toolTip(), QString::fromUtf8(english ? p.englishTip : p.germanTip)) << n;
        EXPECT_EQ(stb.Panels(n).Bevel(), PanelBevel::Raised);
        EXPECT_EQ(stb.Panels(n).Width(), 1305);   // 1300 twips at whole pixels
    }
    // The spring panel takes the remaining width: the bar ends at the right edge.
    const StatusPanel& spring = stb.Panels(7);
    EXPECT_GT(spring.Width(), 400);
    EXPECT_NEAR(spring.Left() + spring.Width(), stb.width() * 15, 60);
    EXPECT_EQ(stb.height() * 15, 435);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, LayoutTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "English" : "German"; });

TEST_F(AppFixture, StatusButtonsReportClicksOnlyWhileTheWindowIsEnabled)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    std::vector<int> clicked;
    QObject::connect(main->stbMAIN, &StatusBar::PanelClick, [&](StatusPanel& p) { clicked.push_back(p.Index()); });
    StatusPanel& ok = main->stbMAIN->Panels(8);
    ok.SetVisible(true);
    const auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), ok.mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), ok.mapToGlobal(QPointF(5, 5)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&ok, &press);
        QApplication::sendEvent(&ok, &release);
    };
    click();
    EXPECT_EQ(clicked, std::vector<int>{8});
    main->setEnabled(false);
    EXPECT_FALSE(ok.isEnabled());
    EXPECT_FALSE(main->menuBar()->isEnabled());
    main->setEnabled(true);
}

TEST(StartWindow, LayoutForTheMainWindowsClientArea)
{
    mdiAUTOSTART start(3);
    start.Form_Load(12000, 8000);

    const TwipsRect kopf = start.Twips(QStringLiteral("fraKOPF"));
    EXPECT_FLOAT_EQ(kopf.Width, 11760);
    EXPECT_FLOAT_EQ(kopf.Left, 120);
    EXPECT_FLOAT_EQ(kopf.Top, 0);
    EXPECT_FLOAT_EQ(kopf.Height, 1710);
    const TwipsRect mirl = start.Twips(QStringLiteral("imgMIRL"));
    EXPECT_FLOAT_EQ(mirl.Height, 1453.5f);
    EXPECT_FLOAT_EQ(mirl.Top, 171);
    EXPECT_FLOAT_EQ(mirl.Left, 10174.5f);
    EXPECT_FLOAT_EQ(start.Twips(QStringLiteral("lblVERSION")).Top, 7000);
    EXPECT_FLOAT_EQ(start.Twips(QStringLiteral("lblVERSION")).Left, 200);
    const TwipsRect bar = start.Twips(QStringLiteral("pgbBERECHNEN"));
    EXPECT_FLOAT_EQ(bar.Top, 5965);
    EXPECT_FLOAT_EQ(bar.Left, 200);
    EXPECT_FLOAT_EQ(bar.Width, 3000);
    EXPECT_TRUE(start.pgbBERECHNEN->isHidden());
    EXPECT_EQ(start.pgbBERECHNEN->minimum(), 0);
    EXPECT_EQ(start.pgbBERECHNEN->maximum(), 100);
    const TwipsRect titel = start.Twips(QStringLiteral("lblTITEL"));
    EXPECT_FLOAT_EQ(titel.Left, (12000 - titel.Width) / 2);
    const TwipsRect dia = start.Twips(QStringLiteral("imgDIA"));
    EXPECT_FLOAT_EQ(dia.Left, 12000 - 3675 - 1000);
}

TEST(StartWindow, TextsInBothLanguages)
{
    for (const int sprache : {1, 3}) {
        SCOPED_TRACE(sprache);
        const bool english = sprache == 1;
        mdiAUTOSTART start(sprache);
        start.Form_Load(12000, 8000);
        const clsADRESSE adresse([&] { return sprache; });
        EXPECT_EQ(start.lblTITEL->text(), QStringLiteral("Tremola"));
        EXPECT_EQ(start.lblUNTERTITEL->text(), QString());
        EXPECT_EQ(start.lblVERSION->text(), english ? QStringLiteral("Version March 2003") : QStringLiteral("Version März 2003"));
        EXPECT_EQ(start.lblKOPF[0]->text(), adresse.FIRMA1());
        EXPECT_EQ(start.lblKOPF[1]->text(), adresse.PLZ() + QStringLiteral(", ") + adresse.STR());
        EXPECT_EQ(start.lblKOPF[2]->text(), (english ? QStringLiteral("Head of Found.: ") : QStringLiteral("Vorsitzender: "))
                                                + adresse.VORSITZ());
        EXPECT_EQ(start.lblKOPF[3]->text(), (english ? QStringLiteral("Phone: ") : QStringLiteral("Telefon: "))
                                                + adresse.TEL() + QStringLiteral(", E-Mail: ") + adresse.EMAIL()
                                                + QStringLiteral(", Internet: ") + adresse.URL());
    }
}

TEST_F(AppFixture, StartWindowCannotBeClosedAndKeepsItsPlaceOnResize)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    mdiAUTOSTART& start = main->AUTOSTART();
    QMdiSubWindow* sub = main->mdiArea->subWindowList().first();
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(sub->close());
    EXPECT_TRUE(start.isVisible());
    const QRect titel = start.lblTITEL->geometry();
    main->showNormal();
    main->resize(400, 300);
    EXPECT_EQ(start.lblTITEL->geometry(), titel);
}
