#include "platform/Format.h"
#include "platform/Locale.h"
#include "platform/Variant.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>
#include <cfloat>
#include <ctime>
#include <functional>

namespace {

// Every case runs under its own locale; the program's default returns afterwards.
class VariantTest : public ::testing::Test {
protected:
    const LocaleScope restore_{ProgramLocale()};
};


struct WholeCase {
    const char* name;
    Variant value;
    QLocale locale;
    int expected;   // value, when error is 0
    int error;
};

TEST_F(VariantTest, CIntAndCLngRoundHalvesToEvenAndCheckRange)
{
    const WholeCase cints[] = {
        {"2.5", 2.5, German(), 2, 0},
        {"3.5", 3.5, German(), 4, 0},
        {"-2.5", -2.5, German(), -2, 0},
        {"single 1.5", 1.5f, German(), 2, 0},
        {"40000", 40000.0, German(), 0, VbErr::Overflow},
        {"32767.5 rounds out of range", 32767.5, German(), 0, VbErr::Overflow},
        {"-32768.5 rounds to even inside", -32768.5, German(), -32768, 0},
        {"long 40000", int32_t(40000), German(), 0, VbErr::Overflow},
        {"text 2,5 German", "2,5", German(), 2, 0},
        {"text 2.5 English", "2.5", English(), 2, 0},
        {"text with blanks", " 7 ", German(), 7, 0},
        {"text not a number", "abc", German(), 0, VbErr::TypeMismatch},
        {"empty text", "", German(), 0, VbErr::TypeMismatch},
        {"True", true, German(), -1, 0},
        {"False", false, German(), 0, 0},
        {"Empty", Variant(), German(), 0, 0},
        {"Null", Variant::Null(), German(), 0, VbErr::InvalidNull},
        {"date", VbDate{2.5}, German(), 2, 0},
    };
    for (const auto& c : cints) {
        SetProgramLocale(c.locale);
        int16_t r = 0;
        EXPECT_EQ(VbErrorOf([&] { r = CInt(c.value); }), c.error) << c.name;
        if (!c.error) {
            EXPECT_EQ(r, c.expected) << c.name;
        }
    }
    const WholeCase clngs[] = {
        {"-2.5", -2.5, German(), -2, 0},
        {"40000", 40000.0, German(), 40000, 0},
        {"grouped German text is no number", "1.000", German(), 0, VbErr::TypeMismatch},
        {"2147483647.5", 2147483647.5, German(), 0, VbErr::Overflow},
        {"-2147483648", -2147483648.0, German(), INT32_MIN, 0},
        {"True", true, German(), -1, 0},
        {"Null", Variant::Null(), German(), 0, VbErr::InvalidNull},
    };
    for (const auto& c : clngs) {
        SetProgramLocale(c.locale);
        int32_t r = 0;
        EXPECT_EQ(VbErrorOf([&] { r = CLng(c.value); }), c.error) << c.name;
        if (!c.error) {
            EXPECT_EQ(r, c.expected) << c.name;
        }
    }
}

TEST_F(VariantTest, CSngAndCDblReadTextByTheProgramLocale)
{
    struct Case {
        const char* name;
        Variant value;
        QLocale locale;
        double expected;
        int error;
    } cases[] = {
        {"1,5 German", "1,5", German(), 1.5, 0},
        {"1.5 English", "1.5", English(), 1.5, 0},
        {"1,5 English is no number", "1,5", English(), 0, VbErr::TypeMismatch},
        // A point typed out of habit is no thousands separator.
        {"1.500 German is no number", "1.500", German(), 0, VbErr::TypeMismatch},
        {"1,500 English is no number", "1,500", English(), 0, VbErr::TypeMismatch},
        {"exponent", "1,5E+03", German(), 1500, 0},
        {"abc", "abc", German(), 0, VbErr::TypeMismatch},
        {"inf is no number", "inf", English(), 0, VbErr::TypeMismatch},
        {"beyond Double", "1E400", English(), 0, VbErr::Overflow},
        {"beyond Single", 1e39, German(), 0, VbErr::Overflow},
        {"Empty", Variant(), German(), 0, 0},
        {"True", true, German(), -1, 0},
        {"Null", Variant::Null(), German(), 0, VbErr::InvalidNull},
    };
    for (const auto& c : cases) {
        SetProgramLocale(c.locale);
        float r = 0;
        EXPECT_EQ(VbErrorOf([&] { r = CSng(c.value); }), c.error) << c.name;
        if (!c.error) {
            EXPECT_EQ(r, static_cast<float>(c.expected)) << c.name;
        }
    }
    // CSng rounds to the nearest Single; CDbl keeps the double.
    EXPECT_EQ(CSng(0.1), 0.1f);
    EXPECT_EQ(CDbl(0.1f), static_cast<double>(0.1f));
}

TEST_F(VariantTest, CBoolTakesNumbersAndTheWordsTrueAndFalse)
{
    struct Case {
        Variant value;
        bool expected;
        int error;
    } cases[] = {
        {"True", true, 0},      {"false", false, 0},   {" TRUE ", true, 0},
        {"0", false, 0},        {"1,5", true, 0},      {"abc", false, VbErr::TypeMismatch},
        {0.0, false, 0},        {-2.0f, true, 0},      {int16_t(0), false, 0},
        {Variant(), false, 0},  {Variant::Null(), false, VbErr::InvalidNull},
    };
    for (const auto& c : cases) {
        bool r = false;
        EXPECT_EQ(VbErrorOf([&] { r = CBool(c.value); }), c.error) << CStr(c.value).toStdString();
        if (!c.error) {
            EXPECT_EQ(r, c.expected) << CStr(c.value).toStdString();
        }
    }
}

TEST_F(VariantTest, CStrWritesTheRuntimesShortestText)
{
    struct Case {
        const char* name;
        Variant value;
        QLocale locale;
        const char* expected;
    } cases[] = {
        {"Single 0.1 German", 0.1f, German(), "0,1"},
        {"Single 0.1 English", 0.1f, English(), "0.1"},
        {"Single 10", 10.0f, German(), "10"},
        {"Single 34.7", 34.7f, German(), "34,7"},
        {"Single 8.1 English", 8.1f, English(), "8.1"},
        {"Single 1.5", 1.5f, German(), "1,5"},
        {"Single small exponent", 1e-5f, German(), "1E-05"},
        {"Single 0.0001 without exponent", 1e-4f, German(), "0,0001"},
        {"Single large exponent", 12345678.0f, German(), "1,234568E+07"},
        {"Single seven digits", 1234567.0f, German(), "1234567"},
        {"Single negative", -2.25f, German(), "-2,25"},
        {"Single negative zero", -0.0f, German(), "0"},
        {"Double one third", 1.0 / 3.0, German(), "0,333333333333333"},
        {"Double 0.1", 0.1, English(), "0.1"},
        {"Double large", 1e15, English(), "1E+15"},
        {"Integer", int16_t(-5), German(), "-5"},
        {"Long no grouping", int32_t(1234567), German(), "1234567"},
        {"True", true, German(), "True"},
        {"False", false, English(), "False"},
        {"Empty", Variant(), German(), ""},
        {"text", "abc", German(), "abc"},
        {"date German", VbDate{45000.0}, German(), "15.03.2023"},
        {"date and time German", VbDate{45000.5}, German(), "15.03.2023 12:00:00"},
        {"time only German", VbDate{0.25}, German(), "06:00:00"},
        {"date English", VbDate{45000.0}, English(), "3/15/2023"},
        {"date 0", VbDate{0.0}, German(), "30.12.1899"},
    };
    for (const auto& c : cases) {
        SetProgramLocale(c.locale);
        EXPECT_EQ(CStr(c.value), QString::fromUtf8(c.expected)) << c.name;
    }
    EXPECT_EQ(VbErrorOf([] { CStr(Variant::Null()); }), VbErr::InvalidNull);
}

TEST_F(VariantTest, CDateReadsNumbersAndLocaleDates)
{
    SetProgramLocale(German());
    EXPECT_EQ(CDate(Variant()), VbDate{0.0});
    EXPECT_EQ(ToDateTime(CDate(Variant())), QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(CDate("15.03.2023"), VbDate{45000.0});
    EXPECT_EQ(CDate("15.03.2023 18:00:00"), VbDate{45000.75});
    EXPECT_EQ(CDate("06:00:00"), VbDate{0.25});
    EXPECT_EQ(CDate("1.3.2023 8:05"), CDate("01.03.2023 08:05:00"));
    EXPECT_EQ(CDate("15.03.23"), VbDate{45000.0});    // two-digit years 00-29 are 20xx
    EXPECT_EQ(CDate("31.12.99"), VbDate{36525.0});    // and 30-99 are 19xx
    EXPECT_EQ(CDate(45000.5), VbDate{45000.5});
    EXPECT_EQ(CDate("Mittwoch, 15. MÄRZ 2023"), VbDate{45000.0});   // names in any letter case
    for (const char* notADate : {"abc", "Montag, 15. März 2023", "29.02.2023", "24:00:00", "1. 3.2023", "01.03.123"})
        EXPECT_EQ(VbErrorOf([&] { CDate(QString::fromUtf8(notADate)); }), VbErr::TypeMismatch) << notADate;
    EXPECT_EQ(VbErrorOf([] { CDate(1e9); }), VbErr::Overflow);
    SetProgramLocale(English());
    EXPECT_EQ(CDate("3/15/2023"), VbDate{45000.0});
    EXPECT_EQ(CDate("3/15/2023 6:00:00 PM"), VbDate{45000.75});
    EXPECT_EQ(CDate("12:00:00 am"), VbDate{0.0});
    EXPECT_EQ(VbErrorOf([] { CDate("13:00:00 PM"); }), VbErr::TypeMismatch);
}

// The system's time zone for one test.
class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone) : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (had_)
            qputenv("TZ", old_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray old_;
    bool had_;
};

// Date values are calendar values: a time that the change to summer time skips in the
// system's zone is read, kept and shown as it stands.
TEST_F(VariantTest, DatesAndTimesIgnoreTheSystemsTimeZone)
{
    const TimeZoneScope berlin("Europe/Berlin");   // summer time began on 30.03.2003 at 02:00
    SetProgramLocale(German());
    const VbDate skipped{37710.0 + 2.5 / 24.0};
    EXPECT_EQ(CDate("30.03.2003 02:30:00"), skipped);
    EXPECT_EQ(CDate("30.03.03 2:30"), skipped);
    EXPECT_EQ(CStr(Variant(skipped)), QStringLiteral("30.03.2003 02:30:00"));
    EXPECT_EQ(Format(Variant(skipped), QStringLiteral("hh:mm")), QStringLiteral("02:30"));
    EXPECT_EQ(ToDateTime(skipped).time(), QTime(2, 30));
    EXPECT_EQ(FromDateTime(ToDateTime(skipped)), skipped);
}

TEST_F(VariantTest, OleDatesMapToDateTimesBothWays)
{
    struct Case {
        double days;
        QDateTime time;
    } cases[] = {
        {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)},
        {45000.75, QDateTime(QDate(2023, 3, 15), QTime(18, 0), Qt::UTC)},
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC)},   // the fraction counts forward
        {1.5, QDateTime(QDate(1899, 12, 31), QTime(12, 0), Qt::UTC)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToDateTime(VbDate{c.days}), c.time) << c.days;
        EXPECT_DOUBLE_EQ(FromDateTime(c.time).days, c.days) << c.days;
    }
}

