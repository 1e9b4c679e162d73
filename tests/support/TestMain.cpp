#include "platform/Locale.h"
#include <QApplication>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    SetProgramLocale(QLocale(QLocale::German, QLocale::Germany));
    return RUN_ALL_TESTS();
}
