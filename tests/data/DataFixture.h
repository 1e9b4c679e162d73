#pragma once
// A project database from the program's schema, with views on it and helpers to set
// up rows and look at what a view left behind.
#include "data/clsDATEN.h"
#include "platform/Yield.h"
#include "support/TestSuite.h"
#include <gtest/gtest.h>

class DataTest : public ::testing::Test {
protected:
    void TearDown() override { SetDoEventsHook(nullptr); }

    // A view on a table, working on record 7 unless told otherwise.
    std::shared_ptr<clsDATEN> view(const QString& table, int32_t id = 7)
    {
        auto v = std::make_shared<clsDATEN>(p.ctx());
        v->ETABELLE(table);
        v->ESPIDW(id);
        return v;
    }
    void exec(const QString& sql) { p.exec(sql); }
    // The rows of a query, one text per row, values joined by "|" (Null shown as "Null").
    QStringList rows(const QString& sql) { return RowTexts(p.cnnX(), sql); }
    // Rows of record 7, side 1 with running numbers 0..n-1 and Z = 10, 11, ...; plus
    // rows of another side and another record that no write may touch.
    void layerRows(int n)
    {
        for (int i = 0; i < n; ++i)
            exec(QStringLiteral("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, %1, %2)").arg(i).arg(10 + i));
        exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 2, 0, 99), (8, 1, 0, 98)");
    }
    // Those other rows, as "ID|K|Z".
    QStringList otherRows() { return rows("SELECT ID, K, Z FROM E3 WHERE NOT (ID = 7 AND K = 1) ORDER BY rowid"); }
    std::vector<MsgBoxRequest> boxes() { return p.dialogs().boxes(); }
    void answer(std::initializer_list<MsgResult> answers)
    {
        for (MsgResult a : answers)
            p.dialogs().msgAnswers.push_back(a);
    }

    TempProject p;
};

// The data-error box: exclamation, OK only, "Datenfehler".
inline void ExpectDataError(const MsgBoxRequest& box, const QString& text)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
}

// An error box of a guarded member: text begins as given, OK and Cancel, exclamation.
inline void ExpectGuardBox(const MsgBoxRequest& box, const QString& title, const QString& textStart)
{
    EXPECT_TRUE(box.text.startsWith(textStart)) << box.text.toStdString();
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.buttons, MsgButtons::OKCancel);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
}
