#include "PageForm.h"
#include "frmKONTEXT.h"
#include "frmKONTEXT11.h"
#include "platform/App.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"
#include "platform/InputCodes.h"
#include "platform/PrinterSurface.h"
#include "platform/Twips.h"
#include "platform/Yield.h"
#include <QAction>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <cmath>

void ShowMaximized(QWidget* form)
{
    form->show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        sub->showMaximized();
        if (QMdiArea* area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    } else {
        form->showMaximized();
    }
}

void HideForm(QWidget* form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        sub->hide();
    else
        form->hide();
}

namespace {

// Pixels of a length in millimetres placed as twips (56.7 to the millimetre).
int placed(double mm)
{
    return int(std::lround(mm * TwipsPerMm / TwipsPerPixel));
}

} // namespace

PageForm::PageForm(PageHost& host, Spec spec, QWidget* parent)
    : QWidget(parent), host_(host), spec_(std::move(spec))
{
    setObjectName(spec_.name);
    setFocusPolicy(Qt::StrongFocus);
    // The form's drawing persists as large as the screen, so a larger window keeps it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    surface_ = new PictureBox(size.width() * 25.4 / dpi, size.height() * 25.4 / dpi, dpi, this);
    surface_->setObjectName(spec_.name + QStringLiteral("_Surface"));
    surface_->setScaleMode(ScaleModes::Twips);
    surface_->setAttribute(Qt::WA_TransparentForMouseEvents);
    surface_->move(0, 0);
    surface_->lower();
}

PageForm::~PageForm() = default;

QSize PageForm::sizeHint() const
{
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter).transposed();
    const QSizeF sheet(placed(mm.width()), placed(mm.height()));
    // Room for the window's frame in the main window's area.
    const QSizeF area = QSizeF(host_.ScaleWidth(), host_.ScaleHeight()) / TwipsPerPixel * 0.9;
    return sheet.scaled(sheet.boundedTo(area), Qt::KeepAspectRatio).toSize();
}

PictureBox& PageForm::addArea(int16_t nr, QRectF mm, QPointF printOffset, bool withBar, bool afterDiagramDialog)
{
    auto* pic = new PictureBox(mm.width(), mm.height(), 0.0, this);
    pic->setObjectName(QStringLiteral("picBILD%1").arg(nr));
    pic->move(placed(mm.left()), placed(mm.top()));
    if (nr == 11) {
        connect(pic, &PictureBox::mouseDown, this, &PageForm::picBILD11_MouseDown);
        connect(pic, &PictureBox::mouseMove, this, &PageForm::picBILD11_MouseMove);
    }
    VScrollBar* bar = nullptr;
    if (withBar) {
        bar = new VScrollBar(*pic, pic);
        bar->setObjectName(QStringLiteral("vscBILD%1").arg(nr));
        bar->hide();
        // Scrolling redraws the table at the bar's new position.
        connect(bar, &QScrollBar::valueChanged, this, [this, nr] { BILD(nr, 0, 0, 0); });
    }
    areas_.push_back({nr, pic, bar, mm, printOffset, afterDiagramDialog});
    return *pic;
}

const PageForm::Area& PageForm::area(int16_t nr) const
{
    for (const Area& a : areas_)
        if (a.nr == nr)
            return a;
    throw VbError(VbErr::Subscript);
}

PictureBox& PageForm::picBILD(int16_t nr) const
{
    return *area(nr).pic;
}

VScrollBar* PageForm::vscBILD(int16_t nr) const
{
    return area(nr).bar;
}

std::vector<PictureBox*> PageForm::PictureBoxes() const
{
    std::vector<PictureBox*> boxes;
    for (const Area& a : areas_)
        boxes.push_back(a.pic);
    return boxes;
}

QRectF PageForm::areaMm(int16_t nr) const
{
    return area(nr).mm;
}

PageForm::Target PageForm::target(int16_t nr, int16_t OBJ, float XDL, float YDO)
{
    const Area& a = area(nr);
    if (OBJ == 1)
        return {&host_.Printer(), float(a.mm.left()) + XDL, float(a.mm.top()) + YDO};
    a.pic->Cls();
    return {a.pic, 0, 0};
}

void PageForm::progress(float value) const
{
    host_.context().progress(value);
}

// ---------------------------------------------------------------- header and footer

