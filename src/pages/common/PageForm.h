#pragma once
// What the two printable pages share: the page-form protocol (the areas BILD11,
// BILD12, ... drawn on screen or on the printer, DRUCKEN, KONTEXT, Form_KeyDown), the
// header and footer on the form or the printer, the picture areas with their scroll
// bars, the context dialogs and the page keys. A page adds its areas, loads its record
// and draws them; everything else is here.
#include "PageHost.h"
#include "clsKOPFFUSS.h"
#include "draw/clsGRAFIK.h"
#include "platform/PictureBox.h"
#include "platform/VScrollBar.h"
#include <QRectF>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The runtime's WindowState maximised and Show of a loaded form (an MDI child is made
// the active one), and its Hide; the form stays loaded.
void ShowMaximized(QWidget* form);
void HideForm(QWidget* form);

class PageForm : public QWidget {
    Q_OBJECT
public:
    // Where one page differs from the other in the shared members.
    struct Spec {
        QString name;              // the form's name
        QString otherPage;         // the page that Page Up and Page Down show
        int16_t SEITE = 1;         // its page number, of 2
        QString boxPrefix;         // prefix of the header's and of the printing's error box
        QString printTitle;        // title of the printing's error box
        bool headerAfterPrint;     // printing draws the header on screen again afterwards
    };
    PageForm(PageHost& host, Spec spec, QWidget* parent = nullptr);
    ~PageForm() override;
    // Its sheet (A4 landscape) as large as its areas are placed on it, or smaller, at the
    // sheet's proportions, where the main window's area is smaller: the size a page
    // restored from its maximised state shows.
    QSize sizeHint() const override;

    // Builds the page once from the active record and draws it; the main window's page
    // commands call it after creating the form. The shared form reads nothing itself.
    virtual void Form_Load() {}

    // Draws area nr: OBJ 0 on screen in its picture box, 1 on the printer at the box's
    // place on the page shifted by (XDL, YDO) mm.
    virtual void BILD(int16_t nr, int16_t OBJ, float XDL, float YDO) = 0;
    // Prints the page on one sheet, then redraws it on screen. Cancel in its error box
    // discards the sheet and leaves the screen as it is.
    virtual void DRUCKEN();
    // The page context dialog's settings: header and footer, page numbering, the colours
    // of the page and of its areas; the page is redrawn.
    virtual void KONTEXT(bool& HBOKF, bool& HBOKFS, int32_t& FARBEMDI, int32_t& FARBEPIC);
    // The page's keys, KeyCode and Shift as the runtime gives them.
    virtual void Form_KeyDown(int KeyCode, int Shift);

    // A click on the free page area: the page context dialog, preset from the page.
    void Form_Click();
    // The page became the active form.
    void Form_Activate();
    // The section diagram (area 11): the right button opens the diagram context dialog,
    // any other toggles the cross cursor; moving in cross mode shows x and z in the tip.
    // Button and Shift as the runtime codes them (2 the right button), X and Y in mm.
    void picBILD11_MouseDown(int Button, int Shift, float X, float Y);
    void picBILD11_MouseMove(int Button, int Shift, float X, float Y);

    QString Tag;          // "OK" after the diagram context dialog saved new ranges
    bool BOKF = true;     // draw header and footer
    bool BOKFS = true;    // number the page
    // The form's own drawing under its areas (scale twips): the header and footer.
    PictureBox& Surface() { return *surface_; }
    int32_t BackColor() const { return surface_->BackColor(); }
    PictureBox& picBILD(int16_t nr) const;
    VScrollBar* vscBILD(int16_t nr) const;   // null for an area without a bar
    // The page's picture boxes (its areas) in control order.
    std::vector<PictureBox*> PictureBoxes() const;

protected:
    // Adds picture area nr at its place on the form (mm), in control order; printed at
    // that place shifted by printOffset (mm). A table area gets its scroll bar, whose
    // change redraws the area; afterDiagramDialog: redrawn after the diagram context
    // dialog saved new ranges.
    PictureBox& addArea(int16_t nr, QRectF mm, QPointF printOffset, bool withBar, bool afterDiagramDialog);
    // Where area nr draws: its picture box, cleared, on screen; the printer otherwise,
    // at the box's place shifted by (XDL, YDO).
    struct Target {
        OutputObject* EOBJEKT;
        float EXDL, EYDO;
    };
    virtual Target target(int16_t nr, int16_t OBJ, float XDL, float YDO);
    QRectF areaMm(int16_t nr) const;
    // Header and footer: S 0 on the form (cleared first), 1 on the printer.
    void Kopffusszeile(int16_t S);
    // The start window's progress bar.
    void progress(float value) const;

    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    PageHost& host_;
    QString KEN, KOM;                           // the record's designation and comment
    std::unique_ptr<clsKOPFFUSS> KOPFFUSS;
    std::unique_ptr<clsGRAFIK> GRAFIK11;        // the section diagram, for mouse positions

private:
    struct Area {
        int16_t nr;
        PictureBox* pic;
        VScrollBar* bar;
        QRectF mm;
        QPointF printOffset;
        bool afterDiagramDialog;
    };
    const Area& area(int16_t nr) const;
    void redrawAreas();
    void keyLater(QKeyEvent* event);
    void later(const std::function<void()>& command);

    Spec spec_;
    PictureBox* surface_;
    std::vector<Area> areas_;
    bool crossMode_ = false;
    int busy_ = 0;   // printing or redrawing: keys that come due meanwhile are not run
    bool windowTakenOver_ = false;
};
