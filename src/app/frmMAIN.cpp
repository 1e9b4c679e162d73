#include "frmMAIN.h"
#include "Datensatz.h"
#include "Pictures.h"
#include "frmAUSWAHL.h"
#include "frmEXPIMP.h"
#include "frmINFO.h"
#include "calc/clsBERECHNEN.h"
#include "input/mdiEINGABE.h"
#include "pages/common/PageForm.h"
#include "pages/common/PageList.h"
#include "pages/common/frmANZEIGEN.h"
#include "pages/input/mdiESEITE1.h"
#include "pages/result/mdiSEITE1.h"
#include "platform/Ado.h"
#include "platform/App.h"
#include "platform/DatabaseFiles.h"
#include "platform/Documents.h"
#include "platform/ErrorGuard.h"
#include "platform/FileOps.h"
#include "platform/Locale.h"
#include "platform/PictureDocument.h"
#include "platform/PrinterSurface.h"
#include "platform/Process.h"
#include "platform/ScreenCopy.h"
#include "platform/SessionEnd.h"
#include "platform/System.h"
#include "platform/Twips.h"
#include "platform/Yield.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int MaxPanelPath = 20;
// A partial copy beside the shared project database younger than this may be one that
// another running copy is still writing.
constexpr std::chrono::hours SaveInProgress{1};

// One row of the menu tree: level 1 menus, level 2 items, level 3 sub-items.
struct MenuRow {
    int level;
    const char* name;
    const char* german;
    const char* english;   // nullptr: the English caption is the German one
    int helpContextId;
    bool enabled;
};

const MenuRow kMenuTree[] = {
    {1, "mnuDATEI", "&Datei", "&File", 0, true},
    {2, "mnuNEU", "&Neu", "&New", 11, true},
    {2, "mnuOEFFNEN", "&Öffnen", "&Open", 12, true},
    {2, "mnuAUSWAHL", "&Auswahl", "&Select", 13, true},
    {2, "mnuTRENN0", "-", nullptr, 0, true},
    {2, "mnuEXPIMP", "&Export-Import", nullptr, 14, true},
    {2, "mnuLOESCHEN", "&Löschen", "&Delete", 16, true},
    {2, "mnuSCHLIESSEN", "&Schließen", "&Done", 17, true},
    {2, "mnuTRENN1", "-", nullptr, 0, true},
    {2, "mnuSPEICHERN", "&Speichern", "&Save", 18, true},
    {2, "mnuBEENDEN", "&Beenden", "&Quit", 19, true},
    {1, "mnuAUSWERTEN", "&Auswerten", "&Evaluate", 20, true},
    {2, "mnuEINGABEGRAFIK", "&Eingabegrafik", "&Graphics of Input Data", 21, false},
    {2, "mnuBERECHNEN", "&Berechnen", "&Calculate", 22, true},
    {2, "mnuMBERECHNEN", "&MBerechnen", "Calculate &Multiple", 23, false},
    {2, "mnuFBERECHNEN", "&FBerechnen", "Calculate &Next", 24, false},
    {2, "mnuNEUBERECHNEN", "&Neuberechnen", "Calculate &First", 25, true},
    {1, "mnuEXTRAS", "E&xtras", "Tools", 30, true},
    {2, "mnuVVORGABEN", "&Vorgaben", "Preset Data", 30, false},
    {2, "mnuVEVORGABEN", "&Elektronikvorgaben", "Preset Electronic Data", 32, false},
    {2, "mnuTRENN2", "-", nullptr, 0, true},
    {2, "mnuWERKZEUGE", "&Werkzeuge", "Grafic Tools", 33, false},
    {3, "mnuTEXT", "&Text", "Text", 30, true},
    {3, "mnuPOLYGON", "&Polygon", "Polygon", 30, true},
    {3, "mnuKREIS", "&Kreisbogen", "Circle", 30, true},
    {2, "mnuKOMPRIMIEREN", "&Komprimieren", "Compact Database", 34, true},
    {1, "mnuFRAGEZEICHEN", "&?", nullptr, 0, true},
    {2, "mnuHILFE", "&Hilfe", "Help", 0, true},
    {2, "mnuREADME", "&ReadMe", nullptr, 42, true},
    {2, "mnuHINWEISE", "Hin&weise", nullptr, 43, true},
    {2, "mnuTRENN4", "-", nullptr, 0, true},
    {2, "mnuINFO", "&Info", nullptr, 44, true},
};

struct PanelRow {
    StatusBar::PanelSpec spec;
    const char* englishText;      // nullptr: unchanged
    const char* germanTip;
    const char* englishTip;
};

const PanelRow kPanels[] = {
    {{PanelStyle::Text, 800, "Projektspfad\\", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Text, 400, "Projekt", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Text, 20, "/", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Text, 400, "Programm", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Text, 20, "/", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Text, 400, "Datensatz", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Spring, 400, "", true}, nullptr, nullptr, nullptr},
    {{PanelStyle::Button, 1300, "OK", false}, nullptr, "Eingabedaten speichern", "Save input-data"},
    {{PanelStyle::Button, 1300, "Abbrechen", false}, "Cancel", "Eingabedaten verwerfen", "Discard input-data"},
    {{PanelStyle::Button, 1300, "Anzeigen", false}, "Show", "Ausgabeseite anzeigen", "Show another page"},
    {{PanelStyle::Button, 1300, "Drucken", false}, "Print", "Ausgabeseite drucken", "Print loaded pages"},
    {{PanelStyle::Button, 1300, "Kopie", false}, "Copy", "Bildschirmkopie speichern", "Save Screenshot"},
    {{PanelStyle::Button, 1300, "Word", false}, nullptr, "Ausgabeseite in ein Word-Dokument übertragen",
     "Send current page to word"},
    {{PanelStyle::Button, 1300, "AutoCAD", false}, nullptr,
     "Ausgabeseite in eine AutoCAD-Zeichnung übertragen", "Send current page to AutoCAD"},
    {{PanelStyle::Button, 1300, "Schließen", false}, "Close", "Zurück zum Startbildschirm",
     "Back to the front window"},
};

// The page forms of the evaluate commands.
using PageMaker = PageForm* (*)(PageHost&);
const std::pair<const char*, PageMaker> kPageForms[] = {
    {"mdiESEITE1", [](PageHost& host) -> PageForm* { return new mdiESEITE1(host); }},
    {"mdiSEITE1", [](PageHost& host) -> PageForm* { return new mdiSEITE1(host); }},
};

PageMaker PageMakerOf(const QString& name)
{
    for (const auto& [form, make] : kPageForms)
        if (name == QLatin1String(form))
            return make;
    return nullptr;
}

QString U(const char* s) { return QString::fromUtf8(s); }

// The error box of a routine, titled with its label ("VB-Error: ", OK and Cancel).
GuardSpec Box(const QString& title)
{
    GuardSpec spec;
    spec.title = title;
    return spec;
}

int HelpContextOf(const QWidget* w)
{
    return w ? w->property("HelpContextID").toInt() : 0;
}

// The marker beside a working copy names the project database it was copied from.
QString OriginMarker(const QString& copy) { return copy + QStringLiteral(".origin"); }

QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

QString ReadOrigin(const QString& copy)
{
    QFile f(OriginMarker(copy));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll()).trimmed();
}

void WriteOrigin(const QString& copy, const QString& projectDb)
{
    QFile f(OriginMarker(copy));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(CanonicalPath(projectDb).toUtf8()) < 0 || !f.flush())
        throw VbError(VbErr::PermissionDenied);
}

} // namespace

