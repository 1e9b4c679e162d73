// The title mark-up parser, the measuring text and the exponent rule.
#include "support/TestHelpers.h"
#include "draw/Markup.h"
#include "platform/Locale.h"
#include <gtest/gtest.h>

namespace {

struct Run {
    bool plain;
    const char* code;
    const char* text;
};

struct ParseCase {
    const char* text;
    std::vector<Run> runs;
    bool missingComma;
    int error;   // 0: none
};

class MarkupParseTest : public ::testing::TestWithParam<ParseCase> {};

} // namespace

TEST_P(MarkupParseTest, Runs)
{
    const ParseCase& c = GetParam();
    const MarkupParse p = ParseMarkup(QString::fromUtf8(c.text));
    ASSERT_EQ(p.runs.size(), c.runs.size()) << c.text;
    for (std::size_t i = 0; i < c.runs.size(); ++i) {
        EXPECT_EQ(p.runs[i].plain, c.runs[i].plain) << c.text << " run " << i;
        EXPECT_EQ(p.runs[i].code, QString::fromUtf8(c.runs[i].code)) << c.text << " run " << i;
        EXPECT_EQ(p.runs[i].text, QString::fromUtf8(c.runs[i].text)) << c.text << " run " << i;
    }
    EXPECT_EQ(p.missingComma, c.missingComma) << c.text;
    EXPECT_EQ(p.error ? p.error->number() : 0, c.error) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Markup, MarkupParseTest, ::testing::Values(
    ParseCase{"k{t,1}f", {{true, "", "k"}, {false, "t", "f"}}, false, 0},
    ParseCase{"plain", {{true, "", "plain"}}, false, 0},
    ParseCase{"a{g,1}b{h,1}2", {{true, "", "a"}, {false, "g", "b"}, {true, "", ""}, {false, "h", "2"}}, false, 0},
    ParseCase{"{c,176}C", {{false, "c", "°"}, {true, "", "C"}}, false, 0},
    ParseCase{"{c,178}", {{false, "c", "²"}}, false, 0},
    ParseCase{"{t,5}ab", {{false, "t", "ab"}}, false, 0},
    ParseCase{"{x,2}ab", {{false, "x", "ab"}}, false, 0},
    ParseCase{"{s,1}3", {{false, "s", "3"}}, false, 0},
    ParseCase{"w{gt,1}gx", {{true, "", "w"}, {false, "gt", "g"}, {true, "", "x"}}, false, 0},
    ParseCase{"a{t1}b", {{true, "", "a"}}, true, 0},
    ParseCase{"x{t,1", {{true, "", "x"}}, false, 5},
    ParseCase{"{t,x}a", {}, false, 13},
    ParseCase{"{c,300}", {}, false, 5},
    ParseCase{"{a}b,1", {}, false, 5}));

TEST(Markup, MeasuringText)
{
    EXPECT_EQ(MarkupMeasuringText("k{t,1}f"), "kf");
    EXPECT_EQ(MarkupMeasuringText("{c,178}"), "");
    EXPECT_EQ(MarkupMeasuringText("a{t1}b"), "ab");
    EXPECT_EQ(MarkupMeasuringText("x{t,1"), "x{t,1");
    EXPECT_EQ(MarkupMeasuringText("a{g,1}b{h,1}2"), "ab2");
}

TEST(Markup, ExponentRule)
{
    {
        const LocaleScope english(English());
        EXPECT_EQ(ExponentMarkup("1.5E+03").value_or("-"), "1.5*10{h,3}+03");
        EXPECT_EQ(ExponentMarkup("2.5e-5").value_or("-"), "2.5*10{h,2}-5");
        EXPECT_FALSE(ExponentMarkup("E12"));
        EXPECT_FALSE(ExponentMarkup("150"));
    }
    const LocaleScope german(German());
    EXPECT_EQ(ExponentMarkup("1,23E+03").value_or("-"), "1,23*10{h,3}+03");
}
