#pragma once
// A main window stand-in that hosts pages, and a small page on the shared page form:
// a section diagram (11), a table with its bar (12) and a legend (18), each drawing a
// frame around its area, the table its rows. Project database with the active record 7.
#include "PagesFixture.h"
#include "pages/common/PageForm.h"
#include "platform/PrinterSurface.h"
#include "support/TestSuite.h"
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

class FakeHost : public QMainWindow, public PageHost {
public:
    explicit FakeHost(Context& ctx) : ctx_(ctx)
    {
        setObjectName(QStringLiteral("frmMAIN"));
        mdiArea = new QMdiArea(this);
        setCentralWidget(mdiArea);
        menuBar()->addMenu(QStringLiteral("Datei"));   // a maximised page's title bar joins it
        resize(790, 700);   // within the offscreen screen, which the page form's drawing covers
    }
    Context& context() override { return ctx_; }
    QWidget* Owner() override { return this; }
    QString BEARBEITER() const override { return QStringLiteral("NAME"); }
    QString PROJEKT() const override { return QStringLiteral("TE0000.00"); }
    QWidget* ActiveForm() const override
    {
        if (noActiveForm)
            return nullptr;
        QMdiSubWindow* sub = mdiArea->activeSubWindow();
        return sub ? sub->widget() : nullptr;
    }
    QList<QWidget*> Forms() const override
    {
        QList<QWidget*> forms;
        for (QMdiSubWindow* sub : mdiArea->subWindowList(QMdiArea::CreationOrder))
            forms << sub->widget();
        return forms;
    }
    PrinterSurface& Printer() override
    {
        if (!printer)
            printer = std::make_unique<PrinterSurface>(pdf.filePath(QStringLiteral("page.pdf")));
        return *printer;
    }
    double ScaleWidth() const override { return mdiArea->viewport()->width() * 15.0; }
    double ScaleHeight() const override { return mdiArea->viewport()->height() * 15.0; }
    void mnuHILFE_Click() override { calls << QStringLiteral("help"); }
    void mnuBEENDEN_Click() override { calls << QStringLiteral("end"); }
    void stbMAIN_PanelClick(int index) override { calls << QStringLiteral("panel %1").arg(index); }
    void SetPanelVisible(int index, bool visible) override
    {
        calls << QStringLiteral("panel %1 %2").arg(index).arg(visible ? "shown" : "hidden");
    }
    // A form in the MDI area, shown and made active.
    QMdiSubWindow* load(QWidget* form)
    {
        QMdiSubWindow* sub = mdiArea->addSubWindow(form);
        sub->show();
        mdiArea->setActiveSubWindow(sub);
        return sub;
    }

    QMdiArea* mdiArea;
    QStringList calls;
    bool noActiveForm = false;
    QTemporaryDir pdf;
    std::unique_ptr<PrinterSurface> printer;

private:
    Context& ctx_;
};

// What sets the result page and the input-graphic page apart.
inline PageForm::Spec ResultPageSpec()
{
    return {QStringLiteral("mdiSEITE1"), QStringLiteral("mdiESEITE1"), 2, QStringLiteral("VB-Fehler: "),
            QStringLiteral("Drucken von Seite 1"), true};
}

inline PageForm::Spec InputPageSpec()
{
    return {QStringLiteral("mdiESEITE1"), QStringLiteral("mdiSEITE1"), 1, QStringLiteral("VB-Error: "),
            QStringLiteral("Drucken von Eingabeseite 1"), false};
}

class TestPage : public PageForm {
public:
    TestPage(PageHost& host, PageForm::Spec spec) : PageForm(host, std::move(spec))
    {
        addArea(11, QRectF(13, 30, 124, 115), QPointF(-3, 5), false, true);
        addArea(12, QRectF(137, 37, 62, 50), QPointF(0, 5), true, false);
        addArea(18, QRectF(13, 145, 124, 15), QPointF(0, 5), false, true);
        KEN = QStringLiteral("Spundwand");
    }

    struct Call {
        int nr, OBJ;
        float XDL, YDO;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> drawn;
    bool failOnPaper = false;   // area 12 fails on the printer
    bool diagram = false;       // area 11 keeps a diagram object on the layout row 11
    std::unique_ptr<clsTABELLE> TABELLE12;

    void BILD(int16_t nr, int16_t OBJ, float XDL, float YDO) override
    {
        drawn.push_back({nr, OBJ, XDL, YDO});
        if (failOnPaper && OBJ == 1 && nr == 12)
            throw VbError(VbErr::Subscript);   // an error the area does not report itself
        Guarded(host_.context().dlg(), RoutineBox(QStringLiteral("Tabelle")), [&](Guard& g) {
            g.step([&] {
                const Target t = target(nr, OBJ, XDL, YDO);
                if (nr == 12) {
                    TABELLE12 = SectionTable(host_.context(), *t.EOBJEKT);
                    TABELLE12->EXDL(t.EXDL);
                    TABELLE12->EYDO(t.EYDO);
                    TABELLE12->EYBALKEN(vscBILD(12));
                    VariantMatrix head = SectionHead();
                    VariantMatrix body = NumberRows(13);
                    TABELLE12->TABELLE(head, 0);
                    TABELLE12->TABELLE(body, 1);
                    return;
                }
                const QRectF mm = areaMm(nr);
                t.EOBJEKT->setScaleMode(ScaleModes::Millimetres);
                t.EOBJEKT->Line(LineFlags::FirstPoint | LineFlags::Box, t.EXDL + 1, t.EYDO + 1,
                                t.EXDL + mm.width() - 1, t.EYDO + mm.height() - 1);
                if (nr == 11 && OBJ == 0 && diagram) {
                    GRAFIK11 = std::make_unique<clsGRAFIK>(host_.context());
                    GRAFIK11->EOBJEKT(t.EOBJEKT);
                    GRAFIK11->EAXEX(0);
                    GRAFIK11->EAXEY(0);
                    GRAFIK11->SKALEN(0);
                }
            });
        });
    }
    using PageForm::Kopffusszeile;
};

// Pages on the stand-in, for the active record 7; dialogs left open are closed after.
class HostedPages : public ::testing::Test {
protected:
    TempProject project;
    FakeHost host{project.ctx()};

    HostedPages()
    {
        project.exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (7, 'R7', 1)"));
        host.show();
    }
    ~HostedPages() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(w))
                w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A page loaded, shown maximised and active.
    TestPage* page(PageForm::Spec spec)
    {
        auto* p = new TestPage(host, std::move(spec));
        host.load(p);
        ShowMaximized(p);
        return p;
    }
};
