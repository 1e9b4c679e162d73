#pragma once
// Test fixtures: real SQLite files made from the program's own schema in a temporary
// folder, and a context with the scripted dialog service. Nothing is left behind.
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/DialogService.h"
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// First column of the first row of a query on a connection, Empty when no row.
Variant ScalarOf(const std::shared_ptr<Connection>& cnn, const QString& sql);
// The rows of a query from column fromColumn on, one text per row, its values joined
// by "|" (Null shown as "Null").
QStringList RowTexts(const std::shared_ptr<Connection>& cnn, const QString& sql, int fromColumn = 0);

// An empty project database (and an empty presets database) in a temporary folder,
// opened as cnnX and cnnX_V of a context whose dialogs are scripted.
class TempProject {
public:
    TempProject();
    Context& ctx() { return ctx_; }
    ScriptedDialogService& dialogs() { return *dialogs_; }
    std::shared_ptr<Connection> cnnX() { return ctx_.cnnX; }
    QString folder() const { return dir_.path(); }
    QString projectDbPath() const;
    // Runs SQL on the project database (for fixtures).
    void exec(const QString& sql) { ctx_.cnnX->Execute(sql); }
    // ScalarOf on the project database.
    Variant scalar(const QString& sql) { return ScalarOf(ctx_.cnnX, sql); }

private:
    QTemporaryDir dir_;
    std::shared_ptr<ScriptedDialogService> dialogs_;
    Context ctx_;
};

// A whole suite laid out by the set-up code under a temporary root, with
// XDG_CONFIG_HOME pointing into it (restored when the fixture ends). A suite for all
// users has a root that everybody may write (a temporary folder is its owner's only),
// so that what the set-up and the program make for all users is open to them.
class TempSuite {
public:
    enum class Users { Owner, All };
    explicit TempSuite(bool withExamples = true, Users users = Users::Owner);
    ~TempSuite();
    QString root() const { return dir_.path(); }
    QString programFolder() const;   // root/TREMOL
    QString datenFolder() const;     // root/DATEN
    QString projectsFolder() const;  // root/PROJEKTE

private:
    QTemporaryDir dir_;
    QByteArray oldConfigHome_;
    bool hadConfigHome_ = false;
};
