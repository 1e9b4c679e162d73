#include "platform/Format.h"
#include "platform/Locale.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

class FormatTest : public ::testing::Test {
protected:
    const LocaleScope restore_{ProgramLocale()};
};

struct Case {
    Variant value;
    const char* format;
    const char* german;
    const char* english;
};

void check(const Case* cases, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const Case& c = cases[i];
        SetProgramLocale(German());
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.format)), QString::fromUtf8(c.german))
            << "case " << i << " format " << c.format;
        SetProgramLocale(English());
        EXPECT_EQ(Format(c.value, QString::fromUtf8(c.format)), QString::fromUtf8(c.english))
            << "case " << i << " format " << c.format;
    }
}

TEST_F(FormatTest, FixedPatternsRoundHalvesAwayFromZero)
{
    const Case cases[] = {
        {0.125, "0.00", "0,13", "0.13"},
        {-0.125, "0.00", "-0,13", "-0.13"},
        {2.5f, "0.00", "2,50", "2.50"},
        {1.005f, "0.00", "1,01", "1.01"},          // the Single's own digits, not its binary tail
        {2.675, "0.00", "2,68", "2.68"},
        {-0.001, "0.00", "0,00", "0.00"},          // rounded to zero: no sign
        {-0.0002f, "#0.00", "0,00", "0.00"},
        {-0.4, "0", "0", "0"},
        {-0.005, "0.00", "-0,01", "-0.01"},
        {1234.567, "0.00", "1234,57", "1234.57"},  // no grouping
        {2.5, "0", "3", "3"},
        {-2.5, "0", "-3", "-3"},
        {0.4, "0", "0", "0"},
        {1.25, "0.0", "1,3", "1.3"},
        {1.0005, "0.000", "1,001", "1.001"},
        {0.5, "#0.00", "0,50", "0.50"},
        {50.0f, "#0.00", "50,00", "50.00"},
        {-3.25, "#0.0", "-3,3", "-3.3"},
        {7, "#0", "7", "7"},
        {int16_t(0), "####0", "0", "0"},
        {12345.6, "####0", "12346", "12346"},
        {123456.0, "####0", "123456", "123456"},
        {0.5, "#.00", ",50", ".50"},
        {12.5, ".00", "12,50", "12.50"},
        {1.5, "0.0#", "1,5", "1.5"},
        {1.0, "0.##", "1,", "1."},
        {0.0, "#", "", ""},
        {0.256, "0%", "26%", "26%"},
        {1234567.891, "#,##0.00", "1.234.567,89", "1,234,567.89"},
        {-1.5, "0.00;(0.00);\"zero\"", "(1,50)", "(1.50)"},
        {0.0, "0.00;(0.00);\"zero\"", "zero", "zero"},
        {5.0, "0 \"m\"", "5 m", "5 m"},
        {int32_t(-7), "00", "-07", "-07"},
    };
    check(cases, std::size(cases));
}

TEST_F(FormatTest, ScientificPattern)
{
    const Case cases[] = {
        {0.000123, "0.00E+00", "1,23E-04", "1.23E-04"},
        {123456.0, "0.00E+00", "1,23E+05", "1.23E+05"},
        {0.0, "0.00E+00", "0,00E+00", "0.00E+00"},
        {9.999, "0.00E+00", "1,00E+01", "1.00E+01"},
        {-0.00015, "0.00E+00", "-1,50E-04", "-1.50E-04"},
        {1e-5f, "0.00E+00", "1,00E-05", "1.00E-05"},
        {1.0f, "0.00E+00", "1,00E+00", "1.00E+00"},
        {1.5e-123, "0.00E+00", "1,50E-123", "1.50E-123"},
        {1234.0, "0.0E-00", "1,2E03", "1.2E03"},
        {0.001234, "0.0E-00", "1,2E-03", "1.2E-03"},
        {1234.0, "00.00E+00", "12,34E+02", "12.34E+02"},
    };
    check(cases, std::size(cases));
}

TEST_F(FormatTest, TextsEmptyAndNull)
{
    const Case cases[] = {
        {"GOK", "0.00E+00", "GOK", "GOK"},   // a text cell passes unchanged
        {"", "0.00", "", ""},
        {Variant(), "0.00", "0,00", "0.00"},
        {true, "0", "-1", "-1"},
        {0.1f, "", "0,1", "0.1"},            // no pattern: the runtime's own text
        {Variant(), "", "", ""},
    };
    check(cases, std::size(cases));
    SetProgramLocale(German());
    EXPECT_EQ(Format("1,5", "0.00"), QStringLiteral("1,50"));   // numeric text by the locale
    EXPECT_EQ(Format(Variant::Null(), "0.00"), QString());
    EXPECT_EQ(Format(Variant::Null(), "0;0;0;\"leer\""), QStringLiteral("leer"));
    SetProgramLocale(English());
    EXPECT_EQ(Format("1.5", "0.00"), QStringLiteral("1.50"));
    EXPECT_EQ(Format("1,5", "0.00"), QStringLiteral("1,5"));   // no number in English: unchanged
}

TEST_F(FormatTest, DatesAndTimes)
{
    const VbDate evening{45000.75};   // 15.03.2023 18:00:00
    const VbDate morning{45000.0 + (9 * 3600 + 5 * 60 + 7) / 86400.0};
    const Case cases[] = {
        {evening, "dd.mm.yyyy", "15.03.2023", "15.03.2023"},
        {evening, "hh:mm", "18:00", "18:00"},
        {morning, "hh:mm:ss", "09:05:07", "09:05:07"},
        {morning, "h:n:s", "9:5:7", "9:5:7"},
        {morning, "d/m/yy", "15.3.23", "15/3/23"},
        {evening, "Short Date", "15.03.2023", "3/15/2023"},
        {evening, "Long Time", "18:00:00", "6:00:00 PM"},
        {evening, "Short Time", "18:00", "18:00"},
        {evening, "hh:mm AM/PM", "06:00 PM", "06:00 PM"},
        {evening, "yyyy-mm-dd \"at\" hh\\h", "2023-03-15 at 18h", "2023-03-15 at 18h"},
        {evening, "mmmm", "März", "March"},
        {0.5, "hh:mm", "12:00", "12:00"},   // a number is read as a date
        {"abc", "hh:mm", "abc", "abc"},
    };
    check(cases, std::size(cases));
    SetProgramLocale(German());
    EXPECT_EQ(Format("15.03.2023 18:30:00", "hh:mm"), QStringLiteral("18:30"));
    EXPECT_EQ(Format(evening, "General Date"), QStringLiteral("15.03.2023 18:00:00"));
}
}
