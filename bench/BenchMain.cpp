#include "platform/Locale.h"
#include <QApplication>
#include <benchmark/benchmark.h>

// The benchmarks run with a QApplication on the offscreen platform, in the program's
// German locale, as the tests do.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetProgramLocale(QLocale(QLocale::German, QLocale::Germany));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
