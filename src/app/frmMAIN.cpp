#include "frmMAIN.h"
#include "Pictures.h"
#include "Sprache.h"
#include "frmEXPIMP.h"
#include "frmINFO.h"
#include "platform/Ado.h"
#include "platform/App.h"
#include "platform/Application.h"
#include "platform/Documents.h"
#include "platform/ErrorGuard.h"
#include "platform/FileOps.h"
#include "platform/LateReport.h"
#include "platform/Locale.h"
#include "platform/PrinterSurface.h"
#include "platform/Process.h"
#include "platform/SessionEnd.h"
#include "platform/System.h"
#include "platform/Twips.h"
#include "platform/Yield.h"
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int MaxPanelPath = 20;

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

QString U(const char* s) { return QString::fromUtf8(s); }

int HelpContextOf(const QWidget* w)
{
    return w ? w->property("HelpContextID").toInt() : 0;
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

QString AdminAbfrage(const QString& columns, const QString& benutzer)
{
    return QStringLiteral("SELECT %1 FROM [ADMIN] WHERE [BENUTZER]=%2").arg(columns, SqlQuoted(benutzer));
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
    // An error that left an event handler after all: told in the program's box, with OK.
    Application::SetEscapedErrorReporter([this](const VbError& e) {
        GuardSpec spec = RoutineBox(App::Title());
        spec.buttons = MsgButtons::OK;
        ShowErrorBox(ctx_.dlg(), spec, e);
    });
}

frmMAIN::~frmMAIN()
{
    Application::SetEscapedErrorReporter(nullptr);
}

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
    return Sprachtext(ctx_.SPRACHE, english, german);
}

QString frmMAIN::Caption(const QString& menu) const
{
    return menus_.value(menu)->text();
}

QString frmMAIN::BENUTZER() const
{
    return AktuellerBenutzer();
}

