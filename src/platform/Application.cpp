#include "Application.h"
#include "DbError.h"
#include "ErrorGuard.h"
#include "LateReport.h"
#include "Yield.h"
#include <QDebug>

namespace {
std::function<void(const VbError&)>& escapedErrorReporter()
{
    static std::function<void(const VbError&)> reporter;
    return reporter;
}

void logError(const VbError& e)
{
    qCritical().noquote() << "Error" << e.number() << e.text();
}

void tellEscaped(const VbError& e)
{
    // A transaction's failure was told when it happened.
    const bool told = dynamic_cast<const TransactionLost*>(&e) != nullptr;
    // Told once no command runs: inside a command's yield or under its dialog the box
    // would hold that command's transaction until answered.
    TellWhenNoCommandRuns([told, e = VbError(e)] {
        // The handler was cut short: its hourglass would stay.
        SetMousePointer(0);
        if (told)
            return;
        // Telling must not fail in turn: what cannot be shown goes to the log.
        RunReporting(
            [&] {
                if (escapedErrorReporter())
                    escapedErrorReporter()(e);
                else
                    logError(e);
            },
            logError);
    });
}
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    try {
        RunReporting([&] { handled = QApplication::notify(receiver, event); }, tellEscaped);
    } catch (...) {
        tellEscaped(VbError(VbErr::Internal));   // no error of the runtime nor of the library
    }
    return handled;
}

void Application::SetEscapedErrorReporter(std::function<void(const VbError&)> reporter)
{
    escapedErrorReporter() = std::move(reporter);
}
