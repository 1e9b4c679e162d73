// The per-user working copy: set-up, recovery after an interrupted run, a
// left-over copy of another project, save back, the size offer and compaction.
#include "AppFixture.h"
#include "platform/DatabaseFiles.h"
#include "platform/FileOps.h"
#include "platform/Yield.h"
#include <QAction>
#include <QDir>


class WorkingCopyTest : public AppFixture {
protected:
    // A copy left by an interrupted run: the project's content plus one record of its own.
    void LeaveWorkingCopy(const QString& fromProject, bool withMarker)
    {
        ASSERT_TRUE(QDir().mkpath(userFolder()));
        CopyDatabase(projectDb(fromProject), workingCopy());
        Exec(workingCopy(), QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Rest',0)"));
        if (withMarker) {
            QFile marker(workingCopy() + QStringLiteral(".origin"));
            ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
            marker.write(QFileInfo(projectDb(fromProject)).canonicalFilePath().toUtf8());
        }
    }
    int32_t RestRows(const QString& db)
    {
        return CLng(Scalar(db, QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Rest'")));
    }
};

TEST_F(WorkingCopyTest, RecoveryQuestionYesKeepsTheCopyNoReplacesIt)
{
    for (const bool keep : {true, false}) {
        for (const bool english : {false, true}) {
            SCOPED_TRACE(std::string(keep ? "Yes" : "No") + (english ? " English" : " German"));
            LocaleScope locale(english ? English() : German());
            main.reset();
            dialogs->shown.clear();
            LeaveWorkingCopy(QStringLiteral("TE0000.00"), true);
            dialogs->msgAnswers = {keep ? MsgResult::Yes : MsgResult::No};

            ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
            const auto boxes = Boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text,
                      english ? QStringLiteral("Program was interuped during the execution!\r\n"
                                               "Do you want to save the changes till the interuption?")
                              : QStringLiteral("Programm wurde während der Ausführung unterbrochen!\r\n"
                                               "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?"));
            EXPECT_EQ(boxes[0].title, QStringLiteral("TREMOL"));
            EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
            EXPECT_EQ(boxes[0].icon, MsgIcon::Question);
            EXPECT_EQ(RestRows(workingCopy()), keep ? 1 : 0);
            // Recovered work is not in the project yet: leaving asks to save it.
            EXPECT_EQ(main->Changed(), keep);

            if (keep)
                dialogs->msgAnswers = {MsgResult::Yes};
            main->mnuBEENDEN_Click();
            EXPECT_EQ(Boxes().size(), keep ? 2u : 1u);
            EXPECT_FALSE(FileExists(workingCopy()));
            EXPECT_EQ(RestRows(projectDb()), keep ? 1 : 0);
            Exec(projectDb(), QStringLiteral("DELETE FROM [E1] WHERE [KEN]='Rest'"));
        }
    }
}

TEST_F(WorkingCopyTest, CopyWithoutOriginMarkerIsOfferedAsBefore)
{
    LeaveWorkingCopy(QStringLiteral("TE0000.00"), false);
    dialogs->msgAnswers = {MsgResult::Yes};
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(RestRows(workingCopy()), 1);
}

TEST_F(WorkingCopyTest, LeftOverCopyOfAnotherProjectIsMovedAsideNotOffered)
{
    LeaveWorkingCopy(QStringLiteral("TE0001.00"), true);
    dialogs->msgAnswers = {MsgResult::OK};

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);   // a note, not the recovery question
    EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("TE0001.00"))) << boxes[0].text.toStdString();
    // The fresh copy is this project's; the other project's data is kept aside.
    EXPECT_EQ(RestRows(workingCopy()), 0);
    EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))),
              CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))));
    const QStringList aside = QDir(userFolder()).entryList({QStringLiteral("TREMOL_TE0001.00_*.mdb")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(RestRows(userFolder() + QLatin1Char('/') + aside[0]), 1);
}

TEST_F(WorkingCopyTest, SaveCopiesBackClearsTheFlagAndEndsWithTheArrow)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
    main->MarkChanged();

    main->mnuSPEICHERN_Click();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(main->Changed());
    EXPECT_EQ(MousePointer(), 1);
    EXPECT_EQ(CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'"))), 1);
    EXPECT_TRUE(main->cnnX()->isOpen());
}

TEST_F(WorkingCopyTest, FailedSaveKeepsTheChangedFlag)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->MarkChanged();
    ASSERT_TRUE(QDir(suite->projectsFolder() + QStringLiteral("/TE0000.00")).removeRecursively());
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuSPEICHERN_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_TRUE(main->Changed());
}

