#pragma once
// Export and import: copies records with all their rows between the current
// project's working copy and another project's database, found in a folder the user
// picks. A copied record gets a new number in the target; a designation the target
// already has is refused. An export writes into the other project's database in place,
// as other users save it: each record under the lock of its saves, into the file its
// path shows then.
#include "platform/Ado.h"
#include "platform/FolderControls.h"
#include <QDialog>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

class DialogService;
class Guard;
class SavesLock;
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
    // ended it, or abgebrochen: a database file failed, which fails every record after
    // it, or the user gave up waiting for a save of the target; the copy then says how
    // far it came). An export takes the lock of the target's saves (sperre), an import
    // none.
    enum class Kopie { Kopiert, Ausgelassen, Ende };
    Kopie Kopieren(Guard& g, const std::shared_ptr<Connection>& quelle, int32_t id,
                   const std::shared_ptr<Connection>& ziel, SavesLock* sperre, bool& abgebrochen);
    // One attempt at writing a record: refused (the target has its designation), written,
    // failed (with what failed, and in which table if in one), or given up while it
    // waited for the lock (by the user, or for an end from outside).
    struct Versuch {
        bool vorhanden = false;
        bool beendet = false;
        std::exception_ptr fehler;
        QString tabelle;
    };
    // Writes record id (designation ken) into ziel in one go, leaving out the tables in
    // ohne, and shows no box: under the lock of the target's saves (sperre) and into the
    // file its path shows then, its designation checked there. Nothing of the record stays
    // unless all of it was written, and the lock is given up before the caller shows what
    // failed, so that no save of another user waits for an answer.
    Versuch Schreiben(const std::shared_ptr<Connection>& quelle, int32_t id, const QString& ken,
                      const std::shared_ptr<Connection>& ziel, const QStringList& ohne, SavesLock* sperre);
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
