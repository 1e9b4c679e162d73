#include "platform/ErrorGuard.h"
#include "platform/Locale.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>
#include <variant>

namespace {
GuardSpec spec()
{
    GuardSpec s;
    s.title = QStringLiteral("Datenfehler");
    return s;
}

void fail(int32_t number)
{
    throw VbError(number, QStringLiteral("Text %1").arg(number));
}

TEST(ErrorGuard, OkGoesOnWithTheNextStep)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::OK};
    std::vector<int> ran;
    const bool ok = Guarded(dialogs, spec(), [&](Guard& g) {
        g.step([&] { ran.push_back(1); });
        g.step([&] { fail(VbErr::Overflow); ran.push_back(2); });
        g.step([&] { ran.push_back(3); });
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    ASSERT_EQ(dialogs.boxes().size(), 1u);
}

TEST(ErrorGuard, CancelLeavesTheRoutineWhichReturnsFalse)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::Cancel};
    std::vector<int> ran;
    const bool ok = Guarded(dialogs, spec(), [&](Guard& g) {
        g.step([&] { ran.push_back(1); });
        g.step([&] { fail(VbErr::TypeMismatch); });
        g.step([&] { ran.push_back(3); });
        ran.push_back(4);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(ran, (std::vector<int>{1}));
}

TEST(ErrorGuard, BoxShowsPrefixNumberLineBreakAndTextWithTheSpecsLook)
{
    struct Case {
        GuardSpec spec;
        VbError error;
        const char* text;
    };
    GuardSpec okOnly = spec();
    okOnly.prefix = QStringLiteral("VB-Fehler: ");
    okOnly.buttons = MsgButtons::OK;
    okOnly.icon = MsgIcon::None;
    okOnly.title = QStringLiteral("Berechnung");
    GuardSpec fixed = spec();
    fixed.fixedText = QStringLiteral("Werte können nicht eingelesen werden!");
    const Case cases[] = {
        {spec(), VbError(VbErr::Overflow, QStringLiteral("Überlauf")), "VB-Error: 6\nÜberlauf"},
        {okOnly, VbError(VbErr::DbUnknownColumn, QStringLiteral("no such column: X")),
         "VB-Fehler: -2147217904\nno such column: X"},
        {fixed, VbError(VbErr::Overflow), "Werte können nicht eingelesen werden!"},
    };
    for (const Case& c : cases) {
        ScriptedDialogService dialogs;
        dialogs.msgAnswers = {MsgResult::OK};
        EXPECT_EQ(ShowErrorBox(dialogs, c.spec, c.error), MsgResult::OK);
        ASSERT_EQ(dialogs.boxes().size(), 1u);
        const MsgBoxRequest box = dialogs.boxes()[0];
        EXPECT_EQ(box.text, QString::fromUtf8(c.text));
        EXPECT_EQ(box.title, c.spec.title);
        EXPECT_EQ(box.buttons, c.spec.buttons);
        EXPECT_EQ(box.icon, c.spec.icon);
    }
    // The defaults: OK and Cancel with the exclamation icon.
    EXPECT_EQ(spec().buttons, MsgButtons::OKCancel);
    EXPECT_EQ(spec().icon, MsgIcon::Exclamation);
    EXPECT_EQ(spec().prefix, QStringLiteral("VB-Error: "));
}

TEST(ErrorGuard, FailedTestEntersItsBranchAndFailedLoopConditionEndsTheLoop)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::OK, MsgResult::OK};
    bool entered = false;
    int rounds = 0;
    const bool ok = Guarded(dialogs, spec(), [&](Guard& g) {
        if (g.test([]() -> bool { throw VbError(VbErr::Overflow); }))
            entered = true;
        EXPECT_FALSE(g.test([] { return false; }));
        while (g.loop([&]() -> bool {
            if (rounds == 2)
                throw VbError(VbErr::NoCurrentRecord);
            return true;
        }))
            ++rounds;
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(entered);
    EXPECT_EQ(rounds, 2);
    EXPECT_EQ(dialogs.boxes().size(), 2u);   // one box each, no chain
}

TEST(ErrorGuard, ValueFallsBackAfterOk)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::OK};
    Guarded(dialogs, spec(), [&](Guard& g) {
        EXPECT_EQ(g.value<int>([]() -> int { throw VbError(VbErr::Overflow); }, 7), 7);
        EXPECT_EQ(g.value<int>([] { return 3; }, 7), 3);
    });
}