TEST_F(VariantTest, EmptyConvertsToZeroFalseEmptyTextAndDateZero)
{
    const Variant empty;
    EXPECT_EQ(empty.type(), VarType::Empty);
    EXPECT_EQ(CInt(empty), 0);
    EXPECT_EQ(CLng(empty), 0);
    EXPECT_EQ(CSng(empty), 0.0f);
    EXPECT_EQ(CDbl(empty), 0.0);
    EXPECT_FALSE(CBool(empty));
    EXPECT_EQ(CStr(empty), QString());
    EXPECT_EQ(CDate(empty), VbDate{0.0});
}

TEST_F(VariantTest, TypesAndNumbers)
{
    EXPECT_EQ(Variant::Null().type(), VarType::Null);
    EXPECT_EQ(Variant(int16_t(1)).type(), VarType::Integer);
    EXPECT_EQ(Variant(int32_t(1)).type(), VarType::Long);
    EXPECT_EQ(Variant(1.0f).type(), VarType::Single);
    EXPECT_EQ(Variant(1.0).type(), VarType::Double);
    EXPECT_EQ(Variant(VbDate{1}).type(), VarType::Date);
    EXPECT_EQ(Variant(true).type(), VarType::Boolean);
    EXPECT_EQ(Variant("x").type(), VarType::String);
    EXPECT_TRUE(Variant(1.0f).isNumber());
    EXPECT_FALSE(Variant(true).isNumber());
    EXPECT_FALSE(Variant("1").isNumber());
}

