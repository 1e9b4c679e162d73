#pragma once
// The record-selection dialog: lists the project's records by designation with the
// active one selected, and on OK makes the selected record the only active one among
// them. It reads its mode from the main window's Tag ("O" open, "A" select, "L" delete)
// and answers there: "OK" or "Abbrechen"; a close through the window frame leaves the
// mode letter, which the commands take as cancel.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>

class frmMAIN;
struct GuardSpec;

class frmAUSWAHL : public QDialog {
    Q_OBJECT
public:
    // Form_Load: captions by the mode and language, the list, the place over the main window.
    explicit frmAUSWAHL(frmMAIN& main);

    QListWidget* lstKEN;   // item data: the record's ID
    QPushButton* cmdOK;
    QPushButton* cmdABBRECHEN;

    void cmdOK_Click();
    void cmdABBRECHEN_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void lstKEN_Click();
    // The error box of the dialog's routines, titled with its caption.
    GuardSpec Kasten() const;

    frmMAIN& main_;
    bool laden_ = false;   // the list is being filled: its clicks are the preselection's
};