QString KurzerProjektspfad(const QString& projektspfad)
{
    QString s = projektspfad;
    if (s.size() <= MaxPanelPath)
        return s + QLatin1Char('/');
    int p = 2;
    while (s.size() > MaxPanelPath) {
        s = s.mid(p - 1);
        const int next = s.indexOf(QLatin1Char('/'), 2);
        if (next < 0)
            break;   // nothing more to cut: keep the text as it stands
        p = next + 1;
    }
    return QStringLiteral(" ... ") + s + QLatin1Char('/');
}

QString KompressionsDatei(const QString& arbeitskopie)
{
    const QString ext = QStringLiteral(".mdb");
    QString base = arbeitskopie;
    if (base.endsWith(ext, Qt::CaseInsensitive))
        base.chop(ext.size());
    return base + QStringLiteral("TEMP.mdb");
}

QString AdminAbfrage(const QString& columns, const QString& benutzer)
{
    return QStringLiteral("SELECT %1 FROM [ADMIN] WHERE [BENUTZER]=%2").arg(columns, SqlQuoted(benutzer));
}

float GroesseMB(std::uintmax_t bytes)
{
    return float(Round(double(bytes) / 1000000.0, 1));
}

float ProzentKomprimiert(float before, float after)
{
    if (before == 0.0f)
        return 0.0f;
    const float share = (before - after) * 100.0f / before;
    return float(Round(share, 1));
}

frmMAIN::frmMAIN(std::shared_ptr<DialogService> dialogs, const QString& programFolder)
{
    setObjectName(QStringLiteral("frmMAIN"));
    ctx_.dialogs = std::move(dialogs);
    ctx_.programFolder = programFolder;
    setWindowTitle(QStringLiteral("Stratega"));
    setWindowIcon(SuiteIcon());
    setProperty("HelpContextID", 0);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(QApplication::palette().brush(QPalette::Dark));
    layout->addWidget(mdiArea, 1);
    setCentralWidget(central);
    BuildMenus();
    BuildStatusBar();
    layout->addWidget(stbMAIN);
    connect(stbMAIN, &StatusBar::PanelClick, this, [this](StatusPanel& panel) { stbMAIN_PanelClick(panel.Index()); });
    // The calculation and the page loads advance the start window's bar.
    ctx_.pgbBERECHNEN = [this](float value) {
        if (startWindow_)
            startWindow_->pgbBERECHNEN->setValue(int(std::lround(value)));
    };
}

frmMAIN::~frmMAIN() = default;

