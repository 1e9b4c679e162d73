#pragma once
// The one object through which views, the calculation and the drawing classes reach
// what the main window holds: connections, paths, language and dialogs.
#include "Ado.h"
#include "DialogService.h"
#include <QString>
#include <functional>
#include <memory>

struct Context {
    std::shared_ptr<Connection> cnnX;     // working copy of the project database
    std::shared_ptr<Connection> cnnX_V;   // presets database VORGABE.mdb
    QString DATENBANKPFAD;                // suite database folder
    QString PROJEKTSPFAD;                 // project folder
    QString PROJEKT;                      // project, e.g. "TE0000.00"
    QString programFolder;                // folder of the executable (App.Path)
    int SPRACHE = 3;                      // 1 English, 3 German
    QString DEZIMALPUNKT = QStringLiteral(",");
    std::shared_ptr<DialogService> dialogs;
    // The start window's progress bar (0 to 100), as the calculation and the page loads
    // advance it; unset where no bar is shown.
    std::function<void(float)> pgbBERECHNEN;

    // Development mode: the program folder's path contains "SOURCE" in any case.
    bool developmentMode() const;
    DialogService& dlg() const { return *dialogs; }
    // Sets the progress bar, when there is one.
    void progress(float value) const;
};

// A long step's stretch of the progress bar, from one value to the next, covered part
// by part as the step runs, so that the bar moves while it does.
class ProgressSpan {
public:
    ProgressSpan(const Context& ctx, float from, float to, std::size_t parts);
    // One more part done.
    void next();

private:
    const Context& ctx_;
    float from_, to_;
    std::size_t parts_, done_ = 0;
};
