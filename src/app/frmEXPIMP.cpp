#include "frmEXPIMP.h"
#include "Datensatz.h"
#include "Pictures.h"
#include "SavesLock.h"
#include "Sprache.h"
#include "platform/Twips.h"
#include "frmMAIN.h"
#include "platform/App.h"
#include "platform/Controls.h"
#include "platform/DbError.h"
#include "platform/ErrorGuard.h"
#include "platform/FileOps.h"
#include "platform/SessionEnd.h"
#include "platform/Yield.h"
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <optional>

namespace {

const QString Leer = QStringLiteral("<leer>");

// The box of the dialog's load and folder choice: OK and Cancel, no icon, the program title.
GuardSpec LoadBox()
{
    GuardSpec spec;
    spec.title = App::Title();
    spec.icon = MsgIcon::None;
    return spec;
}

// The box of the record copy.
GuardSpec CopyBox()
{
    GuardSpec spec;
    spec.title = QStringLiteral("Export/Import");
    spec.icon = MsgIcon::None;
    return spec;
}

QFont Arial(double pointSize, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

// The selected records of a list in list order; the placeholder of an empty list
// carries none.
std::vector<int32_t> Gewaehlt(const QListWidget& list)
{
    std::vector<int32_t> ids;
    for (int i = 0; i < ListCount(list); ++i)
        if (list.item(i)->isSelected() && ItemData(list, i) != 0)
            ids.push_back(ItemData(list, i));
    return ids;
}

QListWidget* NewList(QWidget* parent, const QString& name, const QRect& place)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(Arial(9, false));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setGeometry(place);
    return list;
}

QPushButton* NewArrow(QWidget* parent, const QString& name, const QString& arrow, const QString& tip,
                      const QRect& place)
{
    auto* button = new QPushButton(arrow, parent);
    button->setObjectName(name);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(14.25);
    button->setFont(font);
    button->setToolTip(tip);
    button->setGeometry(place);
    button->setEnabled(false);   // until another project's database is open
    return button;
}

} // namespace

QString ListenEintrag(const Variant& ken, const Variant& kom)
{
    const auto text = [](const Variant& v) { return v.isNull() ? QString() : CStr(v); };
    return text(ken) + QStringLiteral(" (") + text(kom) + QLatin1Char(')');
}

