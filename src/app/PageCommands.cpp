#include "PageCommands.h"
#include "Pictures.h"
#include "frmMAIN.h"
#include "calc/clsBERECHNEN.h"
#include "pages/common/PageForm.h"
#include "pages/common/PageList.h"
#include "pages/common/frmANZEIGEN.h"
#include "pages/input/mdiESEITE1.h"
#include "pages/result/mdiSEITE1.h"
#include "platform/Ado.h"
#include "platform/App.h"
#include "platform/Documents.h"
#include "platform/ErrorGuard.h"
#include "platform/FileOps.h"
#include "platform/PictureDocument.h"
#include "platform/PrinterSurface.h"
#include "platform/ScreenCopy.h"
#include "platform/Yield.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

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

// ---------------------------------------------------------------- evaluate menu

void PageCommands::mnuAUSWERTEN_Click()
{
    Context& ctx = main_.context();
    QAction* eingabegrafik = main_.Menu(QStringLiteral("mnuEINGABEGRAFIK"));
    QAction* berechnen = main_.Menu(QStringLiteral("mnuBERECHNEN"));
    QAction* neuberechnen = main_.Menu(QStringLiteral("mnuNEUBERECHNEN"));
    const bool complete = Guarded(ctx.dlg(), RoutineBox(main_.Caption(QStringLiteral("mnuAUSWERTEN"))), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        long count = 0;
        int32_t id = 0;
        Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true"), ctx.cnnX); });
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
            g.step([&] { a1.Open(ResultRowQuery(id), ctx.cnnX); });
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

void PageCommands::mnuEINGABEGRAFIK_Click()
{
    const QString name = QStringLiteral("mdiESEITE1");
    const QString title = main_.Caption(QStringLiteral("mnuEINGABEGRAFIK"));
    const bool complete = Guarded(main_.context().dlg(), RoutineBox(title), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        PageCommandBegins(g);
        PageForm* page = nullptr;
        g.step([&] { page = LoadPage(name); });
        FinishProgress(g);
        g.step([&] { main_.setEnabled(true); });
        g.step([&] { DoEvents(); });
        g.step([&] { ShowPage(page); });
        g.step([&] { PageButtons(); });
        PageCommandEnds(g);
    });
    if (!complete)
        PageCommandFailed();
}

void PageCommands::mnuBERECHNEN_Click()
{
    const QString title = main_.Caption(QStringLiteral("mnuBERECHNEN"));
    const bool complete = Guarded(main_.context().dlg(), RoutineBox(title), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        PageCommandBegins(g);
        g.step([&] { DoEvents(); });
        PageForm* page = nullptr;
        g.step([&] { page = LoadPage(QStringLiteral("mdiSEITE1")); });
        g.step([&] { DoEvents(); });
        g.step([&] { main_.setEnabled(true); });
        g.step([&] { ShowPage(page); });
        g.step([&] { PageButtons(); });
        FinishProgress(g);
        PageCommandEnds(g);
    });
    if (!complete)
        PageCommandFailed();
}