TEST_F(VariantTest, ValReadsTheLeadingNumberWithAPoint)
{
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"12.5abc", 12.5}, {" 1 2 3", 123}, {"abc", 0},   {"-1.5E2x", -150}, {"1,5", 1},
        {"1e", 1},         {".5", 0.5},     {"", 0},      {"\t-7", -7},      {"2d1", 20},
        {"+", 0},          {"1.2.3", 1.2},  {"+2.5", 2.5}, {"1E-400", 0},   {"0.000001e-320", 0},
    };
    SetProgramLocale(German());   // Val ignores the locale
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(c.text)), c.expected) << c.text;
    for (const char* tooLarge : {"1E400", "-2d309", "1000e306", "1e99999999999999999999"})
        EXPECT_EQ(VbErrorOf([&] { Val(QString::fromUtf8(tooLarge)); }), VbErr::Overflow) << tooLarge;
}

TEST_F(VariantTest, IsNumericFollowsCDbl)
{
    SetProgramLocale(German());
    EXPECT_TRUE(IsNumeric(Variant()));
    EXPECT_FALSE(IsNumeric(Variant::Null()));
    EXPECT_TRUE(IsNumeric("1,5"));
    EXPECT_TRUE(IsNumeric(" -3 "));
    EXPECT_FALSE(IsNumeric("abc"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("GOK"));
    EXPECT_TRUE(IsNumeric(true));
    EXPECT_TRUE(IsNumeric(2.5f));
    SetProgramLocale(English());
    EXPECT_TRUE(IsNumeric("1.5"));
    EXPECT_FALSE(IsNumeric("1,5"));
}

TEST_F(VariantTest, TrimRemovesBlanksOnly)
{
    EXPECT_EQ(Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
    EXPECT_EQ(Trim(QStringLiteral(" \ta\t ")), QStringLiteral("\ta\t"));
    EXPECT_EQ(Trim(QStringLiteral("a\n")), QStringLiteral("a\n"));
    EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
}

TEST_F(VariantTest, RoundHalvesToEven)
{
    struct Case {
        double x;
        int decimals;
        double expected;
    } cases[] = {
        {0.25, 1, 0.2}, {0.75, 1, 0.8}, {2.5, 0, 2}, {3.5, 0, 4}, {-2.5, 0, -2},
        {1.234, 2, 1.23}, {1e300, 2, 1e300},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(Round(c.x, c.decimals), c.expected) << c.x << " " << c.decimals;
    EXPECT_EQ(VbErrorOf([] { Round(1.0, -1); }), VbErr::InvalidCall);
}
}

#include "platform/Colors.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>

namespace {
TEST(Locale, LanguageAndDecimalSeparatorFollowTheLocale)
{
    struct Case {
        QLocale locale;
        int language;
        const char* separator;
    } cases[] = {
        {QLocale("en_GB"), 1, "."}, {QLocale("en_US"), 1, "."}, {QLocale("de_AT"), 3, ","},
        {QLocale("de_DE"), 3, ","}, {QLocale("fr_FR"), 3, ","}, {QLocale::c(), 3, "."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageOf(c.locale), c.language) << c.locale.name().toStdString();
        EXPECT_EQ(DecimalSeparatorOf(c.locale), QLatin1String(c.separator)) << c.locale.name().toStdString();
    }
    EXPECT_EQ(SystemLocale().name(), QLocale::system().name());
    const LocaleScope french(QLocale("fr_FR"));
    EXPECT_EQ(ProgramLocale().name(), QStringLiteral("fr_FR"));
}

// Run by the test below in a child process: prints what the environment asks for.
TEST(Locale, DISABLED_PrintSystemLocale)
{
    const QLocale l = SystemLocale();
    std::printf("LOCALE %s %d %s\n", qPrintable(l.name()), LanguageOf(l), qPrintable(DecimalSeparatorOf(l)));
}

TEST(Locale, SystemLocaleFollowsTheEnvironment)
{
    struct Case {
        const char* lcAll;
        const char* lcNumeric;
        const char* lang;
        const char* expected;
    } cases[] = {
        {"en_GB.UTF-8", "", "de_DE.UTF-8", "en_GB 1 ."},
        {"de_AT.UTF-8", "", "", "de_AT 3 ,"},
        {"fr_FR.UTF-8", "", "", "fr_FR 3 ,"},
        {"C", "", "", "C 3 ."},
        {"", "", "en_US.UTF-8", "en_US 1 ."},
        {"", "de_DE.UTF-8", "en_US.UTF-8", "en_US 1 ,"},   // numbers by LC_NUMERIC, language by LANG
    };
    for (const auto& c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const std::pair<const char*, const char*> vars[] = {
            {"LC_ALL", c.lcAll}, {"LC_NUMERIC", c.lcNumeric}, {"LANG", c.lang}};
        for (const auto& [name, value] : vars) {
            env.remove(QLatin1String(name));
            if (*value)
                env.insert(QLatin1String(name), QLatin1String(value));
        }
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_also_run_disabled_tests"),
                     QStringLiteral("--gtest_filter=Locale.DISABLED_PrintSystemLocale")});
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_TRUE(child.readAllStandardOutput().contains(QByteArray("LOCALE ") + c.expected))
            << c.lcAll << "/" << c.lcNumeric << "/" << c.lang;
    }
}

TEST(Colors, PaletteAndLongColours)
{
    const QRgb palette[16] = {qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
                              qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
                              qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
                              qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255)};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(QBColor(i).rgb(), palette[i]) << i;
    EXPECT_EQ(VbErrorOf([] { QBColor(16); }), VbErr::InvalidCall);
    EXPECT_EQ(VbErrorOf([] { QBColor(-1); }), VbErr::InvalidCall);
    EXPECT_EQ(LongFromColor(QBColor(1)), 0x800000);   // &H800000 is dark blue
    EXPECT_EQ(LongFromColor(QBColor(12)), 0x0000FF);
    EXPECT_EQ(ColorFromLong(0x00804020).rgb(), qRgb(0x20, 0x40, 0x80));
    EXPECT_EQ(LongFromColor(ColorFromLong(0x00123456)), 0x00123456);
}
}
