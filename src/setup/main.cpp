// tremol-setup: lays out a ready suite, or writes the empty template database.
#include "SuiteSetup.h"
#include "platform/Locale.h"
#include "platform/VbError.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <exception>

namespace {

int usage(QTextStream& err)
{
    err << ProgramText("Usage: tremol-setup --root FOLDER [--exe PROGRAM] [--force]\n"
                       "       tremol-setup --template FILE\n",
                       "Aufruf: tremol-setup --root ORDNER [--exe PROGRAMM] [--force]\n"
                       "        tremol-setup --template DATEI\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    SetProgramLocale(SystemLocale());   // it speaks the program's language
    QTextStream out(stdout), err(stderr);
    QStringList args = app.arguments().mid(1);
    SuiteOptions options;
    QString templatePath;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--force")) {
            options.force = true;
        } else if ((arg == QLatin1String("--root") || arg == QLatin1String("--exe") || arg == QLatin1String("--template"))
                   && !args.isEmpty()) {
            const QString value = args.takeFirst();
            if (arg == QLatin1String("--root"))
                options.root = QFileInfo(value).absoluteFilePath();
            else if (arg == QLatin1String("--exe"))
                options.exe = QFileInfo(value).absoluteFilePath();
            else
                templatePath = value;
        } else {
            return usage(err);
        }
    }
    if (templatePath.isEmpty() == options.root.isEmpty())
        return usage(err);
    try {
        if (!templatePath.isEmpty()) {
            MakeTemplateDatabase(templatePath);
            return 0;
        }
        const QString programFolder = BuildProgramFolder();
        if (options.exe.isEmpty() && QFileInfo(programFolder + QStringLiteral("/TREMOL")).isFile())
            options.exe = programFolder + QStringLiteral("/TREMOL");
        options.documentsFrom = options.exe.isEmpty() ? programFolder : QFileInfo(options.exe).absolutePath();
        for (const QString& line : LayOutSuite(options))
            out << line << '\n';
        // What was done is said first: a user whom the suite does not let start the
        // program learns that as well.
        out.flush();
        CheckProgramStartable(options.root);
        out << "Start: " << options.root << "/TREMOL/TREMOL\n";
    } catch (const VbError& e) {
        err << "tremol-setup: " << e.text() << " (" << e.number() << ")\n";
        return 1;
    } catch (const std::exception& e) {
        err << "tremol-setup: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
