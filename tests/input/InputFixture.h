#pragma once
// A grid table on a real window: the grid, its text and combo editors and its title
// picture as siblings, a context with scripted dialogs, and the events forwarded as
// the input window forwards them.
#include "input/clsFLX.h"
#include "platform/DialogService.h"
#include "platform/InputCodes.h"
#include "support/GridProbe.h"
#include "support/TestHelpers.h"

#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

class GridTableTest : public ::testing::Test {
protected:
    GridTableTest()
    {
        ctx.dialogs = dialogs;
        window.resize(700, 420);
        grid = new FlexGrid(&window);
        grid->setGeometry(20, 40, 320, 220);
        grid->setCols(3);
        txt = new TextBox(&window);
        cbo = new ComboBox(&window);
        cbo->setEditable(true);
        pic = new PictureBox(10.0, 5.0, 96.0, &window);
        flx = std::make_shared<clsFLX>(ctx);
        window.show();
    }

    // The input window's configuration of a layer table.
    void bindLayerTable()
    {
        flx->EFLX(grid);
        flx->ETXT(txt);
        flx->EPIC(pic);
        flx->ELSB(Dynamic::Integers({12, 15, 20}));
        flx->ELST1(Dynamic::Texts({"Lfd.", "z", "k{t,1}f"}));
        flx->ELST2(Dynamic::Texts({"Nr.", "[m]", "[m/s]"}));
        flx->ELSTTT(Dynamic::Texts({"laufende Nr. der Schichtkote", "z-Koordinate der Schichtkote",
                                    "k-Wert des darüberliegenden Abschnittes"}));
        flx->ELSTYP(Dynamic::Integers({1, 0, 0}));
        flx->ELFORMAT(Dynamic::Texts({"#0", "#0.00", "0.00E+00"}));
        flx->ELA(Dynamic::Integers({1, 2, 2}));
        flx->SCHRIFTEINSTELLUNGEN(QString(), 9);
        flx->BESCHRIFTEN();
    }

    // Forwards the controls' events to a table as the input window does.
    static void Wire(clsFLX* t, FlexGrid* g, TextBox* txt, ComboBox* cbo, PictureBox* pic)
    {
        QObject::connect(g, &FlexGrid::dblClick, [t] { t->BEARBEITEN(0, 0); });
        QObject::connect(g, &FlexGrid::keyPress, [t](int code) { t->BEARBEITEN(int16_t(code), 0); });
        QObject::connect(g, &FlexGrid::click, [t] { t->EINFUEGEN(0); });
        QObject::connect(g, &FlexGrid::mouseDown, [t](int, int, float x, float) { t->BEARBEITEN(-2, x); });
        QObject::connect(g, &FlexGrid::mouseUp, [t](int, int, float, float) { t->EINFUEGEN(-2); });
        QObject::connect(g, &FlexGrid::scroll, [t] {
            t->EINFUEGEN(0);
            t->BESCHRIFTEN();
        });
        QObject::connect(g, &FlexGrid::mouseMove, [t](int, int, float x, float y) { t->TOOLTIP(x, y); });
        if (pic)
            QObject::connect(pic, &PictureBox::mouseMove, [t](int, int, float x, float y) { t->TOOLTIP(x, y); });
        if (txt)
            OnKeyPress(txt, [t](int code) { t->EINFUEGEN(int16_t(code)); });
        if (cbo)
            OnKeyPress(cbo->lineEdit(), [t](int code) { t->EINFUEGEN(int16_t(code)); });
    }
    void wire() { Wire(flx.get(), grid, txt, cbo, pic); }

    // The texts of a grid column in the data rows.
    static QStringList Column(const FlexGrid& g, int col)
    {
        QStringList texts;
        for (int r = g.FixedRows(); r < g.Rows(); ++r)
            texts << g.TextMatrix(r, col);
        return texts;
    }
    std::vector<MsgBoxRequest> boxes() const { return dialogs->boxes(); }
    void answer(MsgResult a) { dialogs->msgAnswers.push_back(a); }

    std::shared_ptr<ScriptedDialogService> dialogs = std::make_shared<ScriptedDialogService>();
    Context ctx;
    QWidget window;
    FlexGrid* grid = nullptr;
    TextBox* txt = nullptr;
    ComboBox* cbo = nullptr;
    PictureBox* pic = nullptr;
    std::shared_ptr<clsFLX> flx;
};
