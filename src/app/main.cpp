#include "Pictures.h"
#include "frmMAIN.h"
#include "platform/App.h"
#include "platform/Application.h"
#include "platform/DialogService.h"
#include "platform/Locale.h"
#include "platform/SessionEnd.h"

int main(int argc, char** argv)
{
    Application app(argc, argv);
    QCoreApplication::setApplicationName(App::Title());
    // The main window decides when the program ends (its unload), not the last window.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(SuiteIcon());   // every window and dialog carries it
    SetProgramLocale(SystemLocale());
    LoadQtTranslations(ProgramLocale());   // "Ja", "Nein", "Abbrechen" on German screens

    frmMAIN main(std::make_shared<QtDialogService>(), QCoreApplication::applicationDirPath());
    QObject::connect(&main, &frmMAIN::Ended, &app, [] { QCoreApplication::exit(0); });
    InstallSessionEndHandler([&main](int mode) { main.Unload(mode); });
    if (main.MDIForm_Load() == frmMAIN::StartResult::Ended)
        return 1;
    return app.exec();
}
