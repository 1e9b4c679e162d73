#pragma once
// The main window on a suite laid out by tremol-setup, for the page benchmarks: records
// recalculated or shown as the evaluate commands do (without the pause with the bar at
// 100), the open pages found and closed.
#include "LargeRecord.h"
#include "app/frmMAIN.h"
#include "platform/DialogService.h"
#include "setup/SuiteSetup.h"
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

class PageSuite {
    QTemporaryDir dir_;   // first made, last removed: the main window works in it

public:
    PageSuite()
    {
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral("config")).toLocal8Bit());
        SuiteOptions options;
        options.root = dir_.path();
        LayOutSuite(options);
        main = std::make_unique<frmMAIN>(std::make_shared<ScriptedDialogService>(),
                                         dir_.filePath(QStringLiteral("TREMOL")));
        ok = main->MDIForm_Load() == frmMAIN::StartResult::Running;
        main->SetPagePause(0);
    }
    // Writes the large record under that ID: 50 layers and 1,000 outline points per side
    // unless told.
    void addLargeRecord(int32_t id, int32_t layers = 50, int32_t points = 1000)
    {
        Transaction fill(main->cnnX());
        WriteLargeRecord(*main->cnnX(), id, layers, points);
        fill.Commit();
    }
    // Makes a record the only active one.
    void activate(int32_t id)
    {
        main->cnnX()->Execute(QStringLiteral("UPDATE E1 SET AKT = (ID = ?)"), {Variant(id)});
    }
    // Activates a record and recalculates it, leaving its page open.
    void recalculate(int32_t id)
    {
        activate(id);
        main->mnuNEUBERECHNEN_Click();
    }
    // The open page of that kind, or null.
    template <class Page>
    Page* page() const
    {
        for (QWidget* form : main->Forms())
            if (auto* p = qobject_cast<Page*>(form))
                return p;
        return nullptr;
    }
    void closePages()
    {
        main->stbMAIN_PanelClick(15);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // The open page redrawn, in each iteration, as the page context dialog redraws it.
    template <class Page>
    void redraw(benchmark::State& state) const
    {
        Page* shown = page<Page>();
        if (!shown) {
            state.SkipWithError("the page is not open");
            return;
        }
        bool on = true;
        int32_t white = 0xFFFFFF;
        for (auto _ : state)
            shown->KONTEXT(on, on, white, white);
    }

    std::unique_ptr<frmMAIN> main;
    bool ok = false;
};