frmEXPIMP::frmEXPIMP(frmMAIN& main) : QDialog(&main), main_(main), cnnEXP_(std::make_shared<Connection>())
{
    setObjectName(QStringLiteral("frmEXPIMP"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Export/Import"));
    setWindowIcon(SuiteIcon());
    setFixedSize(8535 / TwipsPerPixel, 5205 / TwipsPerPixel);
    setFont(Arial(8.25, false));

    fraEXP = new QGroupBox(QStringLiteral("Externes Projekt"), this);
    fraEXP->setObjectName(QStringLiteral("fraEXP"));
    fraEXP->setFont(Arial(11.25, true));
    fraEXP->setGeometry(PixelRect(120, 150, 3540, 4935));
    drvEXP = new DriveListBox(fraEXP);
    drvEXP->setObjectName(QStringLiteral("drvEXP"));
    drvEXP->setFont(font());
    drvEXP->setGeometry(PixelRect(270, 480, 3015, 345));
    dirEXP = new DirListBox(fraEXP);
    dirEXP->setObjectName(QStringLiteral("dirEXP"));
    dirEXP->setFont(font());
    dirEXP->setGeometry(PixelRect(270, 870, 3015, 1620));
    lstEXP = NewList(fraEXP, QStringLiteral("lstEXP"), PixelRect(270, 2670, 3015, 1860));

    fraIMP = new QGroupBox(this);
    fraIMP->setObjectName(QStringLiteral("fraIMP"));
    fraIMP->setFont(Arial(11.25, true));
    fraIMP->setGeometry(PixelRect(3900, 150, 4500, 4365));
    lstIMP = NewList(fraIMP, QStringLiteral("lstIMP"), PixelRect(240, 450, 4035, 3660));

    // The arrows point toward the project that receives the records.
    cmdEXP = NewArrow(this, QStringLiteral("cmdEXP"), QStringLiteral("◀"), QStringLiteral("Export"),
                      PixelRect(3960, 4680, 675, 400));
    cmdIMP = NewArrow(this, QStringLiteral("cmdIMP"), QStringLiteral("▶"), QStringLiteral("Import"),
                      PixelRect(4710, 4680, 675, 400));
    cmdSCHLIESSEN = new QPushButton(QStringLiteral("Schließen"), this);
    cmdSCHLIESSEN->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    cmdSCHLIESSEN->setGeometry(PixelRect(6810, 4650, 1600, 400));
    cmdSCHLIESSEN->setDefault(true);

    connect(drvEXP, &DriveListBox::Change, this, &frmEXPIMP::drvEXP_Change);
    connect(dirEXP, &DirListBox::Change, this, &frmEXPIMP::dirEXP_Change);
    connect(cmdEXP, &QPushButton::clicked, this, &frmEXPIMP::cmdEXP_Click);
    connect(cmdIMP, &QPushButton::clicked, this, &frmEXPIMP::cmdIMP_Click);
    connect(cmdSCHLIESSEN, &QPushButton::clicked, this, &frmEXPIMP::cmdSCHLIESSEN_Click);

    Form_Load();
}

frmEXPIMP::~frmEXPIMP() = default;

DialogService& frmEXPIMP::dlg() const
{
    return main_.context().dlg();
}

QString frmEXPIMP::T(const char* english, const char* german) const
{
    return Sprachtext(sprache_, english, german);
}

void frmEXPIMP::Form_Load()
{
    Guarded(dlg(), LoadBox(), [&](Guard& g) {
        g.step([&] {
            SetMousePointer(11);
            sprache_ = main_.SPRACHE();
        });
        // Captions first, so that a project opened at once keeps its name in the frame.
        g.step([&] {
            fraIMP->setTitle(T("Selected Projekt: ", "Aktuelles Projekt: ") + main_.PROJEKT());
            if (sprache_ == 1) {
                fraEXP->setTitle(QStringLiteral("External Project"));
                cmdSCHLIESSEN->setText(QStringLiteral("Quit"));
            }
        });
        // Both settings reach the change handlers as a user's choice would.
        const QString projekt = main_.PROJEKTSPFAD() + QLatin1Char('/') + main_.PROJEKT();
        g.step([&] { drvEXP->setDrive(projekt); });
        g.step([&] { dirEXP->setPath(ParentFolder(projekt)); });
        g.step([&] { LISTEFUELLEN(main_.cnnX(), *lstIMP); });
    });
    SetMousePointer(0);
}

void frmEXPIMP::drvEXP_Change()
{
    try {
        dirEXP->setPath(drvEXP->Drive());
    } catch (const VbError& e) {
        // A volume that cannot be shown: say so and go back to the folder shown.
        GuardSpec box = LoadBox();
        box.buttons = MsgButtons::OK;
        ShowErrorBox(dlg(), box, e);
        const QSignalBlocker block(drvEXP);
        drvEXP->setDrive(dirEXP->Path());
    }
}

std::shared_ptr<Connection> frmEXPIMP::OpenProject(const QString& path)
{
    QString grund;
    try {
        auto cnn = OpenDatabase(path);
        if (IstProjektdatenbank(*cnn))
            return cnn;
        cnn->Close();
    } catch (const VbError& e) {
        grund = QStringLiteral("\r\n") + e.text();
    }
    dlg().MsgBox(T("The file ", "Die Datei ") + path
                     + T(" is not a project database of ", " ist keine Projektdatenbank von ") + App::Title()
                     + QLatin1Char('.') + grund,
                 MsgButtons::OK, MsgIcon::Exclamation, App::Title());
    return nullptr;
}

void frmEXPIMP::dirEXP_Change()
{
    SetMousePointer(11);
    lstEXP->clear();
    Guarded(dlg(), LoadBox(), [&](Guard& g) {
        const QString kandidat = QDir(dirEXP->Path()).filePath(App::Title() + QStringLiteral(".mdb"));
        // The own working copy is never the other project.
        const bool arbeitskopie = g.value<bool>([&] { return SameFile(kandidat, main_.XMDBPFAD()); }, true);
        if (arbeitskopie || !FileExists(kandidat))
            return;   // an earlier project stays open and stays the target
        // A file that is no project database leaves the earlier one open, too.
        const std::shared_ptr<Connection> cnn = OpenProject(kandidat);
        if (!cnn)
            return;
        g.step([&] {
            if (cnnEXP_->isOpen())
                cnnEXP_->Close();
        });
        BOEXP_ = true;
        cnnEXP_ = cnn;
        cmdEXP->setEnabled(true);
        cmdIMP->setEnabled(true);
        g.step([&] { LISTEFUELLEN(cnnEXP_, *lstEXP); });
        g.step([&] { fraEXP->setTitle(T("Project ", "Projekt ") + BaseName(dirEXP->Path())); });
    });
    SetMousePointer(0);
}

void frmEXPIMP::LISTEFUELLEN(const std::shared_ptr<Connection>& cnn, QListWidget& list)
{
    list.clear();
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]<>'M' ORDER BY [KEN]"), cnn);
    if (rs.Eof()) {
        AddItem(list, Leer);
        SetItemData(list, 0, 0);
    }
    for (; !rs.Eof(); rs.MoveNext()) {
        AddItem(list, ListenEintrag(rs.Fields(1).Value(), rs.Fields(2).Value()));
        SetItemData(list, ListCount(list) - 1, CLng(rs.Fields(0).Value()));
    }
    rs.Close();
}

void frmEXPIMP::cmdEXP_Click()
{
    Pfeil(*lstIMP, main_.cnnX(), cnnEXP_, *lstEXP);
}

void frmEXPIMP::cmdIMP_Click()
{
    Pfeil(*lstEXP, cnnEXP_, main_.cnnX(), *lstIMP);
}

void frmEXPIMP::Pfeil(const QListWidget& quellListe, std::shared_ptr<Connection> quelle,
                      std::shared_ptr<Connection> ziel, QListWidget& zielListe)
{
    // Nothing to copy before another project is open, nor from a placeholder.
    if (!cnnEXP_->isOpen() || Gewaehlt(quellListe).empty())
        return;
    DATENSATZKOPIEREN(quelle, quellListe, ziel);
    Guarded(dlg(), CopyBox(), [&](Guard& g) { g.step([&] { LISTEFUELLEN(ziel, zielListe); }); });
}

void frmEXPIMP::DATENSATZKOPIEREN(const std::shared_ptr<Connection>& quelle, const QListWidget& liste,
                                  const std::shared_ptr<Connection>& ziel)
{
    SetMousePointer(11);
    const std::vector<int32_t> ids = Gewaehlt(liste);
    int kopiert = 0;
    bool abgebrochen = false;
    // Records go into the other project's database under the lock of its saves; that
    // the lock cannot be had is said once an export.
    std::optional<SavesLock> sperre;
    if (ziel == cnnEXP_)
        sperre.emplace(dlg(), sprache_, QFileInfo(ParentFolder(ziel->path())).fileName(), CopyBox().title,
                       T("It is exported without the lock: a record exported at the very moment of another user's "
                         "save may be lost.",
                         "Es wird ohne Sperre exportiert: ein Datensatz, der im Augenblick der Speicherung eines "
                         "anderen Benutzers exportiert wird, kann verloren gehen."),
                       T("stop copying; this record and the ones after it are not copied.",
                         "das Kopieren abbrechen; dieser und die folgenden Datensätze werden nicht kopiert."));
    Guarded(dlg(), CopyBox(), [&](Guard& g) {
        for (int32_t id : ids) {
            const Kopie kopie = Kopieren(g, quelle, id, ziel, sperre ? &*sperre : nullptr, abgebrochen);
            if (kopie == Kopie::Kopiert)
                ++kopiert;
            if (kopie == Kopie::Ende)
                break;
        }
    });
    SetMousePointer(0);
    // A failure of a database file itself fails every record after it: the copy
    // ended after its one box, and says how far it came; so does a copy the user gave up
    // while it waited for a save of the target.
    if (abgebrochen)
        dlg().MsgBox(T("Copying was stopped: %1 of %2 records were copied.",
                       "Das Kopieren wurde abgebrochen: %1 von %2 Datensätzen wurden kopiert.")
                         .arg(CStr(Variant(int32_t(kopiert))), CStr(Variant(int32_t(ids.size())))),
                     MsgButtons::OK, MsgIcon::Exclamation, CopyBox().title);
}

frmEXPIMP::Kopie frmEXPIMP::Kopieren(Guard& g, const std::shared_ptr<Connection>& quelle, int32_t id,
                                     const std::shared_ptr<Connection>& ziel, SavesLock* sperre, bool& abgebrochen)
{
    // A step whose failure lies in a database file itself notes that the copy must end.
    const auto schritt = [&](const std::function<void()>& f) {
        g.step([&] {
            try {
                f();
            } catch (const DatabaseFailure& e) {
                abgebrochen = abgebrochen || e.lasting();
                throw;
            }
        });
        return !abgebrochen;
    };
    QString ken;
    bool gelesen = false;
    if (!schritt([&] {
            Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [ID]=?"), {Variant(id)}, quelle);
            ken = CStr(rs.Fields(1).Value());
            rs.Close();
            gelesen = true;
        }))
        return Kopie::Ende;
    if (!gelesen)
        return Kopie::Ausgelassen;
    // The record arrives whole or not at all. OK in the box of a table that failed
    // writes it again without that table; Cancel leaves nothing of it.
    QStringList ohne;
    for (;;) {
        const Versuch versuch = Schreiben(quelle, id, ken, ziel, ohne, sperre);
        if (versuch.beendet) {
            // Given up by the user, the copy says how far it came; an end from outside ends it.
            abgebrochen = abgebrochen || !OutsideUnloadRequested();
            return Kopie::Ende;
        }
        if (versuch.fehler) {
            if (!schritt([&] { std::rethrow_exception(versuch.fehler); }))
                return Kopie::Ende;
            // Without its E1 row the other rows would belong to no record; a failure
            // outside the tables leaves nothing to write again.
            if (versuch.tabelle.isEmpty() || versuch.tabelle == DatensatzTabellen().front())
                return Kopie::Ausgelassen;
            ohne << versuch.tabelle;
            continue;
        }
        if (versuch.vorhanden) {
            return dlg().MsgBox(QStringLiteral("Datensatz ") + ken + QStringLiteral(" ist bereits vorhanden!"),
                                MsgButtons::OKCancel, MsgIcon::Exclamation, App::Title())
                           == MsgResult::OK
                       ? Kopie::Ausgelassen
                       : Kopie::Ende;
        }
        return Kopie::Kopiert;
    }
}

frmEXPIMP::Versuch frmEXPIMP::Schreiben(const std::shared_ptr<Connection>& quelle, int32_t id, const QString& ken,
                                        const std::shared_ptr<Connection>& ziel, const QStringList& ohne,
                                        SavesLock* sperre)
{
    Versuch versuch;
    std::optional<ReplacementLock> lock;
    if (sperre && !sperre->Take(lock, ziel->path())) {
        versuch.beendet = true;
        return versuch;
    }
    try {
        // Another user's save put a new file in the project's place: the record goes
        // into that one, not into the file it replaced, which nobody opens again.
        if (sperre && ziel->fileReplaced())
            ziel->Reopen();
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]=?"), {Variant(ken)}, ziel);
        versuch.vorhanden = !rs.Eof();
        rs.Close();
        if (versuch.vorhanden)
            return versuch;
        Transaction datensatz(ziel);
        const int32_t neueId = NeueDatensatzID(ziel);
        for (const QString& table : DatensatzTabellen()) {
            if (ohne.contains(table))
                continue;
            versuch.tabelle = table;
            KopiereTabelle(table, quelle, id, ziel, neueId);
        }
        versuch.tabelle.clear();
        datensatz.Commit();
    } catch (...) {
        versuch.fehler = std::current_exception();
    }
    return versuch;
}

void frmEXPIMP::done(int result)
{
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    QDialog::done(result);
}

void frmEXPIMP::Form_Unload()
{
    if (!BOEXP_)
        return;
    if (cnnEXP_->isOpen())
        cnnEXP_->Close();
    main_.Tag = QStringLiteral("OK");
}
