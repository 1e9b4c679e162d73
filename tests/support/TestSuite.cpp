#include "support/TestSuite.h"
#include "support/OtherUser.h"
#include "platform/DatabaseFiles.h"
#include "platform/Locale.h"
#include "setup/SchemaText.h"
#include "setup/SuiteSetup.h"
#include <QDir>
#include <stdexcept>

namespace {

QString required(const QTemporaryDir& dir)
{
    if (!dir.isValid())
        throw std::runtime_error("no temporary folder");
    return dir.path();
}

void restoreConfigHome(bool had, const QByteArray& old)
{
    if (had)
        qputenv("XDG_CONFIG_HOME", old);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

} // namespace

TempProject::TempProject() : dialogs_(std::make_shared<ScriptedDialogService>())
{
    const QString root = required(dir_);
    // The suite's shape in small: databases folder with the presets, one project.
    QDir(root).mkpath(QStringLiteral("DATEN"));
    QDir(root).mkpath(QStringLiteral("PROJEKTE/TE0000.00"));
    CreateDatabase(projectDbPath(), projectSchema);
    CreateDatabase(root + QStringLiteral("/DATEN/VORGABE.mdb"), presetsSchema);

    ctx_.cnnX = OpenDatabase(projectDbPath());
    ctx_.cnnX_V = OpenDatabase(root + QStringLiteral("/DATEN/VORGABE.mdb"));
    ctx_.DATENBANKPFAD = root + QStringLiteral("/DATEN");
    ctx_.PROJEKTSPFAD = root + QStringLiteral("/PROJEKTE");
    ctx_.PROJEKT = QStringLiteral("TE0000.00");
    ctx_.programFolder = root;
    ctx_.SPRACHE = LanguageOf(ProgramLocale());
    ctx_.DEZIMALPUNKT = DecimalSeparatorOf(ProgramLocale());
    ctx_.dialogs = dialogs_;
}

QString TempProject::projectDbPath() const
{
    return dir_.path() + QStringLiteral("/PROJEKTE/TE0000.00/TREMOL.mdb");
}

Variant ScalarOf(const std::shared_ptr<Connection>& cnn, const QString& sql)
{
    Recordset rs;
    rs.Open(sql, cnn);
    const Variant value = rs.Eof() ? Variant() : rs.Fields(0).Value();
    rs.Close();
    return value;
}

TempSuite::TempSuite(bool withExamples, Users users)
{
    const QString base = required(dir_);
    if (users == Users::All)
        OpenToAll(base);
    hadConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    oldConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toLocal8Bit());
    SuiteOptions options;
    options.root = base;
    options.documentsFrom = BuildProgramFolder();
    options.withExamples = withExamples;
    try {
        LayOutSuite(options);
    } catch (...) {
        restoreConfigHome(hadConfigHome_, oldConfigHome_);
        throw;
    }
}

TempSuite::~TempSuite()
{
    restoreConfigHome(hadConfigHome_, oldConfigHome_);
}

QString TempSuite::programFolder() const
{
    return root() + QStringLiteral("/TREMOL");
}

QString TempSuite::datenFolder() const
{
    return root() + QStringLiteral("/DATEN");
}

QString TempSuite::projectsFolder() const
{
    return root() + QStringLiteral("/PROJEKTE");
}

QStringList RowTexts(const std::shared_ptr<Connection>& cnn, const QString& sql, int fromColumn)
{
    QStringList result;
    Recordset rs;
    rs.Open(sql, cnn);
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values;
        for (int i = fromColumn; i < rs.FieldCount(); ++i) {
            const Variant v = rs.Fields(i).Value();
            values << (v.isNull() ? QStringLiteral("Null") : CStr(v));
        }
        result << values.join(QLatin1Char('|'));
    }
    rs.Close();
    return result;
}
