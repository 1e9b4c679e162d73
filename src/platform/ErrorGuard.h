#pragma once
// The error box that guards a routine: on an error it shows
// prefix & number & line break & text, titled with the routine's label, with OK and
// Cancel and the exclamation icon. OK goes on with the next step; Cancel leaves the
// routine (a Boolean routine then returns false).
//
//   bool ok = Guarded(dialogs, {"Datenfehler", "VB-Error: "}, [&](Guard& g) {
//       g.step([&] { ... });
//       if (g.test([&] { return x > 0; })) { ... }   // a failed test enters its branch
//       while (g.loop([&] { return !rs.Eof(); })) {...} // a failed condition ends the loop
//   });
#include "DialogService.h"
#include "VbError.h"
#include <QString>
#include <functional>
#include <new>
#include <set>
#include <variant>

struct GuardSpec {
    QString title;
    QString prefix = QStringLiteral("VB-Error: ");
    MsgButtons buttons = MsgButtons::OKCancel;   // some boxes offer OK only
    MsgIcon icon = MsgIcon::Exclamation;
    std::set<int32_t> silenced;                  // numbers that leave the routine without a box
    QString fixedText;                           // when set, the box shows it in place of the error
};

// The error box of a routine: prefix, OK and Cancel, exclamation icon, titled with its label.
GuardSpec RoutineBox(const QString& title, const QString& prefix = QStringLiteral("VB-Error: "));

class Guard {
public:
    Guard(DialogService& dialogs, GuardSpec spec) : dialogs_(dialogs), spec_(std::move(spec)) {}
    // Runs one step; an error shows the box. OK returns, Cancel leaves the routine.
    void step(const std::function<void()>& f);
    // A test: its value, or true after an error answered with OK.
    bool test(const std::function<bool()>& f);
    // A loop condition: its value, or false after an error answered with OK.
    bool loop(const std::function<bool()>& f);
    // A value computed in a step; the fallback after an error answered with OK.
    template <class T>
    T value(const std::function<T()>& f, T fallback) {
        T r = fallback;
        step([&] { r = f(); });
        return r;
    }
    // Shows the box for an error caught elsewhere: OK returns, Cancel leaves. A change
    // refused by a transaction that a reported failure has ended leaves without a box.
    void report(const VbError& e);
    // Whether any error was reported so far, whatever the answer: a routine that went
    // on after OK may still have to say that it did not do all of its work.
    bool failed() const { return failed_; }
    // Title may change while the routine runs (e.g. the caption of a clicked item).
    void setTitle(const QString& title) { spec_.title = title; }
    const GuardSpec& spec() const { return spec_; }

    struct Leave {};   // thrown on Cancel; caught by Guarded

private:
    DialogService& dialogs_;
    GuardSpec spec_;
    bool failed_ = false;
};

// The internal error that a failure of no runtime error type stands for.
VbError InternalError(const std::exception& e);

// Runs f; any failure in it is handed to report as an error of the runtime: a wrong
// value type is a type mismatch, exhausted memory error 7, anything else an internal
// error. Nothing passes unreported.
template <class F, class Report>
void RunReporting(const F& f, const Report& report)
{
    try {
        f();
    } catch (const VbError& e) {
        report(e);
    } catch (const std::bad_variant_access&) {
        report(VbError(VbErr::TypeMismatch));
    } catch (const std::bad_alloc&) {
        report(VbError(VbErr::OutOfMemory));
    } catch (const std::exception& e) {
        report(InternalError(e));
    }
}

// Runs a guarded routine; false when it was left through Cancel (or an error escaped
// every step, after its box).
bool Guarded(DialogService& dialogs, const GuardSpec& spec, const std::function<void(Guard&)>& body);

// Shows the runtime error box without a guard object (for the "data error" boxes).
MsgResult ShowErrorBox(DialogService& dialogs, const GuardSpec& spec, const VbError& e);
// The box ShowErrorBox shows.
MsgBoxRequest ErrorBoxRequest(const GuardSpec& spec, const VbError& e);