void frmMAIN::BuildMenus()
{
    QMenu* level1 = nullptr;
    QMenu* level2 = nullptr;
    for (const MenuRow& row : kMenuTree) {
        const QString name = U(row.name);
        QAction* action = nullptr;
        if (row.level == 1) {
            level1 = menuBar()->addMenu(U(row.german));
            level1->setObjectName(name);
            action = level1->menuAction();
        } else if (QString::fromUtf8(row.german) == QStringLiteral("-")) {
            action = (row.level == 2 ? level1 : level2)->addSeparator();
        } else if (row.level == 2 && name == QStringLiteral("mnuWERKZEUGE")) {
            level2 = level1->addMenu(U(row.german));
            level2->setObjectName(name);
            // Greyed as a widget too: enabling the main window again after a command
            // would otherwise enable the submenu, and its item with it.
            level2->setEnabled(row.enabled);
            action = level2->menuAction();
        } else {
            action = (row.level == 2 ? level1 : level2)->addAction(U(row.german));
        }
        action->setObjectName(name);
        action->setProperty("HelpContextID", row.helpContextId);
        action->setEnabled(row.enabled);
        menus_.insert(name, action);
        if (row.english) {
            englishCaptions_.insert(name, row.english);
            captionOrder_ << name;
        }
    }
    mnuFRAGEZEICHEN_ = menus_.value(QStringLiteral("mnuFRAGEZEICHEN"))->menu();
    connect(mnuFRAGEZEICHEN_, &QMenu::aboutToShow, this, &frmMAIN::mnuFRAGEZEICHEN_Click);
    const auto on = [this](const char* name, void (frmMAIN::*handler)()) {
        connect(menus_.value(U(name)), &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    on("mnuNEU", &frmMAIN::mnuNEU_Click);
    on("mnuOEFFNEN", &frmMAIN::mnuOEFFNEN_Click);
    on("mnuAUSWAHL", &frmMAIN::mnuAUSWAHL_Click);
    on("mnuLOESCHEN", &frmMAIN::mnuLOESCHEN_Click);
    on("mnuEXPIMP", &frmMAIN::mnuEXPIMP_Click);
    on("mnuSCHLIESSEN", &frmMAIN::mnuSCHLIESSEN_Click);
    on("mnuSPEICHERN", &frmMAIN::mnuSPEICHERN_Click);
    on("mnuBEENDEN", &frmMAIN::mnuBEENDEN_Click);
    on("mnuKOMPRIMIEREN", &frmMAIN::mnuKOMPRIMIEREN_Click);
    on("mnuHILFE", &frmMAIN::mnuHILFE_Click);
    on("mnuREADME", &frmMAIN::mnuREADME_Click);
    on("mnuHINWEISE", &frmMAIN::mnuHINWEISE_Click);
    on("mnuINFO", &frmMAIN::mnuINFO_Click);
    on("mnuEINGABEGRAFIK", &frmMAIN::mnuEINGABEGRAFIK_Click);
    on("mnuBERECHNEN", &frmMAIN::mnuBERECHNEN_Click);
    on("mnuNEUBERECHNEN", &frmMAIN::mnuNEUBERECHNEN_Click);
    connect(menus_.value(QStringLiteral("mnuAUSWERTEN"))->menu(), &QMenu::aboutToShow, this,
            &frmMAIN::mnuAUSWERTEN_Click);
}

void frmMAIN::BuildStatusBar()
{
    std::vector<StatusBar::PanelSpec> specs;
    for (const PanelRow& row : kPanels)
        specs.push_back(row.spec);
    stbMAIN = new StatusBar(specs, 435, centralWidget());
    for (int i = 0; i < stbMAIN->Count(); ++i)
        if (kPanels[i].germanTip)
            stbMAIN->Panels(i + 1).setToolTip(U(kPanels[i].germanTip));
    connect(stbMAIN, &StatusBar::MouseDown, this, &frmMAIN::stbMAIN_MouseDown);
}

void frmMAIN::EnglishCaptions()
{
    setWindowTitle(QStringLiteral("Stratega"));
    for (const QString& name : captionOrder_)
        menus_.value(name)->setText(U(englishCaptions_.value(name)));
    for (int n : {9, 10, 11, 12, 15})
        stbMAIN->Panels(n).setText(U(kPanels[n - 1].englishText));
    for (int n = 8; n <= 15; ++n)
        stbMAIN->Panels(n).setToolTip(U(kPanels[n - 1].englishTip));
}

QString frmMAIN::T(const char* english, const char* german) const
{
    return U(ctx_.SPRACHE == 1 ? english : german);
}

QString frmMAIN::Caption(const QString& menu) const
{
    return menus_.value(menu)->text();
}

QString frmMAIN::BENUTZER() const
{
    const QString name = UserName().toUpper();
    return name.isEmpty() ? QStringLiteral("UNBEK.") : name;
}

QString frmMAIN::DATENBANKPFAD() const
{
    return GetSetting(QStringLiteral("KALMARO"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"));
}

QString frmMAIN::XMDBPFAD() const
{
    const QString benutzer = ParentFolder(ctx_.programFolder) + QStringLiteral("/BENUTZER");
    CreateFolder(benutzer);
    const QString own = benutzer + QLatin1Char('/') + BENUTZER();
    CreateFolder(own);
    return own + QLatin1Char('/') + App::Title() + QStringLiteral(".mdb");
}

QString frmMAIN::ProjektDatenbank() const
{
    return ctx_.PROJEKTSPFAD + QLatin1Char('/') + ctx_.PROJEKT + QLatin1Char('/') + App::Title()
           + QStringLiteral(".mdb");
}

void frmMAIN::Refusal(const QString& text)
{
    ctx_.dlg().MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, App::Title());
    refused_ = true;
    throw Guard::Leave{};   // the end at once: nothing further of the start-up runs
}

double frmMAIN::ScaleWidth() const { return mdiArea->viewport()->width() * TwipsPerPixel; }
double frmMAIN::ScaleHeight() const { return mdiArea->viewport()->height() * TwipsPerPixel; }

frmMAIN::StartResult frmMAIN::MDIForm_Load()
{
    // An end asked for from outside waits until the start-up is done.
    const OutsideUnloadDeferral startingUp;
    // The system beep of the original platform has no counterpart on a Linux desktop.
    const bool complete = Guarded(ctx_.dlg(), Box(App::Title()), [&](Guard& g) {
        g.step([&] { ctx_.SPRACHE = LanguageOf(ProgramLocale()); });
        g.step([&] { ctx_.DEZIMALPUNKT = DecimalSeparatorOf(ProgramLocale()); });
        if (ctx_.SPRACHE == 1)
            g.step([&] { EnglishCaptions(); });
        g.step([&] { ctx_.DATENBANKPFAD = DATENBANKPFAD(); });
        if (!ctx_.developmentMode()) {
            g.step([&] {
                archive_ = std::make_shared<Connection>();
                archive_->Open(JetConnectionString(ctx_.DATENBANKPFAD + QStringLiteral("/ARCHIV.mdb")));
            });
            g.step([&] {
                ctx_.cnnX_V = std::make_shared<Connection>();
                ctx_.cnnX_V->Open(JetConnectionString(ctx_.DATENBANKPFAD + QStringLiteral("/VORGABE.mdb")));
            });
            Recordset rs;
            g.step([&] { rs.Open(AdminAbfrage(QStringLiteral("*"), BENUTZER()), archive_); });
            if (g.test([&] { return rs.Eof(); })) {
                Refusal(T("Program ", "Programm ") + App::Title()
                        + T(" can used only via the frame program!",
                            " kann nur über das Rahmenprogramm ausgeführt werden!"));
            }
            g.step([&] { rs.MoveFirst(); });
            g.step([&] { rs.Fields(QStringLiteral("PROG")) = App::Title(); });
            g.step([&] { rs.Update(); });
            g.step([&] { ctx_.PROJEKTSPFAD = CStr(rs.Fields(QStringLiteral("PROJEKTSPFAD")).Value()); });
            g.step([&] { ctx_.PROJEKT = CStr(rs.Fields(QStringLiteral("PROJEKT")).Value()); });
            g.step([&] { bearbeiter_ = CStr(rs.Fields(QStringLiteral("BEARBEITER")).Value()); });
            g.step([&] { rs.Close(); });
            if (g.test([&] { return !FolderExists(ctx_.PROJEKTSPFAD + QLatin1Char('/') + ctx_.PROJEKT); })) {
                Refusal(T("Project directory ", "Projektsverzeichnis ") + ctx_.PROJEKT
                        + T(" dosn't exist!", " existiert nicht!"));
            }
            const QString vorlage = App::Title() + QStringLiteral(".mdb");
            if (g.test([&] { return !FileExists(ctx_.programFolder + QLatin1Char('/') + vorlage); })) {
                Refusal(T("The empty database ", "Die leere Datenbank ") + vorlage
                        + T(" dosn't exist!\r\nStratega has to be installed again!",
                            " existiert nicht!\r\nStratega muß neu installiert werden!"));
            }
        } else {
            g.step([&] {
                ctx_.PROJEKTSPFAD = ParentFolder(ctx_.programFolder);
                ctx_.PROJEKT = QStringLiteral("TE0000.00");
                bearbeiter_ = BENUTZER();
            });
        }
        g.step([&] { FillPanels(); });
        SetUpWorkingCopy(g);
        g.step([&] { AKTIVANZEIGE(); });
        g.step([&] {
            // The start window is laid out for the maximised client area.
            if (QScreen* screen = this->screen())
                setGeometry(screen->availableGeometry());
            showMaximized();
        });
        g.step([&] { AUTOSTART(); });
        g.step([&] { DoEvents(); });
        g.step([&] { startWindow_->parentWidget()->showMaximized(); });
    });
    if (refused_)
        return StartResult::Ended;
    if (!complete)
        showMaximized();   // shown as far as it was set up
    return StartResult::Running;
}

void frmMAIN::FillPanels()
{
    StatusPanel& p1 = stbMAIN->Panels(1);
    p1.setText(KurzerProjektspfad(ctx_.PROJEKTSPFAD));
    p1.setToolTip(ctx_.PROJEKTSPFAD);
    stbMAIN->Panels(2).setText(ctx_.PROJEKT);
    stbMAIN->Panels(2).setToolTip(bearbeiter_);
    stbMAIN->Panels(4).setText(App::Title());
    stbMAIN->Panels(4).setToolTip(App::ProductName());
}

void frmMAIN::SetUpWorkingCopy(Guard& g)
{
    const QString projectDb = ProjektDatenbank();
    QString copy;
    g.step([&] { copy = XMDBPFAD(); });
    // Two running copies for one user would share this working copy.
    const QString lockFile = ParentFolder(copy) + QLatin1Char('/') + App::Title() + QStringLiteral(".lock");
    bool held = true;   // by this run; after an error box the run goes on without the lock
    g.step([&] { held = copy.isEmpty() || lock_.Acquire(lockFile); });
    if (!held) {
        Refusal(T("Program ", "Programm ") + App::Title()
                + T(" is already running for user ", " läuft bereits für Benutzer ") + BENUTZER()
                + QLatin1Char('!'));
    }
    if (lock_.Held()) {
        RemoveLeftOverPartials(copy);   // of a start-up copy that was cut short
        // A compaction cut short leaves its file; the working copy never needs it.
        const QString compacted = KompressionsDatei(copy);
        QFile::remove(compacted);
        QFile::remove(compacted + QStringLiteral("-journal"));
    }
    RemoveLeftOverPartials(projectDb, SaveInProgress);   // of saves cut short
    bool fresh = true;
    if (FileExists(copy)) {
        const QString origin = ReadOrigin(copy);
        const bool otherProject = !origin.isEmpty() && origin != CanonicalPath(projectDb);
        if (otherProject || !IsDatabaseWithTables(copy, DatensatzTabellen())) {
            // Never offered, nor overwritten: kept aside. When that fails, the run goes
            // on without a working copy.
            bool moved = false;
            g.step([&] {
                const QString project = QFileInfo(ParentFolder(origin)).fileName();
                const QString aside = MoveAside(copy, otherProject ? project : T("invalid", "defekt"));
                ctx_.dlg().MsgBox(
                    otherProject ? T("The working copy of project ", "Die Arbeitskopie des Projekts ") + project
                                       + T(" left by an interrupted run was kept as ",
                                           " aus einem unterbrochenen Lauf wurde aufbewahrt als ")
                                       + aside + QLatin1Char('.')
                                 : T("The working copy left by an interrupted run is no valid project database. "
                                     "It is not offered and was kept as ",
                                     "Die Arbeitskopie aus einem unterbrochenen Lauf ist keine gültige "
                                     "Projektdatenbank. Sie wird nicht angeboten und wurde aufbewahrt als ")
                                       + aside + QLatin1Char('.'),
                    MsgButtons::OK, otherProject ? MsgIcon::Information : MsgIcon::Exclamation, App::Title());
                moved = true;
            });
            if (!moved) {
                keepWorkingCopy_ = true;
                throw Guard::Leave{};
            }
        } else {
            const MsgResult answer = ctx_.dlg().MsgBox(
                T("Program was interuped during the execution!\r\nDo you want to save the changes till the interuption?",
                  "Programm wurde während der Ausführung unterbrochen!\r\n"
                  "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?"),
                MsgButtons::YesNo, MsgIcon::Question, App::Title());
            // A question closed by an end from outside was answered by nobody: keep.
            fresh = answer == MsgResult::No && !OutsideUnloadRequested();
        }
    }
    if (fresh) {
        // Without a sound working copy the program cannot work: it ends as a refusal
        // does, and the target (an older copy, or none) stays as it was.
        try {
            if (copy.isEmpty())
                throw VbError(VbErr::PathNotFound);
            CopyDatabase(projectDb, copy, {DatensatzTabellen()});
        } catch (const VbError& e) {
            Refusal(T("The working copy of project ", "Die Arbeitskopie des Projekts ") + ctx_.PROJEKT
                    + T(" cannot be set up:\r\n", " kann nicht angelegt werden:\r\n") + e.text());
        }
    }
    g.step([&] { WriteOrigin(copy, projectDb); });
    // Work recovered from an interrupted run is not in the project yet.
    g.step([&] { geaendert_ = !fresh; });
    g.step([&] {
        ctx_.cnnX = std::make_shared<Connection>();
        ctx_.cnnX->ConnectionTimeout = 30;
        ctx_.cnnX->Open(JetConnectionString(copy));
    });
}

QString frmMAIN::MoveAside(const QString& copy, const QString& label)
{
    const QString target = ParentFolder(copy) + QLatin1Char('/') + App::Title() + QLatin1Char('_') + label
                           + QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"))
                           + QStringLiteral(".mdb");
    MoveFile(copy, target);
    // A journal belongs to its database: it goes along, so that nothing rolls it back
    // onto a file it was not written for.
    QFile::rename(copy + QStringLiteral("-journal"), target + QStringLiteral("-journal"));
    QFile::remove(OriginMarker(copy));
    return target;
}

void frmMAIN::AKTIVANZEIGE()
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT [KEN],[KOM] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"), ctx_.cnnX);
    QString text = QStringLiteral("-");
    QString tip;
    if (!rs.Eof()) {
        rs.MoveLast();
        if (rs.RecordCount() == 1) {
            text = CStr(rs.Fields(QStringLiteral("KEN")).Value());
            const Variant kom = rs.Fields(QStringLiteral("KOM")).Value();
            tip = kom.isNull() ? QString() : CStr(kom);
        } else {
            rs.MoveFirst();
            text = CStr(rs.Fields(QStringLiteral("KEN")).Value()) + QStringLiteral(",...");
            QStringList all;
            for (; !rs.Eof(); rs.MoveNext())
                all << CStr(rs.Fields(QStringLiteral("KEN")).Value());
            tip = all.join(QStringLiteral(", "));
        }
    }
    rs.Close();
    stbMAIN->Panels(6).setText(text);
    stbMAIN->Panels(6).setToolTip(tip);
}

mdiAUTOSTART& frmMAIN::AUTOSTART()
{
    if (!startWindow_) {
        auto* form = new mdiAUTOSTART(ctx_.SPRACHE);
        QMdiSubWindow* sub = mdiArea->addSubWindow(form, Qt::SubWindow | Qt::CustomizeWindowHint);
        sub->setObjectName(QStringLiteral("mdiAUTOSTART_Window"));
        sub->setWindowTitle(QString());
        sub->setSystemMenu(nullptr);   // nothing to restore or minimise it with
        // The area keeps one window maximised and restores the one before: whenever the
        // start window comes to the front again, it is maximised again.
        connect(mdiArea, &QMdiArea::subWindowActivated, sub, [sub](QMdiSubWindow* active) {
            if (active == sub && !sub->isMaximized())
                sub->showMaximized();
        });
        startWindow_ = form;
        form->Form_Load(ScaleWidth(), ScaleHeight());
    }
    return *startWindow_;
}

void frmMAIN::StartWindowToFront()
{
    mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(AUTOSTART().parentWidget()));
}

QWidget* frmMAIN::ActiveForm() const
{
    QMdiSubWindow* active = mdiArea->activeSubWindow();
    return active ? active->widget() : nullptr;
}

PrinterSurface& frmMAIN::Printer()
{
    if (!printer_)
        printer_ = std::make_unique<PrinterSurface>();
    return *printer_;
}

void frmMAIN::SeitenDrucken(Guard& g)
{
    const QList<QWidget*> pages = PageList(*this);
    const int N = int(pages.size());
    if (N == 0)
        return;   // no page to print: the command ends without a word
    // With a form that is no page in front the range starts at the first page.
    const int A = std::max(ActivePageNumber(pages, ActiveForm()), 1);
    PrintRangeRequest dialog;
    dialog.printer = &Printer().printer();
    dialog.Min = 1;
    dialog.Max = N;
    dialog.FromPage = A;
    dialog.ToPage = A;
    // A file is proposed in the project's folder, named after the project and the record.
    QString record = stbMAIN->Panels(6).text();
    record.replace(QLatin1Char('/'), QLatin1Char('_'));
    dialog.fileName = ctx_.PROJEKTSPFAD + QLatin1Char('/') + ctx_.PROJEKT + QLatin1Char('/') + ctx_.PROJEKT
                      + (record == QLatin1String("-") ? QString() : QLatin1Char('_') + record) + QStringLiteral(".pdf");
    g.step([&] {
        if (!ctx_.dlg().ShowPrinter(dialog))
            throw VbError(VbErr::DialogCancelled);
    });
    g.step([&] { SetMousePointer(11); });
    // All pages kept and collated: the whole list; any other choice: the pages given.
    const bool alle = dialog.allPages && dialog.collate;
    const int von = std::max(alle ? dialog.Min : dialog.FromPage, 1);
    const int bis = std::min(alle ? dialog.Max : dialog.ToPage, N);
    std::vector<QPointer<QWidget>> bereich;
    for (int n = von; n <= bis; ++n)
        bereich.emplace_back(pages[n - 1]);
    // One document for all pages printed: one job on a printer, one file of sheets.
    PrintRun run(Printer());
    for (const QPointer<QWidget>& page : bereich)
        g.step([&] {
            if (auto* form = dynamic_cast<PageForm*>(page.data()))
                form->DRUCKEN();
        });
    g.step([&] { run.End(); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::Bildschirmkopie(Guard& g)
{
    QString pfad;
    g.step([&] {
        pfad = ctx_.PROJEKTSPFAD + QLatin1Char('/') + stbMAIN->Panels(2).text() + QStringLiteral("/JPG");
    });
    g.step([&] {
        if (!FolderExists(pfad))
            CreateFolder(pfad);
    });
    pfad += QLatin1Char('/');
    const QString vorgabe = stbMAIN->Panels(6).text() + QStringLiteral("-1");
    QString name;
    g.step([&] {
        name = ctx_.dlg().InputBox(U("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ") + pfad + vorgabe
                                       + QStringLiteral(".bmp"),
                                   QStringLiteral("KOPIE"), vorgabe);
    });
    if (name.isEmpty())
        return;
    g.step([&] { SetMousePointer(11); });
    QImage bild;
    g.step([&] { bild = PrintScreen(*this); });
    g.step([&] { DoEvents(); });
    g.step([&] { SaveBitmap(bild, pfad + name + QStringLiteral(".bmp")); });
    g.step([&] { DoEvents(); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::SeiteNachWord(Guard& g)
{
    g.step([&] { SetMousePointer(11); });
    std::vector<NamedPicture> bilder;
    QString name = App::Title();
    g.step([&] {
        QWidget* form = ActiveForm();
        if (!form)
            return;   // nothing in front: an empty document
        name += QLatin1Char('-') + form->objectName();
        if (auto* page = dynamic_cast<PageForm*>(form))
            for (PictureBox* box : page->PictureBoxes())
                if (!box->isHidden())
                    bilder.push_back({box->objectName(), box->Image()});
    });
    QString dokument;
    g.step([&] { dokument = WritePictureDocument(name, bilder); });
    if (!dokument.isEmpty())
        g.step([&] { OpenDocument(dokument, OpenerBox(stbMAIN->Panels(13).text())); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::SeitenSchliessen(Guard& g)
{
    g.step([&] { SetMousePointer(11); });
    for (QWidget* form : Forms()) {
        auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        // Out of the area at once, deleted once the event is done with: the command
        // may have come from a key on the page itself.
        if (sub && form->objectName() != QLatin1String("mdiAUTOSTART"))
            g.step([&] {
                mdiArea->removeSubWindow(sub);
                sub->deleteLater();
            });
    }
    g.step([&] { StartWindowToFront(); });
    for (int n = 10; n <= 15; ++n)
        g.step([&] { stbMAIN->Panels(n).SetVisible(false); });
    g.step([&] { menus_.value(QStringLiteral("mnuDATEI"))->setEnabled(true); });
    g.step([&] { menus_.value(QStringLiteral("mnuEXTRAS"))->setEnabled(true); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::SetPanelVisible(int index, bool visible)
{
    stbMAIN->Panels(index).SetVisible(visible);
}

QList<QWidget*> frmMAIN::Forms() const
{
    QList<QWidget*> forms;
    for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder))
        if (sub->widget())
            forms << sub->widget();
    for (QDialog* dialog : findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly))
        forms << dialog;
    return forms;
}

bool frmMAIN::Speichern()
{
    bool copied = false;
    Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuSPEICHERN"))), [&](Guard& g) {
        QString copy;
        g.step([&] { copy = XMDBPFAD(); });
        float size = 0;
        g.step([&] { size = GroesseMB(FileLen(copy)); });
        if (size > 10.0f) {
            MsgBoxRequest offer;
            offer.text = T("Database reaches ", "Datenbank hat ") + CStr(Variant(size))
                         + T(" MB! \r\nDo you want to compact the file?",
                             " MB erreicht! \r\nSoll die Datei komprimiert werden?");
            offer.buttons = MsgButtons::YesNo;
            offer.icon = MsgIcon::Question;
            offer.title = Caption(QStringLiteral("mnuSPEICHERN"));
            offer.helpFile = ctx_.programFolder + QLatin1Char('/') + App::HelpFile();
            offer.helpContext = 34;
            if (ctx_.dlg().MsgBox(offer) == MsgResult::Yes)
                mnuKOMPRIMIEREN_Click();
        }
        g.step([&] { SetMousePointer(11); });
        g.step([&] {
            // Only a sound project database may take the project's place; a failed copy
            // leaves the project database as it was.
            if (!ctx_.cnnX || !ctx_.cnnX->isOpen())
                throw VbError(VbErr::ObjectClosed, T("The working copy is not open. The project database was left "
                                                     "as it was.",
                                                     "Die Arbeitskopie ist nicht geöffnet. Die Projektdatenbank "
                                                     "bleibt unverändert."));
            const QString target = ProjektDatenbank();
            if (!FolderExists(ParentFolder(target)))
                throw VbError(VbErr::PathNotFound);   // the project folder has gone
            RemoveLeftOverPartials(target, SaveInProgress);   // of saves cut short
            try {
                CopyDatabase(copy, target, {DatensatzTabellen()});
            } catch (const VbError& e) {
                throw VbError(e.number(), e.text() + T("\r\nThe project database was left as it was.",
                                                       "\r\nDie Projektdatenbank bleibt unverändert."));
            }
            copied = true;
        });
        // A copy that failed leaves the changes unsaved, and the flag says so.
        g.step([&] { geaendert_ = geaendert_ && !copied; });
        g.step([&] { SetMousePointer(1); });
    });
    return copied;
}

void frmMAIN::mnuKOMPRIMIEREN_Click()
{
    const QString title = Caption(QStringLiteral("mnuKOMPRIMIEREN"));
    const auto reopen = [this] {
        if (ctx_.cnnX && !ctx_.cnnX->isOpen())
            ctx_.cnnX->Reopen();
    };
    const bool complete = Guarded(ctx_.dlg(), Box(title), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        QString s;
        g.step([&] { s = XMDBPFAD(); });
        const QString t = KompressionsDatei(s);
        float before = 0, after = 0;
        g.step([&] { before = GroesseMB(FileLen(s)); });
        // The working copy is replaced only by a sound compacted file, and the
        // connection object stays the same, so open views keep working.
        bool compacted = false;
        g.step([&] {
            if (!ctx_.cnnX)
                throw VbError(VbErr::ObjectNotSet);
            try {
                CompactDatabase(*ctx_.cnnX, t);
            } catch (const VbError& e) {
                throw VbError(e.number(), e.text() + T("\r\nThe working copy was left as it was.",
                                                       "\r\nDie Arbeitskopie bleibt unverändert."));
            }
            compacted = true;
        });
        g.step([&] { after = GroesseMB(FileLen(s)); });
        const float percent = ProzentKomprimiert(before, after);
        // A compaction that failed reports no success.
        if (compacted) {
            g.step([&] {
                ctx_.dlg().MsgBox(T("Database was compact about ", "Datenbank wurde um ") + CStr(Variant(percent))
                                      + T(" % to ", " % auf ") + CStr(Variant(after))
                                      + T(" MB!", " MB komprimiert !"),
                                  MsgButtons::OK, MsgIcon::Information, title);
            });
        }
        g.step(reopen);
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete) {
        Guarded(ctx_.dlg(), Box(title), [&](Guard& g) { g.step(reopen); });
        SetMousePointer(0);
    }
}

void frmMAIN::mnuEXPIMP_Click()
{
    MenusEnabled(false);
    Tag.clear();   // an answer left by another dialog is not this one's
    {
        frmEXPIMP dialog(*this);
        dialog.exec();
    }
    if (Tag == QStringLiteral("OK")) {
        geaendert_ = true;
        // Imported records may be active ones.
        Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuEXPIMP"))),
                [&](Guard& g) { g.step([&] { AKTIVANZEIGE(); }); });
    }
    MenusEnabled(true);
}

void frmMAIN::MenusEnabled(bool enabled)
{
    for (const char* menu : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        menus_.value(U(menu))->setEnabled(enabled);
}

// ---------------------------------------------------------------- records

bool frmMAIN::Auswahl(const QString& modus)
{
    Tag = modus;
    frmAUSWAHL dialog(*this);
    const OutsideUnloadDeferral modal;
    dialog.exec();
    return Tag == QStringLiteral("OK");
}

mdiEINGABE* frmMAIN::EINGABE() const
{
    return eingabe_;
}

mdiEINGABE& frmMAIN::ShowEingabe()
{
    if (!eingabe_) {
        mdiEINGABE::Hauptfenster hauptfenster{
            [this] { mnuBEENDEN_Click(); },
            [this] { stbMAIN_PanelClick(8); },
            [this] { stbMAIN_PanelClick(9); },
        };
        auto* form = new mdiEINGABE(ctx_, std::move(hauptfenster));
        QMdiSubWindow* sub = mdiArea->addSubWindow(form);
        sub->setObjectName(QStringLiteral("mdiEINGABE_Window"));
        sub->setWindowIcon(SuiteIcon());
        eingabe_ = form;
    }
    ShowMaximized(eingabe_);
    return *eingabe_;
}

void frmMAIN::Eingabestatus(bool an)
{
    if (!an && eingabe_) {
        // Deleted later: the window's own key may be what ends the input.
        QWidget* sub = eingabe_->parentWidget();
        eingabe_ = nullptr;
        sub->hide();
        sub->deleteLater();
        if (startWindow_)
            StartWindowToFront();
    }
    stbMAIN->Panels(8).SetVisible(an);
    stbMAIN->Panels(9).SetVisible(an);
    MenusEnabled(!an);
}

void frmMAIN::mnuNEU_Click()
{
    Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuNEU"))), [&](Guard& g) {
        g.step([&] { ShowEingabe(); });
        g.step([&] {
            stbMAIN->Panels(6).setText(QStringLiteral("-"));
            stbMAIN->Panels(6).setToolTip(QString());
        });
        g.step([&] { Eingabestatus(true); });
    });
}

void frmMAIN::mnuOEFFNEN_Click()
{
    const QString title = Caption(QStringLiteral("mnuOEFFNEN"));
    const bool complete = Guarded(ctx_.dlg(), Box(title), [&](Guard& g) {
        int32_t id = 0;
        for (;;) {
            if (!Auswahl(QStringLiteral("O")))
                return;
            long count = 0;
            g.step([&] {
                Recordset rs;
                rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true and [ID]>0 ORDER BY [KEN]"),
                        ctx_.cnnX);
                count = rs.RecordCount();
                if (count == 1)
                    id = CLng(rs.Fields(QStringLiteral("ID")).Value());
                rs.Close();
            });
            if (count == 1)
                break;
            const QString text = count == 0
                ? T("There is no selected file!", "Es gibt keinen aktuellen Datensatz!")
                : T("Only one file can be opened!", "Es kann nur ein aktueller Datensatz geöffnet werden!");
            if (ctx_.dlg().MsgBox(text, MsgButtons::OKCancel, MsgIcon::Exclamation, title) != MsgResult::OK)
                return;
        }
        g.step([&] { SetMousePointer(11); });
        g.step([&] { ShowEingabe(); });
        g.step([&] { DoEvents(); });
        g.step([&] { AKTIVANZEIGE(); });
        // The window is reached anew after each yield.
        g.step([&] {
            if (!eingabe_)
                throw VbError(VbErr::ObjectNotSet);
            eingabe_->OEFFNEN(id);
        });
        g.step([&] { DoEvents(); });
        g.step([&] { Eingabestatus(true); });
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
}

void frmMAIN::mnuAUSWAHL_Click()
{
    Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuAUSWAHL"))), [&](Guard& g) {
        if (!Auswahl(QStringLiteral("A")))
            return;
        g.step([&] { AKTIVANZEIGE(); });
        g.step([&] { geaendert_ = true; });
    });
}

void frmMAIN::mnuLOESCHEN_Click()
{
    const QString title = Caption(QStringLiteral("mnuLOESCHEN"));
    Guarded(ctx_.dlg(), Box(title), [&](Guard& g) {
        if (!Auswahl(QStringLiteral("L")))
            return;
        std::vector<std::pair<int32_t, QString>> aktive;
        Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [AKT]=true"), ctx_.cnnX); });
        while (g.loop([&] { return !rs.Eof(); })) {
            g.step([&] {
                const Variant ken = rs.Fields(QStringLiteral("KEN")).Value();
                aktive.emplace_back(CLng(rs.Fields(QStringLiteral("ID")).Value()), ken.isNull() ? QString() : CStr(ken));
            });
            g.step([&] { rs.MoveNext(); });
        }
        g.step([&] { rs.Close(); });
        for (const auto& [id, ken] : aktive) {
            const QString text = T("File ", "Datensatz ") + ken + T(" will be deleted!", " wird gelöscht!");
            // A record goes with all its rows, so that a later record of its number
            // inherits no results or layouts.
            if (ctx_.dlg().MsgBox(text, MsgButtons::OKCancel, MsgIcon::Exclamation, title) == MsgResult::OK)
                g.step([&] { LoescheDatensatz(ctx_.cnnX, id); });
        }
        g.step([&] { AKTIVANZEIGE(); });
        g.step([&] { geaendert_ = true; });
    });
}

// ---------------------------------------------------------------- status-bar buttons

void frmMAIN::stbMAIN_MouseDown(int, int, float x, float)
{
    for (int n = 8; n <= 15; ++n) {
        StatusPanel& panel = stbMAIN->Panels(n);
        if (panel.Visible() && panel.Left() <= x && x <= panel.Left() + panel.Width())
            panel.SetBevel(PanelBevel::Inset);
    }
    Sleep(250);
}

void frmMAIN::stbMAIN_PanelClick(int index)
{
    // The save lets the message loop run while it writes; nothing may enter it again
    // or unload the window it reads.
    if (panelCommand_)
        return;
    const QScopedValueRollback<bool> running(panelCommand_, true);
    StatusPanel& PANEL = stbMAIN->Panels(index);
    GuardSpec box = Box(PANEL.text());
    // An invalid property value and a cancelled print dialog end the command unseen.
    box.silenced = {VbErr::InvalidProperty, VbErr::DialogCancelled};
    Guarded(ctx_.dlg(), box, [&](Guard& g) {
        switch (index) {
        case 8:
            EingabeSpeichern(g, PANEL.text());
            break;
        case 9:
            EingabeVerwerfen(g);
            break;
        case 10:
            g.step([&] { frmANZEIGEN::instance(*this).Show(); });
            break;
        case 11:
            SeitenDrucken(g);
            break;
        case 12:
            Bildschirmkopie(g);
            break;
        case 13:
            SeiteNachWord(g);
            break;
        case 15:
            SeitenSchliessen(g);
            break;
        default:
            break;
        }
    });
    if (index >= 8 && index <= 15)
        PANEL.SetBevel(PanelBevel::Raised);
    SetMousePointer(0);
}

void frmMAIN::EingabeSpeichern(Guard& g, const QString& title)
{
    const QPointer<mdiEINGABE> eingabe = eingabe_;
    if (!eingabe)
        return;
    const std::shared_ptr<Connection> cnn = ctx_.cnnX;
    const QString d = eingabe->txtKEN->text();
    // The overwritten record's anchor row and every write of the save go together:
    // a save that fails leaves the stored record as it was.
    std::optional<Transaction> speichern;
    g.step([&] { speichern.emplace(cnn); });
    if (!speichern)
        return;
    int32_t id = 0;
    Recordset rs;
    g.step([&] { rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]=?"), {Variant(d)}, cnn); });
    if (g.test([&] { return rs.Eof(); })) {
        g.step([&] { rs.Close(); });
        g.step([&] { id = NeueDatensatzID(cnn); });
    } else {
        const QString frage = T("Do you want to overwrite the file ", "Soll der vorhandene Datensatz ") + d
                              + T("?", " überschrieben werden?");
        if (ctx_.dlg().MsgBox(frage, MsgButtons::YesNo, MsgIcon::Question, title) == MsgResult::No)
            return;
        g.step([&] { rs.MoveFirst(); });
        g.step([&] { id = CLng(rs.Fields(QStringLiteral("ID")).Value()); });
        g.step([&] { rs.Delete(); });
        g.step([&] { rs.Close(); });
    }
    g.step([&] { SetMousePointer(11); });
    bool gespeichert = false;
    g.step([&] { gespeichert = eingabe && eingabe->OK(id); });
    if (!gespeichert)
        return;
    // The other records lose their selection in the same transaction: a save is
    // stored whole, with it, or not at all.
    bool festgeschrieben = false;
    g.step([&] {
        Recordset andere;
        andere.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]<>? AND [AKT]=true"), {Variant(d)}, cnn);
        for (; !andere.Eof(); andere.MoveNext()) {
            andere.Fields(QStringLiteral("AKT")) = Variant(false);
            andere.Update();
        }
        andere.Close();
        speichern->Commit();
        festgeschrieben = true;
    });
    if (!festgeschrieben) {
        ctx_.dlg().MsgBox(T("The record was not saved.", "Der Datensatz wurde nicht gespeichert."), MsgButtons::OK,
                          MsgIcon::Exclamation, title);
        return;
    }
    g.step([&] { AKTIVANZEIGE(); });
    g.step([&] { geaendert_ = true; });
    g.step([&] { Eingabestatus(false); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::EingabeVerwerfen(Guard& g)
{
    g.step([&] { SetMousePointer(11); });
    g.step([&] { Eingabestatus(false); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::mnuSCHLIESSEN_Click()
{
    rueckkehr_ = true;
    Unload(UnloadMode::Code);
}

void frmMAIN::mnuBEENDEN_Click()
{
    rueckkehr_ = false;
    Unload(UnloadMode::Code);
}

bool frmMAIN::Unload(int mode)
{
    // A refused start ends at once, whoever asks: nothing of the unload runs.
    if (refused_ || unloaded_)
        return true;
    if (unloading_)
        return false;
    unloading_ = true;
    bool cancel = false;
    MDIForm_QueryUnload(cancel, mode);
    if (!cancel) {
        MDIForm_Unload(mode);
        unloaded_ = true;
        hide();
        emit Ended();
    }
    unloading_ = false;
    return !cancel;
}

void frmMAIN::closeEvent(QCloseEvent* event)
{
    if (unloaded_ || Unload(UnloadMode::UserClose))
        event->accept();
    else
        event->ignore();
}

void frmMAIN::MDIForm_QueryUnload(bool& cancel, int mode)
{
    Guarded(ctx_.dlg(), Box(App::Title()), [&](Guard& g) {
        const bool asks = mode == UnloadMode::UserClose || mode == UnloadMode::Code;
        if (asks && geaendert_) {
            const MsgResult answer = ctx_.dlg().MsgBox(
                T("Do you want to save changes to project ", "Sollen die Änderungen in Projekt ") + ctx_.PROJEKT
                    + T("?", " gespeichert werden?"),
                MsgButtons::YesNoCancel, MsgIcon::Question, Caption(QStringLiteral("mnuBEENDEN")));
            if (answer == MsgResult::Cancel) {
                cancel = true;
                return;
            }
            // A save that failed may be tried again (room made, the folder back); ending
            // instead keeps the working copy for the next start.
            if (answer == MsgResult::Yes) {
                while (!Speichern()) {
                    const MsgResult next = ctx_.dlg().MsgBox(
                        T("The changes were not saved.\r\nRetry: save again. Cancel: quit; the working copy is kept "
                          "and will be offered at the next start.",
                          "Die Änderungen wurden nicht gespeichert.\r\nWiederholen: noch einmal speichern. Abbrechen: "
                          "beenden; die Arbeitskopie bleibt erhalten und wird beim nächsten Start angeboten."),
                        MsgButtons::RetryCancel, MsgIcon::Exclamation, App::Title());
                    if (next != MsgResult::Retry) {
                        keepWorkingCopy_ = true;
                        break;
                    }
                }
            }
        } else if (!asks && geaendert_) {
            keepWorkingCopy_ = true;   // nobody could be asked: keep the changes for the next start
        }
        if (mode == UnloadMode::UserClose || rueckkehr_) {
            const QString frame = ParentFolder(ctx_.programFolder) + QLatin1Char('/') + App::FrameProgram();
            if (FileExists(frame))
                g.step([&] { StartDetached(frame); });
        }
    });
}

void frmMAIN::MDIForm_Unload(int)
{
    // Only the run that holds the lock owns the working copy and the admin row's
    // entry; another one (its start-up went wrong early) leaves both alone.
    const bool owner = lock_.Held();
    Guarded(ctx_.dlg(), Box(App::Title()), [&](Guard& g) {
        g.step([&] { UnloadForms(); });
        if (!ctx_.developmentMode()) {
            if (owner) {
                Recordset rs;
                g.step([&] { rs.Open(AdminAbfrage(QStringLiteral("[PROG]"), BENUTZER()), archive_); });
                g.step([&] { rs.MoveFirst(); });
                g.step([&] { rs.Fields(QStringLiteral("PROG")) = App::FrameProgram(); });
                g.step([&] { rs.Update(); });
                g.step([&] { rs.Close(); });
            }
            g.step([&] {
                if (!archive_)
                    throw VbError(VbErr::ObjectNotSet);
                archive_->Close();
            });
            g.step([&] {
                if (!ctx_.cnnX_V)
                    throw VbError(VbErr::ObjectNotSet);
                ctx_.cnnX_V->Close();
            });
            archive_.reset();
        }
        g.step([&] {
            if (!ctx_.cnnX)
                throw VbError(VbErr::ObjectNotSet);
            ctx_.cnnX->Close();
        });
        if (owner && !keepWorkingCopy_) {
            g.step([&] {
                const QString copy = XMDBPFAD();
                DeleteFile(copy);
                QFile::remove(OriginMarker(copy));
            });
        }
    });
    lock_.Release();
}

void frmMAIN::UnloadForms()
{
    // Each form's own unload (its destructor) only releases what it holds.
    for (QWidget* form : Forms()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
            delete sub;
        else
            delete form;
    }
}

void frmMAIN::mnuFRAGEZEICHEN_Click()
{
    const QString folder = ctx_.programFolder + QLatin1Char('/');
    menus_.value(QStringLiteral("mnuHILFE"))->setEnabled(FileExists(folder + App::HelpFile()));
    menus_.value(QStringLiteral("mnuREADME"))->setEnabled(FileExists(folder + App::ReadMeFile()));
    menus_.value(QStringLiteral("mnuHINWEISE"))->setEnabled(FileExists(folder + App::NotesFile()));
}

void frmMAIN::mnuHILFE_Click()
{
    SetMousePointer(11);
    int context = HelpContextOf(this);
    if (QMdiSubWindow* active = mdiArea->activeSubWindow()) {
        QWidget* child = active->widget();
        QWidget* focus = child ? child->focusWidget() : nullptr;
        context = HelpContextOf(focus ? focus : child);
    }
    // A help file that nothing opens is told in the documents' error box.
    Guarded(ctx_.dlg(), Box(HelpTitle), [&](Guard& g) {
        g.step([&] {
            ctx_.dlg().ShowHelp(ctx_.programFolder + QLatin1Char('/') + App::HelpFile(), context, OpenerBox(HelpTitle));
        });
    });
    SetMousePointer(0);
}

void frmMAIN::OpenDocumentCommand(const QString& fileName, const QString& title)
{
    const bool complete = Guarded(ctx_.dlg(), Box(title), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        g.step([&] { OpenDocument(ctx_.programFolder + QLatin1Char('/') + fileName, OpenerBox(title)); });
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
}

OpenerFailed frmMAIN::OpenerBox(const QString& title)
{
    // The command has long returned: the box only tells, with OK.
    return [self = QPointer<frmMAIN>(this), title](const VbError& e) {
        if (!self || self->unloaded_)
            return;
        GuardSpec spec = Box(title);
        spec.buttons = MsgButtons::OK;
        ShowErrorBox(self->ctx_.dlg(), spec, e);
    };
}

void frmMAIN::mnuREADME_Click()
{
    OpenDocumentCommand(App::ReadMeFile(), QStringLiteral("?/ReadMe"));
}

void frmMAIN::mnuHINWEISE_Click()
{
    OpenDocumentCommand(App::NotesFile(), QStringLiteral("?/Hinweise"));
}

void frmMAIN::mnuINFO_Click()
{
    frmINFO info(ctx_.SPRACHE, AUTOSTART(), ctx_.dlg(), this);
    const OutsideUnloadDeferral modal;
    info.exec();
}

// ---------------------------------------------------------------- evaluate menu

namespace {

// The record's result row, by its ID.
QString ResultRowQuery(int32_t id)
{
    return QStringLiteral("SELECT [ID],[BONEU] FROM [A1] WHERE [ID]=") + SqlNumber(Variant(id));
}

bool IsTrue(const Variant& v)
{
    return (v.type() == VarType::Boolean || v.isNumber()) && CBool(v);
}

} // namespace

void frmMAIN::mnuAUSWERTEN_Click()
{
    QAction* eingabegrafik = menus_.value(QStringLiteral("mnuEINGABEGRAFIK"));
    QAction* berechnen = menus_.value(QStringLiteral("mnuBERECHNEN"));
    QAction* neuberechnen = menus_.value(QStringLiteral("mnuNEUBERECHNEN"));
    const bool complete = Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuAUSWERTEN"))), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        long count = 0;
        int32_t id = 0;
        Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true"), ctx_.cnnX); });
        g.step([&] {
            if (rs.Eof())
                return;
            rs.MoveLast();
            count = rs.RecordCount();
            if (count == 1)
                id = CLng(rs.Fields(QStringLiteral("ID")).Value());
        });
        g.step([&] { rs.Close(); });
        if (count != 1) {
            for (QAction* item : {eingabegrafik, berechnen, neuberechnen})
                g.step([&] { item->setEnabled(false); });
        } else {
            g.step([&] { eingabegrafik->setEnabled(true); });
            Recordset a1;
            g.step([&] { a1.Open(ResultRowQuery(id), ctx_.cnnX); });
            if (g.test([&] { return a1.Eof(); })) {
                g.step([&] { a1.AddNew(); });
                g.step([&] { a1.Fields(QStringLiteral("ID")) = Variant(id); });
                g.step([&] { a1.Fields(QStringLiteral("BONEU")) = Variant(true); });
                g.step([&] { a1.Update(); });
            }
            g.step([&] { berechnen->setEnabled(!IsTrue(a1.Fields(QStringLiteral("BONEU")).Value())); });
            g.step([&] { a1.Close(); });
            g.step([&] { neuberechnen->setEnabled(true); });
        }
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
}

void frmMAIN::mnuEINGABEGRAFIK_Click()
{
    const QString name = QStringLiteral("mdiESEITE1");
    const bool complete = Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuEINGABEGRAFIK"))), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        PageCommandBegins(g);
        PageForm* page = nullptr;
        g.step([&] { page = LoadPage(name); });
        FinishProgress(g);
        g.step([&] { setEnabled(true); });
        g.step([&] { DoEvents(); });
        g.step([&] { ShowPage(page); });
        g.step([&] { PageButtons(); });
        PageCommandEnds(g);
    });
    if (!complete)
        PageCommandFailed();
}

void frmMAIN::mnuBERECHNEN_Click()
{
    const bool complete = Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuBERECHNEN"))), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        PageCommandBegins(g);
        g.step([&] { DoEvents(); });
        PageForm* page = nullptr;
        g.step([&] { page = LoadPage(QStringLiteral("mdiSEITE1")); });
        g.step([&] { DoEvents(); });
        g.step([&] { setEnabled(true); });
        g.step([&] { ShowPage(page); });
        g.step([&] { PageButtons(); });
        FinishProgress(g);
        PageCommandEnds(g);
    });
    if (!complete)
        PageCommandFailed();
}

void frmMAIN::mnuNEUBERECHNEN_Click()
{
    const bool complete = Guarded(ctx_.dlg(), Box(Caption(QStringLiteral("mnuNEUBERECHNEN"))), [&](Guard& g) {
        PageCommandBegins(g);
        int32_t id = 0;
        {
            Recordset active;
            g.step([&] {
                active.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"), ctx_.cnnX);
            });
            g.step([&] { id = CLng(active.Fields(QStringLiteral("ID")).Value()); });
            g.step([&] { active.Close(); });
        }
        // The record's result row is made anew with the flag of new results; this
        // cursor stays on it until the page is shown.
        Recordset a1;
        g.step([&] { a1.Open(ResultRowQuery(id), ctx_.cnnX); });
        g.step([&] {
            if (a1.Eof())
                return;
            a1.MoveFirst();
            a1.Delete();
        });
        g.step([&] { a1.AddNew(); });
        g.step([&] { a1.Fields(QStringLiteral("ID")) = Variant(id); });
        g.step([&] { a1.Fields(QStringLiteral("BONEU")) = Variant(true); });
        g.step([&] { a1.Update(); });
        g.step([&] { DoEvents(); });
        g.step([&] { SetMousePointer(11); });
        bool calculated = false;
        {
            std::unique_ptr<clsBERECHNEN> calculation;
            g.step([&] { calculation = std::make_unique<clsBERECHNEN>(ctx_); });
            g.step([&] { calculated = calculation && calculation->BERECHNUNG(); });
            if (!calculated) {
                g.step([&] { PageCommandFailed(); });
                return;
            }
            g.step([&] { DoEvents(); });
            // The page is built while the flag still says new: it starts from the default layout.
            PageForm* page = nullptr;
            g.step([&] { page = LoadPage(QStringLiteral("mdiSEITE1")); });
            calculation.reset();
            g.step([&] { DoEvents(); });
            g.step([&] { setEnabled(true); });
            g.step([&] { ShowPage(page); });
        }
        g.step([&] { DoEvents(); });
        g.step([&] { PageButtons(); });
        g.step([&] { a1.Fields(QStringLiteral("BONEU")) = Variant(false); });
        g.step([&] { a1.Update(); });
        g.step([&] { a1.Close(); });
        FinishProgress(g);
        PageCommandEnds(g);
    });
    if (!complete)
        PageCommandFailed();
}

void frmMAIN::PageCommandBegins(Guard& g)
{
    // The bar is on the start window: it comes to the front for the load, while the
    // window can still be activated, and the page built takes its place.
    g.step([&] {
        vorherigeSeite_ = qobject_cast<PageForm*>(ActiveForm());
        StartWindowToFront();
    });
    g.step([&] { setEnabled(false); });
    g.step([&] { AUTOSTART().pgbBERECHNEN->setVisible(true); });
}

void frmMAIN::PageCommandFailed()
{
    setEnabled(true);
    AUTOSTART().pgbBERECHNEN->setVisible(false);
    // No page was built: the page that was in front comes back.
    if (vorherigeSeite_)
        ShowPage(vorherigeSeite_);
    SetMousePointer(0);
}

void frmMAIN::PageCommandEnds(Guard& g)
{
    g.step([&] { geaendert_ = true; });
    g.step([&] { menus_.value(QStringLiteral("mnuDATEI"))->setEnabled(false); });
    g.step([&] { SetMousePointer(0); });
}

void frmMAIN::ShowPage(PageForm* page)
{
    if (!page)
        throw VbError(VbErr::ObjectNotSet);
    ShowMaximized(page);
}

PageForm* frmMAIN::LoadPage(const QString& name)
{
    for (QWidget* form : Forms())
        if (form->objectName() == name)
            return qobject_cast<PageForm*>(form);
    const PageMaker make = PageMakerOf(name);
    if (!make)
        throw VbError(VbErr::ObjectNotSet);
    PageForm* page = make(*this);
    // Loaded hidden: the command shows it once it is built.
    QMdiSubWindow* sub = mdiArea->addSubWindow(page);
    sub->setObjectName(name + QStringLiteral("_Window"));
    sub->setWindowIcon(SuiteIcon());
    sub->hide();
    page->Form_Load();
    return page;
}

void frmMAIN::PageButtons()
{
    for (int n : {10, 11, 12, 13, 15}) {
        stbMAIN->Panels(n).SetVisible(true);
        stbMAIN->Panels(n).SetBevel(PanelBevel::Raised);
    }
}

void frmMAIN::FinishProgress(Guard& g)
{
    QProgressBar* bar = AUTOSTART().pgbBERECHNEN;
    g.step([&] { bar->setValue(100); });
    g.step([&] { DoEvents(); });
    g.step([&] { Sleep(pagePause_); });
    g.step([&] { bar->setVisible(false); });
    g.step([&] { bar->setValue(0); });
}