void PageForm::Kopffusszeile(int16_t S)
{
    Guarded(host_.context().dlg(), RoutineBox(QStringLiteral("Kopffusszeile"), spec_.boxPrefix), [&](Guard& g) {
        if (S == 0)
            g.step([&] { surface_->Cls(); });
        if (S == 0 || S == 1)
            g.step([&] { KOPFFUSS = std::make_unique<clsKOPFFUSS>(host_.context()); });
        g.step([&] {
            if (!KOPFFUSS)
                throw VbError(VbErr::ObjectNotSet);
            if (S == 0)
                KOPFFUSS->AUSGABEOBJEKT(host_, *surface_);
            else if (S == 1)
                KOPFFUSS->AUSGABEOBJEKT(host_.Printer());
        });
        clsKOPFFUSS* k = KOPFFUSS.get();
        g.step([&] { k->BEARBEITER(host_.BEARBEITER()); });
        g.step([&] { k->COPYRIGHT(App::LegalCopyright()); });
        g.step([&] { k->EBOKFS(BOKFS); });
        g.step([&] { k->KENNZEICHNUNG(Variant(KEN)); });
        g.step([&] { k->DATUM(FromDateTime(QDateTime(QDate::currentDate(), QTime(0, 0)))); });
        g.step([&] { k->KOMMENTAR(KOM); });
        g.step([&] { k->RANDABSTAND(QString(), 15); });
        if (S == 0) {
            // On screen the header starts 7.5 mm below the client area's top.
            g.step([&] { k->RANDABSTAND(QStringLiteral("oben"), 7.5f); });
            g.step([&] { k->RANDABSTAND(QStringLiteral("unten"), 7.5f); });
        }
        g.step([&] { k->SEITE(spec_.SEITE); });
        g.step([&] { k->SEITENANZAHL(2); });
        g.step([&] { k->PROGRAMMIERER(App::LegalTrademarks()); });
        g.step([&] { k->PROJEKT(host_.PROJEKT()); });
        g.step([&] { k->UEBERSCHRIFT(App::ProductName()); });
        g.step([&] { k->UHRZEIT(FromDateTime(QDateTime(QDate(1899, 12, 30), QTime::currentTime()))); });
        g.step([&] { k->KOPFFUSSZEILE(); });
    });
}

// ---------------------------------------------------------------- protocol

void PageForm::redrawAreas()
{
    for (std::size_t i = 0; i < areas_.size(); ++i) {
        BILD(areas_[i].nr, 0, 0, 0);
        DoEvents();
    }
}

void PageForm::DRUCKEN()
{
    const QScopedValueRollback<int> busy(busy_, busy_ + 1);
    PrinterSurface& printer = host_.Printer();
    const bool printed =
        Guarded(host_.context().dlg(), RoutineBox(spec_.printTitle, spec_.boxPrefix), [&](Guard& g) {
            g.step([&] { printer.setScaleMode(ScaleModes::Millimetres); });
            g.step([&] { printer.printer().setPageSize(QPageSize(QPageSize::A4)); });
            g.step([&] { printer.printer().setPageOrientation(QPageLayout::Landscape); });
            if (BOKF)
                g.step([&] { Kopffusszeile(1); });
            g.step([&] { DoEvents(); });
            for (const Area& a : areas_) {
                g.step([&] { BILD(a.nr, 1, float(a.printOffset.x()), float(a.printOffset.y())); });
                g.step([&] { DoEvents(); });
            }
            g.step([&] { printer.EndDoc(); });
            // The screen again: the drawing objects of the page are screen objects after.
            if (spec_.headerAfterPrint && BOKF)
                g.step([&] { Kopffusszeile(0); });
            for (const Area& a : areas_) {
                g.step([&] { BILD(a.nr, 0, 0, 0); });
                g.step([&] { DoEvents(); });
            }
        });
    if (!printed)
        printer.KillDoc();
}

void PageForm::KONTEXT(bool& HBOKF, bool& HBOKFS, int32_t& FARBEMDI, int32_t& FARBEPIC)
{
    const QScopedValueRollback<int> busy(busy_, busy_ + 1);
    surface_->setBackColor(FARBEMDI);
    for (const Area& a : areas_)
        a.pic->setBackColor(FARBEPIC);
    BOKF = HBOKF;
    BOKFS = HBOKFS;
    surface_->Cls();
    if (BOKF)
        Kopffusszeile(0);
    redrawAreas();
}

