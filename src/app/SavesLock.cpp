#include "SavesLock.h"
#include "Sprache.h"
#include "platform/DialogService.h"
#include "platform/SessionEnd.h"
#include "platform/VbError.h"
#include "platform/Yield.h"
#include <QElapsedTimer>

namespace {

// How often a write waiting for another one's replacement looks whether it is done.
constexpr int PollMs = 20;
// How long it waits before it says so: another save's replacement takes moments.
constexpr qint64 AskAfterMs = 3000;

} // namespace

SavesLock::SavesLock(DialogService& dlg, int sprache, QString projekt, QString title, QString withoutLock,
                     QString giveUp)
    : dlg_(dlg), sprache_(sprache), projekt_(std::move(projekt)), title_(std::move(title)),
      withoutLock_(std::move(withoutLock)), giveUp_(std::move(giveUp))
{
}

QString SavesLock::T(const char* english, const char* german) const
{
    return Sprachtext(sprache_, english, german);
}

bool SavesLock::Take(std::optional<ReplacementLock>& lock, const QString& target)
{
    try {
        lock.emplace(target);
        // Meanwhile windows repaint under the busy pointer, and user input waits until
        // the question of a long wait.
        QElapsedTimer waiting;
        waiting.start();
        while (!lock->TryLock()) {
            if (OutsideUnloadRequested())
                return false;
            if (waiting.hasExpired(AskAfterMs)) {
                bool taken = false;
                const bool waitOn = WaitOn(*lock, taken);
                if (taken)
                    return true;
                if (!waitOn || OutsideUnloadRequested())
                    return false;
                waiting.restart();
            }
            Sleep(PollMs);
        }
    } catch (const VbError& e) {
        lock.reset();
        if (!told_) {
            dlg_.MsgBox(T("Project ", "Das Projekt ") + projekt_
                            + T(" cannot be locked against other saves at the same moment:\r\n",
                                " kann nicht gegen andere gleichzeitige Speicherungen gesperrt werden:\r\n")
                            + e.text() + QStringLiteral("\r\n") + withoutLock_,
                        MsgButtons::OK, MsgIcon::Exclamation, title_);
            told_ = true;
        }
    }
    return true;
}

bool SavesLock::WaitOn(ReplacementLock& lock, bool& taken)
{
    // A lock that fails while the box is open closes it, and is told as one that cannot
    // be had.
    std::optional<VbError> failed;
    MsgBoxRequest ask;
    ask.text = T("Another save of project ", "Eine andere Speicherung des Projekts ") + projekt_
               + T(" is under way; this message closes once it has ended.\r\nDo you want to go on waiting?"
                   "\r\nYes: go on waiting.\r\nNo: ",
                   " ist im Gange; diese Meldung schließt sich, sobald sie beendet ist.\r\nSoll weiter gewartet "
                   "werden?\r\nJa: weiter warten.\r\nNein: ")
               + giveUp_;
    ask.buttons = MsgButtons::YesNo;
    ask.icon = MsgIcon::Question;
    ask.title = title_;
    // Enter waits on: a save that would be done a moment later is not dropped by it.
    ask.defaultButton = MsgResult::Yes;
    ask.closesWhen = [&] {
        try {
            taken = lock.TryLock();
        } catch (const VbError& e) {
            failed = e;
        }
        return taken || failed;
    };
    const MsgResult answer = dlg_.MsgBox(ask);
    if (failed)
        throw *failed;
    return answer == MsgResult::Yes;
}
