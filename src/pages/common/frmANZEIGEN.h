#pragma once
// The page chooser: brings one loaded page to the front by its number. Modeless,
// owned by the main window; it lists the pages once when it loads, in the order of
// the name parts "mdiESEITE", "mdiSEITE", "mdiPSEITE", "mdiMSEITE".
#include "DialogControls.h"
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <vector>

class PageHost;

class frmANZEIGEN : public UnloadingDialog {
    Q_OBJECT
public:
    // The dialog; touching it loads it when it is not loaded.
    static frmANZEIGEN& instance(PageHost& host);
    // Activates it: placed at the lower right of the screen, the focus in the field
    // with its character selected.
    void Show();
    // The field's number, made a page number from 1 to the page count.
    void txtSEITE_LostFocus();
    void cmdOK_Click();

    std::array<QLabel*, 2> lblSEITEN;
    QLabel* lblSEITE;
    QLineEdit* txtSEITE;
    QFrame* Line1;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmANZEIGEN(PageHost& host);

    // The listed pages; a page unloaded while the dialog is open drops out.
    std::vector<QPointer<QWidget>> pages_;
};
