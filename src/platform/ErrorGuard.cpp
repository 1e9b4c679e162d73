#include "ErrorGuard.h"
#include "DbError.h"


VbError InternalError(const std::exception& e)
{
    return VbError(VbErr::Internal, VbErrorText(VbErr::Internal) + QLatin1String(": ") + QString::fromLocal8Bit(e.what()));
}

GuardSpec RoutineBox(const QString& title, const QString& prefix)
{
    GuardSpec spec;
    spec.title = title;
    spec.prefix = prefix;
    return spec;
}

void Guard::step(const std::function<void()>& f)
{
    RunReporting(f, [this](const VbError& e) { report(e); });
}

bool Guard::test(const std::function<bool()>& f)
{
    bool result = true;   // after OK the guarded branch is entered
    step([&] { result = f(); });
    return result;
}

bool Guard::loop(const std::function<bool()>& f)
{
    bool result = false;   // after OK the loop ends: no endless chain of boxes
    step([&] { result = f(); });
    return result;
}

void Guard::report(const VbError& e)
{
    failed_ = true;
    // The failure that ended the transaction was shown when it happened; what fails
    // after it only for that reason leaves the routine, as Cancel does, without a chain
    // of boxes.
    if (dynamic_cast<const TransactionLost*>(&e))
        throw Leave{};
    switch (ShowErrorBox(dialogs_, spec_, e)) {
    case MsgResult::Cancel:
    case MsgResult::No:
        throw Leave{};
    default:
        return;
    }
}

bool Guarded(DialogService& dialogs, const GuardSpec& spec, const std::function<void(Guard&)>& body)
{
    Guard guard(dialogs, spec);
    bool completed = false;   // an error escaping every step ends the routine after its box
    try {
        guard.step([&] {
            body(guard);
            completed = true;
        });
    } catch (const Guard::Leave&) {
        return false;
    }
    return completed;
}

MsgResult ShowErrorBox(DialogService& dialogs, const GuardSpec& spec, const VbError& e)
{
    if (spec.silenced.count(e.number()))
        return MsgResult::Cancel;   // as if the box had been left with Cancel, unseen
    return dialogs.MsgBox(ErrorBoxRequest(spec, e));
}

MsgBoxRequest ErrorBoxRequest(const GuardSpec& spec, const VbError& e)
{
    MsgBoxRequest box;
    box.text = spec.fixedText.isEmpty() ? spec.prefix + QString::number(e.number()) + QLatin1Char('\n') + e.text()
                                        : spec.fixedText;
    box.buttons = spec.buttons;
    box.icon = spec.icon;
    box.title = spec.title;
    return box;
}
