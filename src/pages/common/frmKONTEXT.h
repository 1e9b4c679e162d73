#pragma once
// The page context dialog: header and footer and the page numbering on or off, and
// the colours of the page and of its picture areas. A page presets it (the Tags of
// the two check boxes, the colours of the two colour dialogs) and shows it, modeless
// and without an owner window; OK hands the settings to the active page's KONTEXT.
#include <QCheckBox>
#include "DialogControls.h"
#include <QGroupBox>
#include <QPushButton>
#include <array>
#include <cstdint>

class PageHost;

class frmKONTEXT : public UnloadingDialog {
    Q_OBJECT
public:
    // A colour dialog of the form: its title, and the colour preset or chosen (a Long).
    struct ColorDialog {
        QString DialogTitle;
        int32_t Color = 0;
    };

    // The dialog; touching it loads it when it is not loaded.
    static frmKONTEXT& instance(PageHost& host);
    // Activates it: the check boxes take their Tags, then it is shown and raised.
    void Show();
    void Form_Activate();
    void cmdFARBEN_Click(int index);
    void cmdOK_Click();

    QGroupBox* fraSKALEN;
    std::array<QPushButton*, 2> cmdFARBEN;
    QCheckBox* chkBOKF;
    QCheckBox* chkBOKFS;
    std::array<ColorDialog, 2> cdlFARBEN;
    QGroupBox* fraSCHALTFLAECHEN;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit frmKONTEXT(PageHost& host);
    void chkBOKF_Click();
    void place();

    PageHost& host_;
};
