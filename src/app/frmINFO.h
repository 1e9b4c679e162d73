#pragma once
// The about box: the institution block, the program's title, file name, version,
// copyright and developers. Modal, owned by the main window.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>

class DialogService;
class mdiAUTOSTART;

// The developers line as the about box shows it: a line longer than 50 characters
// is cut after its first comma at or after position 50, followed by " ...".
QString Entwicklerzeile(const QString& d);

class frmINFO : public QDialog {
    Q_OBJECT
public:
    // The start window lends its title, subtitle and version line.
    frmINFO(int sprache, const mdiAUTOSTART& start, DialogService& dialogs, QWidget* owner);

    std::array<QLabel*, 8> lblPALO;
    std::array<QLabel*, 8> lblINFO;
    QLabel* imgPALO;
    QLabel* imgMIRL;
    QFrame* Line1;
    QPushButton* cmdSCHLIESSEN;

private:
    void Form_Load(const mdiAUTOSTART& start);
    QLabel* NewLabel(const QString& name, int left, int top, double pointSize, bool bold);

    int sprache_;
    DialogService& dialogs_;
};
