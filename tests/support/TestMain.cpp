#include "platform/DialogService.h"
#include "platform/Locale.h"
#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform. A box that
// no test expected (no queued answer) fails the test that raised it.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    SetProgramLocale(QLocale(QLocale::German, QLocale::Germany));
    ScriptedDialogService::SetUnexpectedBoxReporter(
        [](const QString& what) { ADD_FAILURE() << "Unexpected box: " << what.toStdString(); });
    return RUN_ALL_TESTS();
}
