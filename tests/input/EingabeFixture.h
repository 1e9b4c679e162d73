#pragma once
// The input window on its own, over an empty project database, with the main window's
// commands counted.
#include "input/mdiEINGABE.h"
#include "support/GridProbe.h"
#include "support/TestHelpers.h"
#include "support/TestSuite.h"

#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class EingabeTest : public ::testing::Test {
protected:
    EingabeTest() { Load(); }

    // Loads a fresh window (the language and separator of the context are taken now).
    void Load()
    {
        window = std::make_unique<mdiEINGABE>(
            project.ctx(), mdiEINGABE::Hauptfenster{[this] { ++beenden; }, [this] { ++speichern; },
                                                    [this] { ++verwerfen; }});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // The focus starts in the designation, which no other tab may be shown without.
        ASSERT_EQ(QApplication::focusWidget(), window->txtKEN);
        window->txtKEN->setText(QStringLiteral("W"));
    }

    // Shows tab t as a user does, with a click on it.
    void ShowTab(int t)
    {
        QTabBar* bar = window->SSTab->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(t).center());
    }

    // Clicks a cell of grid i.
    void ClickCell(int i, int row, int col)
    {
        FlexGrid* g = window->msgFLX[size_t(i)];
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(*g, row, col));
    }

    // Types a value into the current cell of grid i and commits it with Enter.
    void TypeCell(int i, const QString& text)
    {
        FlexGrid* g = window->msgFLX[size_t(i)];
        QTest::keyClick(g, text.at(0).toLatin1());
        QTest::keyClicks(window->txtFLX[size_t(i)], text.mid(1));
        QTest::keyClick(window->txtFLX[size_t(i)], Qt::Key_Return);
    }

    // The texts of one column of grid i in its data rows.
    QStringList Column(int i, int col) const
    {
        const FlexGrid& g = *window->msgFLX[size_t(i)];
        QStringList texts;
        for (int r = g.FixedRows(); r < g.Rows(); ++r)
            texts << g.TextMatrix(r, col);
        return texts;
    }

    void Fill(int i, const std::vector<std::pair<QString, QString>>& rows);
    void Levels(const QString& links, const QString& rechts)
    {
        window->txtZGWLS->setText(links);
        window->txtZGWRS->setText(rechts);
    }
    // A save as the main window makes it: the checks, then the writes.
    bool Save(int32_t id) { return window->PRUEFEN() && window->OK(id); }

    std::vector<MsgBoxRequest> Boxes() const { return project.dialogs().boxes(); }
    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    mutable TempProject project;
    int beenden = 0, speichern = 0, verwerfen = 0;
    std::unique_ptr<mdiEINGABE> window;
};
