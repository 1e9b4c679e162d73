#pragma once
// A project database, a recording surface and a diagram object bound to it.
#include "draw/clsGRAFIK.h"
#include "platform/RecordingSurface.h"
#include "support/RecordedGeometry.h"
#include "support/TestSuite.h"
#include <gtest/gtest.h>
#include <cmath>
#include <memory>

// Loads the diagram's layout row through SKALEN without drawing axes.
inline void loadLayout(clsGRAFIK& g)
{
    g.EAXEX(0);
    g.EAXEY(0);
    g.SKALEN(0);
}

class DrawTest : public ::testing::Test {
protected:
    TempProject project;
    RecordingSurface surface{124.0, 115.0};

    // A diagram on the surface for the active record 1, with the layout row given.
    std::unique_ptr<clsGRAFIK> diagram()
    {
        auto g = std::make_unique<clsGRAFIK>(project.ctx());
        g->EOBJEKT(&surface);
        return g;
    }
    void activeRecord(int id) { project.exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (%1, 'R%1', 1)").arg(id)); }
    // A layout row of G0 for record id and diagram nr (columns as SQL values).
    void row(int id, int nr, const QString& columns, const QString& values)
    {
        project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, %1) VALUES (%2, %3, %4)")
                         .arg(columns).arg(id).arg(nr).arg(values));
    }
    // A diagram of the active record 1 whose world is the page: OX 1, OY -1, MX = MY
    // = 1, world window from (0, 0), margins as given; a world point (x, y) is drawn
    // at page (x + RL, y + RO) mm. Bound to the fixture's surface unless given another.
    std::unique_ptr<clsGRAFIK> pageDiagram(float RL = 0, float RR = 0, float RO = 0, float RU = 0,
                                           float scale = 1, RecordingSurface* on = nullptr)
    {
        activeRecord(1);
        row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY",
            QStringLiteral("1, -1, %1, %2, %3, %4, 0, 100, 0, 100, %5, %5")
                .arg(RL).arg(RR).arg(RO).arg(RU).arg(scale));
        auto g = diagram();
        if (on)
            g->EOBJEKT(on);
        loadLayout(*g);
        (on ? on : &surface)->records.clear();
        return g;
    }
    std::vector<Recorded> lines() const { return surface.of(Recorded::Line); }
    std::vector<Recorded> texts() const { return surface.of(Recorded::Text); }
    std::vector<MsgBoxRequest> boxes() { return project.dialogs().boxes(); }
};
