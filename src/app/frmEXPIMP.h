#pragma once
// Export and import: copies records with all their rows between the current
// project's working copy and another project's database, found in a folder the user
// picks. A copied record gets a new number in the target; a designation the target
// already has is refused.
#include "platform/Ado.h"
#include "platform/FolderControls.h"
#include <QDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <cstdint>
#include <memory>
#include <vector>

class DialogService;
class Guard;
class frmMAIN;

// A record's list entry: its designation, then its comment in brackets.
QString ListenEintrag(const Variant& ken, const Variant& kom);

class frmEXPIMP : public QDialog {
    Q_OBJECT
public:
    // Loads the dialog over the main window, whose project, working copy and Tag it uses.
    explicit frmEXPIMP(frmMAIN& main);
    ~frmEXPIMP() override;

    QGroupBox* fraEXP;
    DriveListBox* drvEXP;
    DirListBox* dirEXP;
    QListWidget* lstEXP;
    QGroupBox* fraIMP;
    QListWidget* lstIMP;
    QPushButton* cmdEXP;
    QPushButton* cmdIMP;
    QPushButton* cmdSCHLIESSEN;

    // The other project's database: open from the first folder chosen that holds one.
    std::shared_ptr<Connection> cnnEXP() const { return cnnEXP_; }
    // Whether another project's database was opened while the dialog was loaded.
    bool BOEXP() const { return BOEXP_; }

    void cmdEXP_Click();
    void cmdIMP_Click();
    void cmdSCHLIESSEN_Click() { accept(); }
    // Every way of closing the dialog unloads it.
    void done(int result) override;

private:
    void Form_Load();
    void drvEXP_Change();
    void dirEXP_Change();
    void Form_Unload();
    void LISTEFUELLEN(const std::shared_ptr<Connection>& cnn, QListWidget& list);
    void DATENSATZKOPIEREN(const std::shared_ptr<Connection>& quelle, const QListWidget& liste,
                           const std::shared_ptr<Connection>& ziel);
    // What became of one record: copied, left out, or the copy ends here (the user
    // ended it, or dauerhaft: a database file failed, which fails every record after it).
    enum class Kopie { Kopiert, Ausgelassen, Ende };
    Kopie Kopieren(Guard& g, const std::shared_ptr<Connection>& quelle, int32_t id,
                   const std::shared_ptr<Connection>& ziel, bool& dauerhaft);
    // An arrow button: the records selected in one list go to the other project.
    void Pfeil(const QListWidget& quellListe, std::shared_ptr<Connection> quelle, std::shared_ptr<Connection> ziel,
               QListWidget& zielListe);
    std::shared_ptr<Connection> OpenProject(const QString& path);
    DialogService& dlg() const;
    QString T(const char* english, const char* german) const;

    frmMAIN& main_;
    int sprache_ = 3;
    std::shared_ptr<Connection> cnnEXP_;
    bool BOEXP_ = false;
    bool unloaded_ = false;
};
