#include "platform/Locale.h"
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

// Every test program runs with a QApplication on the offscreen platform. QApplication
// sets the C library's locale from the environment, as the program's start does.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A run meant for a system locale that is not installed would silently run in C.
    const char* wanted = std::getenv("LC_ALL");
    const char* got = std::setlocale(LC_NUMERIC, nullptr);
    if (wanted && *wanted && (!got || std::strcmp(wanted, got) != 0)) {
        std::fprintf(stderr, "The locale %s is not available (scripts/install-deps makes it).\n", wanted);
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    SetProgramLocale(QLocale(QLocale::German, QLocale::Germany));
    return RUN_ALL_TESTS();
}
