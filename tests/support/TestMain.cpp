#include "platform/Application.h"
#include "platform/DialogService.h"
#include "platform/Locale.h"
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

// Every test program runs with the program's application object on the offscreen platform. QApplication
// sets the C library's locale from the environment, as the program's start does. A box
// that no test expected (no queued answer) fails the test that raised it.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    // A run meant for a system locale (CTest names it) must not fall back to C unseen
    // when that locale is not installed. Child processes choose their own.
    const QByteArray wanted = qgetenv("TREMOL_TEST_LOCALE");
    qunsetenv("TREMOL_TEST_LOCALE");
    const char* got = std::setlocale(LC_NUMERIC, nullptr);
    if (!wanted.isEmpty() && wanted != got) {
        std::fprintf(stderr, "The locale %s is not available (scripts/install-deps makes it).\n", wanted.constData());
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    SetProgramLocale(QLocale(QLocale::German, QLocale::Germany));
    ScriptedDialogService::SetUnexpectedBoxReporter(
        [](const QString& what) { ADD_FAILURE() << "Unexpected box: " << what.toStdString(); });
    return RUN_ALL_TESTS();
}
