#include "SavesLock.h"
#include "Sprache.h"
#include "platform/DialogService.h"
#include "platform/SessionEnd.h"
#include "platform/VbError.h"
#include "platform/Yield.h"

namespace {

// How often a write waiting for another one's replacement looks whether it is done.
constexpr int PollMs = 20;

} // namespace

SavesLock::SavesLock(DialogService& dlg, int sprache, QString projekt, QString title, QString withoutLock)
    : dlg_(dlg), sprache_(sprache), projekt_(std::move(projekt)), title_(std::move(title)),
      withoutLock_(std::move(withoutLock))
{
}

bool SavesLock::Take(std::optional<ReplacementLock>& lock, const QString& target)
{
    try {
        lock.emplace(target);
        // Another save's replacement takes moments; meanwhile windows repaint under the
        // busy pointer, and user input waits.
        while (!lock->TryLock()) {
            if (OutsideUnloadRequested())
                return false;
            Sleep(PollMs);
        }
    } catch (const VbError& e) {
        lock.reset();
        if (!told_) {
            const auto T = [&](const char* english, const char* german) { return Sprachtext(sprache_, english, german); };
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
