#pragma once
// The diagram context dialog: the axis ranges of the section diagram (layout row 11 of
// the active record in G0), and while the result page is loaded the scale of its
// pressure ordinates. Modal, owned by the main window, opened from either page's
// section diagram; OK saves the row and marks the page that opened it, which then
// redraws its diagram. A pressure scale typed that is no positive number a Single
// holds is refused with the value check's box before anything is written.
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <memory>
#include <optional>

class PageHost;
class PageForm;
class clsDATEN;

class frmKONTEXT11 : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog: the lists filled and preset from the row as stored.
    frmKONTEXT11(PageHost& host, PageForm& opener);
    ~frmKONTEXT11() override;

    void cmdOK_Click();

    bool BOSEITE1 = false;               // the result page is loaded
    std::shared_ptr<clsDATEN> DATENG0;   // the view on G0, held while the dialog is loaded
    float XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0, MSP = 0;

    QGroupBox* fraREITER;
    QLabel* lblXACHSE;
    QLabel* lblXMIN;
    QComboBox* cboXMIN;
    QLabel* lblDEX;
    QLabel* lblXDIFF;
    QComboBox* cboXDIFF;
    QLabel* lblYACHSE;
    QLabel* lblYMIN;
    QComboBox* cboYMIN;
    QLabel* lblDEY;
    QLabel* lblYDIFF;
    QComboBox* cboYDIFF;
    QGroupBox* fraMSP;
    std::array<QLabel*, 3> lblMSP;   // 1 and 2 are on the form
    QLineEdit* txtMSP;
    QGroupBox* fraSCHALTFLAECHEN;
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Unloading releases the view; nothing is written but by OK.
    void done(int result) override;

private:
    // False after the value check's box: a text changed from the one shown that is no
    // number, none a Single holds, or beyond the scale's limits. Otherwise typed holds
    // the scale typed, or nothing when the field is as shown (the stored scale stays).
    bool ScaleAccepted(std::optional<float>& typed);

    PageHost& host_;
    QPointer<PageForm> opener_;
};
