#pragma once
// The pages of a record on the main window's stand-in, on a project database holding
// the records that tremol-setup writes; their areas can draw on recording surfaces.
#include "PageFixture.h"
#include "calc/clsBERECHNEN.h"
#include "platform/Colors.h"
#include "platform/RecordingSurface.h"
#include "setup/SuiteSetup.h"
#include "support/RecordedGeometry.h"
#include "support/TestHelpers.h"
#include <map>

// A page drawing each area on a recording surface of its size, and the printer page
// on a recording sheet (A4 landscape).
template <class Page>
class RecordingAreas : public Page {
public:
    using Page::Page;

    RecordingSurface sheet{297, 210, SurfaceKind::Printer};
    std::map<int, std::unique_ptr<RecordingSurface>> areas;

    RecordingSurface& area(int nr) { return *areas.at(nr); }
    std::vector<Recorded> lines(int nr) { return area(nr).of(Recorded::Line); }
    std::vector<Recorded> texts(int nr) { return area(nr).of(Recorded::Text); }

protected:
    typename Page::Target target(int16_t nr, int16_t OBJ, float XDL, float YDO) override
    {
        const QRectF mm = this->areaMm(nr);
        if (OBJ == 1)
            return {&sheet, float(mm.left()) + XDL, float(mm.top()) + YDO};
        auto& surface = areas[nr];
        surface = std::make_unique<RecordingSurface>(mm.width(), mm.height());
        surface->name = QStringLiteral("picBILD%1").arg(nr);
        return {surface.get(), 0, 0};
    }
};

inline int32_t Palette(int index)
{
    return LongFromColor(QBColor(index));
}

class SectionPages : public ::testing::Test {
protected:
    TempProject project;
    FakeHost host{project.ctx()};
    std::vector<float> bar;   // the values the start window's bar was given

    SectionPages()
    {
        project.ctx().pgbBERECHNEN = [this](float v) { bar.push_back(v); };
        host.show();
    }
    ~SectionPages() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(w))
                w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The example records of tremol-setup; the worked example (record 1) is the active
    // one, recalculated as the recalculate command does: its result row says new.
    void workedRecord()
    {
        WriteExampleRecords(*project.cnnX());
        project.exec(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (1, 1)"));
        clsBERECHNEN calculation(project.ctx());
        ASSERT_TRUE(calculation.BERECHNUNG());
        bar.clear();
    }

    // A page of the given kind on the stand-in, loaded.
    template <class Page>
    Page* load()
    {
        auto* page = new Page(host);
        host.load(page);
        page->Form_Load();
        return page;
    }

    // A G0 column of the active record's row.
    Variant layout(int nr, const char* column)
    {
        return project.scalar(QStringLiteral("SELECT %1 FROM G0 WHERE ID = 1 AND IDOBJEKT = %2")
                                  .arg(QLatin1String(column)).arg(nr));
    }
};