TEST(ErrorGuard, SilencedNumbersLeaveWithoutABox)
{
    ScriptedDialogService dialogs;
    GuardSpec s = spec();
    s.silenced = {VbErr::InvalidProperty, VbErr::DialogCancelled};
    dialogs.msgAnswers = {MsgResult::OK};
    for (const int32_t silent : {VbErr::InvalidProperty, VbErr::DialogCancelled}) {
        std::vector<int> ran;
        const bool ok = Guarded(dialogs, s, [&](Guard& g) {
            g.step([] { fail(VbErr::Overflow); });   // shown, and OK goes on
            g.step([&] { ran.push_back(2); });
            g.step([&] { fail(silent); });
            g.step([&] { ran.push_back(4); });
        });
        EXPECT_FALSE(ok);
        EXPECT_EQ(ran, (std::vector<int>{2}));
        dialogs.msgAnswers = {MsgResult::OK};
    }
    ASSERT_EQ(dialogs.boxes().size(), 2u);
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("VB-Error: 6\n")));
    EXPECT_EQ(ShowErrorBox(dialogs, s, VbError(VbErr::DialogCancelled)), MsgResult::Cancel);
    EXPECT_EQ(dialogs.boxes().size(), 2u);
    dialogs.msgAnswers.clear();
}

TEST(ErrorGuard, ErrorOutsideAnyStepShowsItsBoxAndEndsTheRoutine)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::OK};
    bool after = false;
    const bool ok = Guarded(dialogs, spec(), [&](Guard&) {
        fail(VbErr::ObjectNotSet);
        after = true;
    });
    EXPECT_FALSE(ok);
    EXPECT_FALSE(after);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, QStringLiteral("VB-Error: 91\nText 91"));
}

TEST(ErrorGuard, OtherFailuresAreReportedNotSwallowed)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::OK, MsgResult::OK};
    const bool ok = Guarded(dialogs, spec(), [&](Guard& g) {
        g.step([] { (void)std::get<int>(std::variant<int, double>(1.0)); });
        g.step([] { throw std::runtime_error("broken"); });
    });
    EXPECT_TRUE(ok);
    ASSERT_EQ(dialogs.boxes().size(), 2u);
    EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(QStringLiteral("VB-Error: 13\n")));
    EXPECT_TRUE(dialogs.boxes()[1].text.startsWith(QStringLiteral("VB-Error: 51\n")));
    EXPECT_TRUE(dialogs.boxes()[1].text.endsWith(QStringLiteral("broken")));
}

TEST(ErrorGuard, TitleMayChangeWhileTheRoutineRuns)
{
    ScriptedDialogService dialogs;
    dialogs.msgAnswers = {MsgResult::OK};
    Guarded(dialogs, spec(), [&](Guard& g) {
        g.setTitle(QStringLiteral("&Neuberechnen"));
        g.step([] { fail(VbErr::Overflow); });
    });
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].title, QStringLiteral("&Neuberechnen"));
}

TEST(ErrorGuard, ErrorTextsFollowTheProgramLanguage)
{
    struct Case {
        int32_t number;
        const char* german;
        const char* english;
    } cases[] = {
        {VbErr::Overflow, "Überlauf", "Overflow"},
        {VbErr::TypeMismatch, "Typen unverträglich", "Type mismatch"},
        {VbErr::DivisionByZero, "Division durch Null", "Division by zero"},
        {VbErr::InvalidNull, "Unzulässige Verwendung von Null", "Invalid use of Null"},
        {VbErr::InvalidArrayIndex, "Unzulässiger Index für Eigenschaftenfeld", "Invalid property array index"},
        {12345, "Anwendungs- oder objektdefinierter Fehler", "Application-defined or object-defined error"},
    };
    const LocaleScope restore(ProgramLocale());
    for (const auto& c : cases) {
        SetProgramLocale(QLocale(QLocale::German, QLocale::Austria));
        EXPECT_EQ(VbError(c.number).text(), QString::fromUtf8(c.german));
        SetProgramLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        EXPECT_EQ(VbError(c.number).text(), QString::fromUtf8(c.english));
    }
}

TEST(ErrorGuard, CheckedArithmetic)
{
    const auto errorOf = [](double a, double b) { return VbErrorOf([&] { CheckedDiv(a, b); }); };
    EXPECT_EQ(CheckedDiv(1.0, 4.0), 0.25);
    EXPECT_EQ(errorOf(1.0, 0.0), VbErr::DivisionByZero);
    EXPECT_EQ(errorOf(0.0, 0.0), VbErr::Overflow);
    EXPECT_EQ(errorOf(1e308, 1e-10), VbErr::Overflow);
    EXPECT_THROW(CheckedFinite(std::nan("")), VbError);
    EXPECT_EQ(SngDiv(1.0, 4.0), 0.25f);
    EXPECT_EQ(VbErrorOf([] { SngDiv(0.0, 0.0); }), VbErr::Overflow);
    EXPECT_EQ(VbErrorOf([] { SngDiv(1e30, 1e-30); }), VbErr::Overflow);   // beyond the Single range
}
}
