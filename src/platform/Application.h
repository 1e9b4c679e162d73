#pragma once
// The program's application object. Its event dispatch is the last guard of every
// event handler: a runtime error that leaves one (none should) is handed to the
// reporter, which shows it in the program's error box as soon as no command runs, and
// the program goes on with its working copy; such an error never ends the program.
#include <QApplication>
#include <functional>

class VbError;

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Who tells an error that left an event handler (nullptr: the log, on stderr).
    static void SetEscapedErrorReporter(std::function<void(const VbError&)> reporter);
};
