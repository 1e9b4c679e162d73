#include "calc/clsBERECHNEN.h"
#include "platform/Ado.h"
#include "support/TestSuite.h"
#include <gtest/gtest.h>

namespace {

// The set-up tool's example records are complete, valid input: each calculates.
TEST(BERECHNUNG, CalculatesEveryExampleRecordOfANewSuite)
{
    TempSuite suite;
    auto dialogs = std::make_shared<ScriptedDialogService>();
    Context ctx;
    ctx.cnnX = OpenDatabase(suite.projectsFolder() + QStringLiteral("/TE0000.00/TREMOL.mdb"));
    ctx.programFolder = suite.programFolder();
    ctx.dialogs = dialogs;

    std::vector<int32_t> ids;
    {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT ID FROM E1 WHERE ID <> 0 ORDER BY ID"), ctx.cnnX);
        for (; !rs.Eof(); rs.MoveNext())
            ids.push_back(CLng(rs.Fields(0).Value()));
        rs.Close();
    }
    ASSERT_FALSE(ids.empty());
    for (int32_t id : ids) {
        SCOPED_TRACE(id);
        // As the recalculate command leaves it: the one active record with a fresh A1 row.
        ctx.cnnX->Execute(QStringLiteral("UPDATE E1 SET AKT = (ID = ?)"), {Variant(id)});
        ctx.cnnX->Execute(QStringLiteral("DELETE FROM A1 WHERE ID = ?"), {Variant(id)});
        ctx.cnnX->Execute(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (?, 1)"), {Variant(id)});
        clsBERECHNEN calc(ctx);
        EXPECT_TRUE(calc.BERECHNUNG());
        EXPECT_TRUE(dialogs->boxes().empty());
        for (int K : {1, 2}) {
            Recordset rs;
            rs.Open(QStringLiteral("SELECT COUNT(*) FROM A2 WHERE ID = %1 AND K = %2").arg(id).arg(K), ctx.cnnX);
            EXPECT_GE(CLng(rs.Fields(0).Value()), 2) << "side " << K;
            rs.Close();
        }
    }
}

}