void PageCommands::mnuNEUBERECHNEN_Click()
{
    Context& ctx = main_.context();
    const QString title = main_.Caption(QStringLiteral("mnuNEUBERECHNEN"));
    const bool complete = Guarded(ctx.dlg(), RoutineBox(title), [&](Guard& g) {
        PageCommandBegins(g);
        int32_t id = 0;
        {
            Recordset active;
            g.step([&] {
                active.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"), ctx.cnnX);
            });
            g.step([&] { id = CLng(active.Fields(QStringLiteral("ID")).Value()); });
            g.step([&] { active.Close(); });
        }
        // The record's result row is made anew with the flag of new results; this
        // cursor stays on it until the page is shown.
        Recordset a1;
        g.step([&] { a1.Open(ResultRowQuery(id), ctx.cnnX); });
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
            g.step([&] { calculation = std::make_unique<clsBERECHNEN>(ctx); });
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
            g.step([&] { main_.setEnabled(true); });
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

void PageCommands::PageCommandBegins(Guard& g)
{
    // The bar is on the start window: it comes to the front for the load, while the
    // window can still be activated, and the page built takes its place.
    g.step([&] {
        vorherigeSeite_ = qobject_cast<PageForm*>(main_.ActiveForm());
        main_.StartWindowToFront();
    });
    g.step([&] { main_.setEnabled(false); });
    g.step([&] { main_.AUTOSTART().pgbBERECHNEN->setVisible(true); });
}

void PageCommands::PageCommandFailed()
{
    main_.setEnabled(true);
    main_.AUTOSTART().pgbBERECHNEN->setVisible(false);
    // No page was built: the page that was in front comes back.
    if (vorherigeSeite_)
        ShowPage(vorherigeSeite_);
    SetMousePointer(0);
}

void PageCommands::PageCommandEnds(Guard& g)
{
    g.step([&] { main_.MarkChanged(); });
    g.step([&] { main_.Menu(QStringLiteral("mnuDATEI"))->setEnabled(false); });
    g.step([&] { SetMousePointer(0); });
}

void PageCommands::ShowPage(PageForm* page)
{
    if (!page)
        throw VbError(VbErr::ObjectNotSet);
    ShowMaximized(page);
}

PageForm* PageCommands::LoadPage(const QString& name)
{
    for (QWidget* form : main_.Forms())
        if (form->objectName() == name)
            return qobject_cast<PageForm*>(form);
    const PageMaker make = PageMakerOf(name);
    if (!make)
        throw VbError(VbErr::ObjectNotSet);
    PageForm* page = make(main_);
    // Loaded hidden: the command shows it once it is built.
    QMdiSubWindow* sub = main_.mdiArea->addSubWindow(page);
    sub->setObjectName(name + QStringLiteral("_Window"));
    sub->setWindowIcon(SuiteIcon());
    sub->hide();
    page->Form_Load();
    return page;
}

void PageCommands::PageButtons()
{
    for (int n : {10, 11, 12, 13, 15}) {
        main_.stbMAIN->Panels(n).SetVisible(true);
        main_.stbMAIN->Panels(n).SetBevel(PanelBevel::Raised);
    }
}

void PageCommands::FinishProgress(Guard& g)
{
    QProgressBar* bar = main_.AUTOSTART().pgbBERECHNEN;
    g.step([&] { bar->setValue(100); });
    g.step([&] { DoEvents(); });
    g.step([&] { Sleep(pagePause_); });
    g.step([&] { bar->setVisible(false); });
    g.step([&] { bar->setValue(0); });
}

// ---------------------------------------------------------------- page buttons

void PageCommands::SeitenAnzeigen(Guard& g)
{
    g.step([&] { frmANZEIGEN::instance(main_).Show(); });
}

void PageCommands::SeitenDrucken(Guard& g)
{
    const Context& ctx = main_.context();
    const QList<QWidget*> pages = PageList(main_);
    const int N = int(pages.size());
    if (N == 0)
        return;   // no page to print: the command ends without a word
    // With a form that is no page in front the range starts at the first page.
    const int A = std::max(ActivePageNumber(pages, main_.ActiveForm()), 1);
    PrintRangeRequest dialog;
    dialog.printer = &main_.Printer().printer();
    dialog.Min = 1;
    dialog.Max = N;
    dialog.FromPage = A;
    dialog.ToPage = A;
    // A file is proposed in the project's folder, named after the project and the record.
    QString record = main_.stbMAIN->Panels(6).text();
    record.replace(QLatin1Char('/'), QLatin1Char('_'));
    dialog.fileName = ctx.PROJEKTSPFAD + QLatin1Char('/') + ctx.PROJEKT + QLatin1Char('/') + ctx.PROJEKT
                      + (record == QLatin1String("-") ? QString() : QLatin1Char('_') + record) + QStringLiteral(".pdf");
    g.step([&] {
        if (!ctx.dlg().ShowPrinter(dialog))
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
    PrintRun run(main_.Printer());
    for (const QPointer<QWidget>& page : bereich)
        g.step([&] {
            if (auto* form = dynamic_cast<PageForm*>(page.data()))
                form->DRUCKEN();
        });
    g.step([&] { run.End(); });
    g.step([&] { SetMousePointer(0); });
}

void PageCommands::Bildschirmkopie(Guard& g)
{
    const Context& ctx = main_.context();
    QString pfad;
    g.step([&] {
        pfad = ctx.PROJEKTSPFAD + QLatin1Char('/') + main_.stbMAIN->Panels(2).text() + QStringLiteral("/JPG");
    });
    g.step([&] {
        if (!FolderExists(pfad))
            CreateFolder(pfad);
    });
    pfad += QLatin1Char('/');
    const QString vorgabe = main_.stbMAIN->Panels(6).text() + QStringLiteral("-1");
    QString name;
    g.step([&] {
        name = ctx.dlg().InputBox(QString::fromUtf8("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ") + pfad
                                      + vorgabe + QStringLiteral(".bmp"),
                                  QStringLiteral("KOPIE"), vorgabe);
    });
    if (name.isEmpty())
        return;
    g.step([&] { SetMousePointer(11); });
    QImage bild;
    g.step([&] { bild = PrintScreen(main_); });
    g.step([&] { DoEvents(); });
    g.step([&] { SaveBitmap(bild, pfad + name + QStringLiteral(".bmp")); });
    g.step([&] { DoEvents(); });
    g.step([&] { SetMousePointer(0); });
}

void PageCommands::SeiteNachWord(Guard& g)
{
    g.step([&] { SetMousePointer(11); });
    std::vector<NamedPicture> bilder;
    QString name = App::Title();
    g.step([&] {
        QWidget* form = main_.ActiveForm();
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
        g.step([&] { OpenHandedOverDocument(dokument, main_.OpenerBox(main_.stbMAIN->Panels(13).text())); });
    g.step([&] { SetMousePointer(0); });
}

void PageCommands::SeitenSchliessen(Guard& g)
{
    g.step([&] { SetMousePointer(11); });
    for (QWidget* form : main_.Forms()) {
        auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        // Out of the area at once, deleted once the event is done with: the command
        // may have come from a key on the page itself.
        if (sub && form->objectName() != QLatin1String("mdiAUTOSTART"))
            g.step([&] {
                main_.mdiArea->removeSubWindow(sub);
                sub->deleteLater();
            });
    }
    g.step([&] { main_.StartWindowToFront(); });
    for (int n = 10; n <= 15; ++n)
        g.step([&] { main_.stbMAIN->Panels(n).SetVisible(false); });
    g.step([&] { main_.Menu(QStringLiteral("mnuDATEI"))->setEnabled(true); });
    g.step([&] { main_.Menu(QStringLiteral("mnuEXTRAS"))->setEnabled(true); });
    g.step([&] { SetMousePointer(0); });
}