void PageForm::Form_KeyDown(int KeyCode, int Shift)
{
    // A command may unload this page: only what is held here is used after it.
    PageHost& host = host_;
    QWidget* self = this;
    const QString other = spec_.otherPage;
    switch (KeyCode) {
    case 33:   // Page Up
    case 34:   // Page Down
        for (QWidget* form : host.Forms())
            if (form->objectName() == other) {
                HideForm(self);
                ShowMaximized(form);
            }
        break;
    case 112:   // F1
        host.mnuHILFE_Click();
        break;
    case 27:    // Esc: close the pages
        host.stbMAIN_PanelClick(15);
        break;
    default:
        break;
    }
    if (KeyCode == 81 && (Shift & 4))   // Alt+Q
        host.mnuBEENDEN_Click();
    if (Shift & 2) {
        // Ctrl+S chooser, P print, C screenshot, W word processor, A nothing of its own.
        static const std::pair<int, int> panels[] = {{83, 10}, {80, 11}, {67, 12}, {87, 13}, {65, 14}};
        for (const auto& [key, panel] : panels)
            if (KeyCode == key)
                host.stbMAIN_PanelClick(panel);
    }
}

// ---------------------------------------------------------------- events

void PageForm::Form_Click()
{
    frmKONTEXT& dialog = frmKONTEXT::instance(host_);
    SetTag(*dialog.chkBOKF, BOKF ? QStringLiteral("1") : QStringLiteral("0"));
    SetTag(*dialog.chkBOKFS, BOKFS ? QStringLiteral("1") : QStringLiteral("0"));
    dialog.cdlFARBEN[0].Color = BackColor();
    dialog.cdlFARBEN[1].Color = areas_.empty() ? 0 : areas_.front().pic->BackColor();
    dialog.Show();
}

void PageForm::Form_Activate()
{
    host_.SetPanelVisible(14, false);
}

void PageForm::picBILD11_MouseDown(int Button, int, float, float)
{
    PictureBox& pic = picBILD(11);
    if (Button == 2) {
        const QPointer<PageForm> alive(this);
        {
            frmKONTEXT11 dialog(host_, *this);
            dialog.exec();
        }
        if (!alive || Tag != QLatin1String("OK"))
            return;
        for (const Area& a : areas_)
            if (a.afterDiagramDialog)
                BILD(a.nr, 0, 0, 0);
        Tag.clear();
    } else if (crossMode_) {
        crossMode_ = false;
        pic.unsetCursor();
    } else if (MousePointer() == 0) {
        crossMode_ = true;
        pic.setCursor(MousePointerShape(2));
    }
}

void PageForm::picBILD11_MouseMove(int, int, float X, float Y)
{
    QString tip;
    // No tip without a diagram or its scales (a page whose load ended early).
    if (crossMode_ && GRAFIK11 && GRAFIK11->layout().MX != 0 && GRAFIK11->layout().MY != 0) {
        float x = 0, z = 0;
        GRAFIK11->KOORDTRANSINV(X, Y, x, z, 0, 0);
        tip = QStringLiteral("x = ") + Format(Variant(x), QStringLiteral("0.00")) + QStringLiteral("; z = ")
              + Format(Variant(z), QStringLiteral("0.00"));
    }
    picBILD(11).setToolTip(tip);
}

void PageForm::mouseReleaseEvent(QMouseEvent* event)
{
    // Only a click on the free area of the page, not one that came up from an area.
    QWidget* under = childAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && (!under || under == surface_))
        Form_Click();
}

void PageForm::keyPressEvent(QKeyEvent* event)
{
    // The areas and their bars take no focus: every key of the page arrives here.
    keyLater(event);
}

void PageForm::keyLater(QKeyEvent* event)
{
    const int code = KeyCode(*event);
    const int shift = ShiftCode(event->modifiers());
    if (code != 0)
        later([this, code, shift] { Form_KeyDown(code, shift); });
}

void PageForm::later(const std::function<void()>& command)
{
    // Run once the event is done with, so a command may unload the page; not in the
    // middle of printing or redrawing the page, whose yields run the timer.
    QTimer::singleShot(0, this, [this, command] {
        if (busy_ == 0)
            command();
    });
}

void PageForm::closeEvent(QCloseEvent* event)
{
    // The page's window closed (its button, its menu): every page closes as with
    // "Schließen", so that the page buttons and the menus never outlive the pages.
    event->ignore();
    later([this] { host_.stbMAIN_PanelClick(15); });
}

void PageForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (windowTakenOver_ || !sub || !sub->mdiArea())
        return;
    windowTakenOver_ = true;
    // The window's close key (Ctrl+W) is the page's own key for the document.
    if (QMenu* menu = sub->systemMenu())
        for (QAction* action : menu->actions())
            if (action->shortcuts() == QKeySequence::keyBindings(QKeySequence::Close))
                action->setShortcuts({});
    connect(sub->mdiArea(), &QMdiArea::subWindowActivated, this, [this, sub](QMdiSubWindow* active) {
        if (active == sub)
            Form_Activate();
    });
}
