#pragma once
// A project database, a recording surface and a diagram object bound to it.
#include "draw/clsGRAFIK.h"
#include "platform/RecordingSurface.h"
#include "support/TestSuite.h"
#include <gtest/gtest.h>
#include <memory>

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
    std::vector<Recorded> lines() const { return surface.of(Recorded::Line); }
    std::vector<Recorded> texts() const { return surface.of(Recorded::Text); }
    std::vector<MsgBoxRequest> boxes() { return project.dialogs().boxes(); }
};

inline bool near(QPointF a, QPointF b, double tol = 1e-3)
{
    return std::abs(a.x() - b.x()) <= tol && std::abs(a.y() - b.y()) <= tol;
}

// A segment drawn from a to b or from b to a.
inline bool sameSegment(const Recorded& r, QPointF a, QPointF b, double tol = 1e-3)
{
    return (near(r.p1, a, tol) && near(r.p2, b, tol)) || (near(r.p1, b, tol) && near(r.p2, a, tol));
}
