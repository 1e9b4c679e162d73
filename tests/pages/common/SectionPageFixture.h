#pragma once
// The pages of a record on the main window's stand-in, on a project database holding
// the records that tremol-setup writes; their areas can draw on recording surfaces.
#include "PageFixture.h"
#include "calc/clsBERECHNEN.h"
#include "platform/Colors.h"
#include "platform/RecordingSurface.h"
#include "setup/SuiteSetup.h"
#include "support/ImageProbe.h"
#include "support/RecordedGeometry.h"
#include "support/TestHelpers.h"
#include <algorithm>
#include <initializer_list>
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

// A polyline drawn as its segments, each with the style and colour given.
inline ::testing::AssertionResult drawn(const std::vector<Recorded>& lines, const std::vector<QPointF>& points,
                                        int style, int32_t colour)
{
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const auto found = std::find_if(lines.begin(), lines.end(), [&](const Recorded& r) {
            return sameSegment(r, points[i], points[i + 1], 2e-3) && r.drawStyle == style && r.colour == colour;
        });
        if (found == lines.end())
            return ::testing::AssertionFailure() << "no segment (" << points[i].x() << ", " << points[i].y() << ")-("
                                                 << points[i + 1].x() << ", " << points[i + 1].y() << ")";
    }
    return ::testing::AssertionSuccess();
}

// The text drawn which-th (from 0) that reads s; a failure when there is none.
inline Recorded TextOn(const std::vector<Recorded>& texts, const QString& s, int which = 0)
{
    for (const Recorded& r : texts)
        if (r.text == s && which-- == 0)
            return r;
    ADD_FAILURE() << "no text " << s.toStdString();
    return Recorded{};
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

    // The bar's values as expected: the fixed steps, and spans where a long step moves
    // it on part by part, evenly from one value to the next.
    struct Span {
        float from, to;
        int parts;
    };
    struct BarStep {
        BarStep(double value) : span{float(value), float(value), 0} {}
        BarStep(Span s) : span(s) {}
        Span span;   // a fixed step: no parts
    };
    static std::vector<float> BarValues(std::initializer_list<BarStep> steps)
    {
        std::vector<float> values;
        for (const BarStep& step : steps) {
            const Span& s = step.span;
            if (s.parts == 0)
                values.push_back(s.from);
            for (int k = 1; k <= s.parts; ++k)
                values.push_back(s.from + (s.to - s.from) * float(k) / float(s.parts));
        }
        return values;
    }
    void ExpectBar(const std::vector<float>& expected) const
    {
        ASSERT_EQ(bar.size(), expected.size());
        for (std::size_t i = 0; i < bar.size(); ++i)
            EXPECT_NEAR(bar[i], expected[i], 1e-4) << "value " << i;
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

    // For each input list, in the order the load reads them: a page of that kind loaded
    // on the worked record with the list emptied ends at the list's input-error box, with
    // the bar where the list comes and no area drawn, the header only when headerAtLoad.
    // Later redraws, prints, scrolling and mouse moves in cross mode draw no area and
    // show no box.
    template <class Page>
    void expectQuietAfterAnEmptyList(bool headerAtLoad)
    {
        struct Case { const char* table; int K; const char* text; float lastValue; };
        const Case cases[] = {
            {"E3", 1, "der Schichten auf der linken Seite", 15},
            {"E3", 2, "der Schichten auf der rechten Seite", 23},
            {"E4", 1, "der Stromlinie auf der linken Seite", 31},
            {"E4", 2, "der Stromlinie auf der rechten Seite", 39},
            {"E5", 1, "des Bauwerkes auf der linken Seite", 47},
            {"E5", 2, "des Bauwerkes auf der rechten Seite", 55},
        };
        workedRecord();
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text);
            project.exec(QStringLiteral("SAVEPOINT list"));
            project.exec(QStringLiteral("DELETE FROM %1 WHERE ID = 1 AND K = %2").arg(QLatin1String(c.table)).arg(c.K));
            // A list of one row passes: the next list is the one refused.
            project.dialogs().shown.clear();
            project.dialogs().msgAnswers = {MsgResult::OK};
            bar.clear();
            Page* page = load<Page>();
            const auto boxes = project.dialogs().boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, QStringLiteral("Überprüfen Sie die Eingabedaten ") + QString::fromUtf8(c.text)
                                         + QLatin1Char('!'));
            EXPECT_EQ(boxes[0].title, QStringLiteral("Eingabefehler"));
            EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
            EXPECT_EQ(boxes[0].icon, MsgIcon::None);
            ASSERT_FALSE(bar.empty());
            EXPECT_EQ(bar.back(), c.lastValue);
            EXPECT_FALSE(page->complete());
            EXPECT_EQ(inkBox(page->Surface().Image(), page->Surface().Image().rect()).isNull(), !headerAtLoad);
            EXPECT_TRUE(page->areas.empty());

            bool on = true;
            int32_t white = 0xFFFFFF;
            page->KONTEXT(on, on, white, white);
            page->DRUCKEN();
            page->vscBILD(12)->setValue(1);
            page->BILD(12, 0, 0, 0);
            page->picBILD11_MouseDown(1, 0, 50, 50);
            page->picBILD11_MouseMove(0, 0, 50, 50);
            EXPECT_EQ(page->picBILD(11).toolTip(), QString());
            EXPECT_TRUE(page->areas.empty());
            EXPECT_EQ(project.dialogs().boxes().size(), 1u);
            delete page->parentWidget();
            project.exec(QStringLiteral("ROLLBACK TO list"));
            project.exec(QStringLiteral("RELEASE list"));
        }
    }

    // A G0 column of the active record's row.
    Variant layout(int nr, const char* column)
    {
        return project.scalar(QStringLiteral("SELECT %1 FROM G0 WHERE ID = 1 AND IDOBJEKT = %2")
                                  .arg(QLatin1String(column)).arg(nr));
    }
};
