#pragma once
// A whole suite in a temporary folder and a main window started on it, with the
// scripted dialog service.
#include "app/OriginMarker.h"
#include "app/frmMAIN.h"
#include "platform/Ado.h"
#include "platform/DatabaseFiles.h"
#include "platform/DialogService.h"
#include "platform/FileState.h"
#include "platform/Locale.h"
#include "platform/System.h"
#include "support/TestHelpers.h"
#include "support/TestSuite.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>


class AppFixture : public ::testing::Test {
protected:
    void SetUp() override { suite = std::make_unique<TempSuite>(); }
    void TearDown() override
    {
        main.reset();
        suite.reset();
    }

    frmMAIN::StartResult Start(const QString& programFolder = {})
    {
        main = std::make_unique<frmMAIN>(dialogs, programFolder.isEmpty() ? suite->programFolder() : programFolder);
        return main->MDIForm_Load();
    }

    QString root() const { return suite->root(); }
    QString archive() const { return suite->datenFolder() + QStringLiteral("/ARCHIV.mdb"); }
    QString projectDb(const QString& project = QStringLiteral("TE0000.00")) const
    {
        return suite->projectsFolder() + QLatin1Char('/') + project + QStringLiteral("/TREMOL.mdb");
    }
    QString userFolder() const { return root() + QStringLiteral("/BENUTZER/") + UserName().toUpper(); }
    QString workingCopy() const { return userFolder() + QStringLiteral("/TREMOL.mdb"); }
    QString frameLog() const { return root() + QStringLiteral("/KALMARO.log"); }

    static Variant Scalar(const QString& db, const QString& sql)
    {
        auto cnn = OpenDatabase(db);
        Variant value;
        {
            Recordset rs;
            rs.Open(sql, cnn);
            if (!rs.Eof())
                value = rs.Fields(0).Value();
            rs.Close();
        }
        cnn->Close();
        return value;
    }
    static void Exec(const QString& db, const QString& sql)
    {
        auto cnn = OpenDatabase(db);
        cnn->Execute(sql);
        cnn->Close();
    }
    QString Prog() const
    {
        return CStr(Scalar(archive(), QStringLiteral("SELECT [PROG] FROM [ADMIN] WHERE [BENUTZER]='%1'")
                                          .arg(UserName().toUpper())));
    }
    std::vector<MsgBoxRequest> Boxes() const { return dialogs->boxes(); }
    // The box of a write into a project whose saves' lock cannot be had (an entry of its
    // name that is a link): the project and its lock file named, then how the write goes on.
    QString WithoutLockBox(const QString& project, const QString& goesOn) const
    {
        return QStringLiteral("Das Projekt ") + project
               + QStringLiteral(" kann nicht gegen andere gleichzeitige Speicherungen gesperrt werden:\r\n")
               + projectDb(project) + QStringLiteral(".lock: Sie ist keine gewöhnliche Datei.\r\n") + goesOn;
    }
    // The question of a write into a project that has waited a few seconds for another
    // one (the lock of the project's saves held): the project named, then what giving the
    // write up means.
    static QString WaitOnQuestion(const QString& project, const QString& giveUp)
    {
        return QStringLiteral("Eine andere Speicherung des Projekts ") + project
               + QStringLiteral(" ist im Gange; diese Meldung schließt sich, sobald sie beendet ist.\r\nSoll weiter "
                                "gewartet werden?\r\nJa: weiter warten.\r\nNein: ")
               + giveUp;
    }
    // An evaluate command as the user chooses it: the menu opened, then the item.
    void Evaluate(const char* item)
    {
        main->mnuAUSWERTEN_Click();
        main->Menu(QLatin1String(item))->trigger();
    }
    // The open page of that kind in the main window, or null.
    template <class Page>
    Page* OpenPage() const
    {
        for (QWidget* form : main->Forms())
            if (auto* page = qobject_cast<Page*>(form))
                return page;
        return nullptr;
    }

    // Waits (running the event loop) until the frame program's stand-in has logged.
    bool FrameStarted(int timeoutMs) const
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            QFile log(frameLog());
            if (log.exists() && log.size() > 0)
                return true;
            QCoreApplication::processEvents();
            QThread::msleep(20);
        }
        return false;
    }

    // Waits (running the event loop) until the main window has been unloaded.
    // Long enough for a loaded machine; an unload that never comes still fails.
    static constexpr int UnloadPatienceMs = 15000;
    bool UnloadedWithin(int timeoutMs) const
    {
        QElapsedTimer t;
        t.start();
        while (!main->unloaded() && t.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return main->unloaded();
    }

    // A copy left by an interrupted run: the project's content plus one record of its own,
    // with the marker such a run writes (the project and the state it was copied from).
    void LeaveWorkingCopy(const QString& fromProject, bool withMarker)
    {
        ASSERT_TRUE(QDir().mkpath(userFolder()));
        CopyDatabase(projectDb(fromProject), workingCopy());
        Exec(workingCopy(), QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Rest',0)"));
        if (withMarker)
            WriteOrigin(workingCopy(), {QFileInfo(projectDb(fromProject)).canonicalFilePath(), StateOfFile(projectDb(fromProject))});
    }
    int32_t RestRows(const QString& db) const
    {
        return CLng(Scalar(db, QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Rest'")));
    }

    std::unique_ptr<TempSuite> suite;
    std::shared_ptr<ScriptedDialogService> dialogs = std::make_shared<ScriptedDialogService>();
    std::unique_ptr<frmMAIN> main;
};