QString frmMAIN::DATENBANKPFAD() const
{
    return GetSetting(QStringLiteral("KALMARO"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"));
}

QString frmMAIN::XMDBPFAD() const
{
    return workingCopy_.Path();
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
    const bool complete = Guarded(ctx_.dlg(), RoutineBox(App::Title()), [&](Guard& g) {
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
            // A presets database that is there but cannot be opened (damaged, no database
            // at all) ends the start with one box that names it; a missing one is the
            // step's error.
            std::optional<QString> presetsUnusable;
            g.step([&] {
                const QString presets = ctx_.DATENBANKPFAD + QStringLiteral("/VORGABE.mdb");
                ctx_.cnnX_V = std::make_shared<Connection>();
                try {
                    ctx_.cnnX_V->Open(JetConnectionString(presets));
                } catch (const VbError& e) {
                    if (!QFileInfo::exists(presets))
                        throw;
                    presetsUnusable = e.text();
                }
            });
            if (presetsUnusable)
                Refusal(T("The presets database cannot be opened:\r\n", "Die Vorgabedatenbank kann nicht geöffnet werden:\r\n")
                        + *presetsUnusable);
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
        if (const std::optional<QString> refusal = workingCopy_.SetUp())
            Refusal(*refusal);
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
        QMdiSubWindow* sub = mdiArea->addSubWindow(form, Qt::SubWindow | Qt::FramelessWindowHint);
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
        // Should the area restore it (it does so to every window when a maximised page is
        // restored or minimised), it keeps the size it is laid out for.
        sub->resize(sub->sizeHint());
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

WorkingCopy::SaveResult frmMAIN::Speichern()
{
    return workingCopy_.Save(Caption(QStringLiteral("mnuSPEICHERN")), Caption(QStringLiteral("mnuKOMPRIMIEREN")));
}

void frmMAIN::mnuKOMPRIMIEREN_Click()
{
    workingCopy_.Compact(Caption(QStringLiteral("mnuKOMPRIMIEREN")));
}

void frmMAIN::WithWorkingCopy(const char* menu, const std::function<void()>& command)
{
    if (WorkingCopyHere(Caption(U(menu))))
        command();
}

bool frmMAIN::WorkingCopyHere(const QString& title)
{
    GuardSpec box = RoutineBox(title);
    box.buttons = MsgButtons::OK;
    if (!ctx_.cnnX || !ctx_.cnnX->isOpen()) {
        ShowErrorBox(ctx_.dlg(), box,
                     VbError(VbErr::ObjectClosed, T("The working copy is not open: the command cannot run without "
                                                    "it. End the program and start it again.",
                                                    "Die Arbeitskopie ist nicht geöffnet: ohne sie kann der Befehl "
                                                    "nicht ausgeführt werden. Beenden Sie das Programm und starten "
                                                    "Sie es neu.")));
        return false;
    }
    // A folder that is no longer the one held may hold what someone else put there (a
    // journal that would be rolled back into the working copy): nothing is read there.
    try {
        workingCopy_.CheckFolder();
    } catch (const VbError& e) {
        ShowErrorBox(ctx_.dlg(), box, e);
        return false;
    }
    return true;
}

void frmMAIN::mnuEXPIMP_Click()
{
    WithWorkingCopy("mnuEXPIMP", [this] { ExportImport(); });
}

void frmMAIN::ExportImport()
{
    MenusEnabled(false);
    Tag.clear();   // an answer left by another dialog is not this one's
    {
        frmEXPIMP dialog(*this);
        dialog.exec();
    }
    if (Tag == QStringLiteral("OK")) {
        workingCopy_.MarkChanged();
        // Imported records may be active ones.
        Guarded(ctx_.dlg(), RoutineBox(Caption(QStringLiteral("mnuEXPIMP"))),
                [&](Guard& g) { g.step([&] { AKTIVANZEIGE(); }); });
    }
    MenusEnabled(true);
}

void frmMAIN::MenusEnabled(bool enabled)
{
    for (const char* menu : {"mnuDATEI", "mnuAUSWERTEN", "mnuEXTRAS"})
        menus_.value(U(menu))->setEnabled(enabled);
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
    GuardSpec box = RoutineBox(PANEL.text());
    // An invalid property value and a cancelled print dialog end the command unseen.
    box.silenced = {VbErr::InvalidProperty, VbErr::DialogCancelled};
    Guarded(ctx_.dlg(), box, [&](Guard& g) {
        switch (index) {
        case 8:
            if (WorkingCopyHere(PANEL.text()))
                records_.EingabeSpeichern(g, PANEL.text());
            break;
        case 9:
            records_.EingabeVerwerfen(g);
            break;
        case 10:
            pages_.SeitenAnzeigen(g);
            break;
        case 11:
            pages_.SeitenDrucken(g);
            break;
        case 12:
            pages_.Bildschirmkopie(g);
            break;
        case 13:
            pages_.SeiteNachWord(g);
            break;
        case 15:
            pages_.SeitenSchliessen(g);
            break;
        default:
            break;
        }
    });
    if (index >= 8 && index <= 15)
        PANEL.SetBevel(PanelBevel::Raised);
    SetMousePointer(0);
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
    Guarded(ctx_.dlg(), RoutineBox(App::Title()), [&](Guard& g) {
        const bool asks = mode == UnloadMode::UserClose || mode == UnloadMode::Code;
        // Input typed into the input window is no part of the working copy: it goes
        // only when the user lets it go, before the project's question.
        if (asks && !records_.EingabeAufgeben()) {
            cancel = true;
            return;
        }
        if (asks && workingCopy_.Changed()) {
            const MsgResult answer = ctx_.dlg().MsgBox(
                T("Do you want to save changes to project ", "Sollen die Änderungen in Projekt ") + ctx_.PROJEKT
                    + T("?", " gespeichert werden?"),
                MsgButtons::YesNoCancel, MsgIcon::Question, Caption(QStringLiteral("mnuBEENDEN")));
            if (answer == MsgResult::Cancel) {
                cancel = true;
                return;
            }
            // A save that failed may be tried again (room made, the folder back); ending
            // instead keeps the working copy for the next start, as keeping what someone
            // else saved does.
            if (answer == MsgResult::Yes) {
                while (Speichern() == WorkingCopy::SaveResult::Failed) {
                    const MsgResult next = ctx_.dlg().MsgBox(
                        T("The changes were not saved.\r\nRetry: save again. Cancel: quit; ",
                          "Die Änderungen wurden nicht gespeichert.\r\nWiederholen: noch einmal speichern. Abbrechen: "
                          "beenden; ")
                            + workingCopy_.KeptAtEnd(),
                        MsgButtons::RetryCancel, MsgIcon::Exclamation, App::Title());
                    if (next != MsgResult::Retry) {
                        workingCopy_.KeepForNextStart();
                        break;
                    }
                }
            }
        } else if (asks) {
            workingCopy_.EndWithoutChanges(Caption(QStringLiteral("mnuBEENDEN")));
        } else {
            workingCopy_.EndUnasked();
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
    const bool owner = workingCopy_.Owned();
    Guarded(ctx_.dlg(), RoutineBox(App::Title()), [&](Guard& g) {
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
        workingCopy_.Close(g);
    });
    workingCopy_.Unlock();
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
    Guarded(ctx_.dlg(), RoutineBox(HelpTitle), [&](Guard& g) {
        g.step([&] {
            ctx_.dlg().ShowHelp(ctx_.programFolder + QLatin1Char('/') + App::HelpFile(), context, OpenerBox(HelpTitle));
        });
    });
    SetMousePointer(0);
}

void frmMAIN::OpenDocumentCommand(const QString& fileName, const QString& title)
{
    const bool complete = Guarded(ctx_.dlg(), RoutineBox(title), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        g.step([&] { OpenDocument(ctx_.programFolder + QLatin1Char('/') + fileName, OpenerBox(title)); });
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
}

OpenerFailed frmMAIN::OpenerBox(const QString& title)
{
    // The command has long returned: the box only tells, with OK, once no other
    // command runs.
    return [self = QPointer<frmMAIN>(this), title](const VbError& e) {
        TellWhenNoCommandRuns([self, title, e] {
            if (!self || self->unloaded_)
                return;
            GuardSpec spec = RoutineBox(title);
            spec.buttons = MsgButtons::OK;
            ShowErrorBox(self->ctx_.dlg(), spec, e);
        });
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