TEST(WorkingCopySizes, MegabytesRoundHalfToEvenAndCompactionPercent)
{
    EXPECT_EQ(GroesseMB(10040000), 10.0f);
    EXPECT_EQ(GroesseMB(10060000), 10.1f);
    EXPECT_EQ(GroesseMB(10050000), 10.0f);   // half to even
    EXPECT_EQ(GroesseMB(12345678), 12.3f);
    EXPECT_EQ(CStr(Variant(GroesseMB(10060000))), QStringLiteral("10,1"));
    EXPECT_EQ(CStr(Variant(GroesseMB(10000000))), QStringLiteral("10"));
    EXPECT_EQ(ProzentKomprimiert(12.4f, 8.1f), 34.7f);
    EXPECT_EQ(ProzentKomprimiert(0.0f, 0.0f), 0.0f);   // no division by zero
    EXPECT_EQ(KompressionsDatei(QStringLiteral("/home/anna/Stratega/BENUTZER/ANNA/TREMOL.mdb")),
              QStringLiteral("/home/anna/Stratega/BENUTZER/ANNA/TREMOLTEMP.mdb"));
    // Only the file's own extension is replaced, whatever folder names hold.
    EXPECT_EQ(KompressionsDatei(QStringLiteral("/data/alt.mdb/BENUTZER/ANNA/TREMOL.MDB")),
              QStringLiteral("/data/alt.mdb/BENUTZER/ANNA/TREMOLTEMP.mdb"));
}

class CompactionTest : public AppFixture {
protected:
    // Grows the working copy past size MB and frees most of it again.
    void Grow(int bytes, bool free)
    {
        auto& cnn = *main->cnnX();
        cnn.Execute(QStringLiteral("CREATE TABLE [BALLAST] ([B] BLOB)"));
        cnn.Execute(QStringLiteral("INSERT INTO [BALLAST] VALUES (zeroblob(%1))").arg(bytes));
        if (free)
            cnn.Execute(QStringLiteral("DELETE FROM [BALLAST]"));
    }
};

TEST_F(CompactionTest, LargeCopyOffersCompactionOnSave)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Grow(10200000, false);
    const float size = GroesseMB(FileLen(workingCopy()));
    ASSERT_GT(size, 10.0f);
    dialogs->msgAnswers = {MsgResult::No};

    main->mnuSPEICHERN_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Datenbank hat ") + CStr(Variant(size))
                                 + QStringLiteral(" MB erreicht! \r\nSoll die Datei komprimiert werden?"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes[0].helpContext, 34);
    EXPECT_EQ(boxes[0].helpFile, suite->programFolder() + QStringLiteral("/TREMOL.html"));
    EXPECT_EQ(FileLen(projectDb()), FileLen(workingCopy()));   // saved without compaction
}

TEST_F(CompactionTest, CompactionReportsAndKeepsTheSameConnectionWorking)
{
    LocaleScope locale(English());
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Grow(3000000, true);
    const std::shared_ptr<Connection> heldByAView = main->cnnX();
    const float before = GroesseMB(FileLen(workingCopy()));
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuKOMPRIMIEREN_Click();

    const float after = GroesseMB(FileLen(workingCopy()));
    EXPECT_LT(after, before);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Database was compact about ")
                                 + CStr(Variant(ProzentKomprimiert(before, after))) + QStringLiteral(" % to ")
                                 + CStr(Variant(after)) + QStringLiteral(" MB!"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Compact Database"));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Information);
    EXPECT_FALSE(FileExists(KompressionsDatei(workingCopy())));
    EXPECT_EQ(MousePointer(), 0);
    // The connection a view took before the compaction still reads.
    EXPECT_EQ(main->cnnX(), heldByAView);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true"), heldByAView);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(CStr(rs.Fields(0).Value()), QStringLiteral("Beispiel"));
}

TEST_F(CompactionTest, FailedCompactionKeepsTheWorkingCopyAndTheConnection)
{
    for (const MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
        SCOPED_TRACE(answer == MsgResult::OK ? "OK" : "Cancel");
        main.reset();
        dialogs->shown.clear();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        // The compaction file cannot be written: a folder holds its name.
        ASSERT_TRUE(QDir().mkpath(KompressionsDatei(workingCopy())));
        dialogs->msgAnswers = {answer};

        main->mnuKOMPRIMIEREN_Click();

        const auto boxes = Boxes();
        ASSERT_GE(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
        EXPECT_EQ(boxes[0].title, QStringLiteral("&Komprimieren"));
        EXPECT_TRUE(FileExists(workingCopy()));
        ASSERT_TRUE(main->cnnX()->isOpen());
        EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
        EXPECT_EQ(MousePointer(), 0);
        QDir().rmdir(KompressionsDatei(workingCopy()));
        main->mnuBEENDEN_Click();
    }
}
