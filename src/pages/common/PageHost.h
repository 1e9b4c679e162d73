#pragma once
// The main window as the pages and their dialogs see it: the context, the loaded
// forms and the active one, the client area that bounds a page on screen, the
// printer, and the commands that the pages' keys reach.
#include "PageFrame.h"
#include <QList>
#include <QString>

struct Context;
class PrinterSurface;
class QWidget;

class PageHost : public PageFrame {
public:
    virtual Context& context() = 0;
    // The window that owns the page dialogs.
    virtual QWidget* Owner() = 0;
    virtual QString BEARBEITER() const = 0;
    virtual QString PROJEKT() const = 0;
    // The active MDI child form; null when there is none.
    virtual QWidget* ActiveForm() const = 0;
    // The loaded forms in the program's order, each named by its object name.
    virtual QList<QWidget*> Forms() const = 0;
    // The printer the pages print on.
    virtual PrinterSurface& Printer() = 0;
    virtual void mnuHILFE_Click() = 0;
    virtual void mnuBEENDEN_Click() = 0;
    // The command of status-bar panel n (10 to 15).
    virtual void stbMAIN_PanelClick(int index) = 0;
    virtual void SetPanelVisible(int index, bool visible) = 0;
};
