#include "WorkingCopy.h"
#include "Datensatz.h"
#include "SavesLock.h"
#include "Sprache.h"
#include "platform/App.h"
#include "platform/Context.h"
#include "platform/DatabaseFiles.h"
#include "platform/DialogService.h"
#include "platform/ErrorGuard.h"
#include "platform/FileOps.h"
#include "platform/Locale.h"
#include "platform/SessionEnd.h"
#include "platform/System.h"
#include "platform/Yield.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>

namespace {

// A path as the system resolves it (links and ".." followed), so that one file under two
// spellings is known as one; a path to nothing is only cleaned.
QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The project database changed between the user's answer and the replacement: he is
// asked again about what is there now.
struct ChangedMeanwhile {};
// The save was given up while it waited for another: by the user, or by an end from
// outside.
struct GivenUpMeanwhile {};

} // namespace

QString KompressionsDatei(const QString& arbeitskopie)
{
    const QString ext = QStringLiteral(".mdb");
    QString base = arbeitskopie;
    if (base.endsWith(ext, Qt::CaseInsensitive))
        base.chop(ext.size());
    return base + QStringLiteral("TEMP.mdb");
}

float GroesseMB(std::uintmax_t bytes)
{
    return float(Round(double(bytes) / 1000000.0, 1));
}

float ProzentKomprimiert(float before, float after)
{
    if (before == 0.0f)
        return 0.0f;
    const float share = (before - after) * 100.0f / before;
    return float(Round(share, 1));
}

QString AktuellerBenutzer()
{
    const QString name = UserName().toUpper();
    return name.isEmpty() ? QStringLiteral("UNBEK.") : name;
}

QString WorkingCopy::T(const char* english, const char* german) const
{
    return Sprachtext(ctx_.SPRACHE, english, german);
}

const HeldFolder& WorkingCopy::OwnFolder() const
{
    if (!own_) {
        // Every user of the suite adds a folder here; each keeps his own to himself.
        const QString benutzer = ParentFolder(ctx_.programFolder) + QStringLiteral("/BENUTZER");
        CreateSharedFolder(benutzer, Sharing::EachOwnEntries);
        own_.emplace(CreateOwnFolder(benutzer + QLatin1Char('/') + AktuellerBenutzer()));
    }
    return *own_;
}

QString WorkingCopy::Path() const
{
    CheckFolder();
    return own_->path() + QLatin1Char('/') + App::Title() + QStringLiteral(".mdb");
}

std::optional<std::pair<QString, float>> WorkingCopy::PathAndSize(Guard& g) const
{
    std::optional<std::pair<QString, float>> found;
    g.step([&] {
        const QString copy = Path();
        found.emplace(copy, GroesseMB(FileLen(copy)));
    });
    return found;
}

QString WorkingCopy::KeptAtEnd() const
{
    if (FolderHere())
        return T("the working copy is kept and will be offered at the next start.",
                 "die Arbeitskopie bleibt erhalten und wird beim nächsten Start angeboten.");
    const QString where = own_->WhereNow();
    return where.isEmpty() ? T("your working copy was removed with its folder.",
                               "Ihre Arbeitskopie wurde mit ihrem Ordner entfernt.")
                           : T("your working copy stays in ", "Ihre Arbeitskopie bleibt in ") + where
                                 + T(" and will not be offered at the next start.",
                                     " und wird beim nächsten Start nicht angeboten.");
}

QString WorkingCopy::CannotSetUp(const VbError& cause) const
{
    return T("The working copy of project ", "Die Arbeitskopie des Projekts ") + ctx_.PROJEKT
           + T(" cannot be set up:\r\n", " kann nicht angelegt werden:\r\n") + cause.text();
}

QString WorkingCopy::ProjectDatabase() const
{
    return ctx_.PROJEKTSPFAD + QLatin1Char('/') + ctx_.PROJEKT + QLatin1Char('/') + App::Title()
           + QStringLiteral(".mdb");
}

std::optional<QString> WorkingCopy::SetUp()
{
    const QString projectDb = ProjectDatabase();
    QString copy;
    // A copy this start made holds nothing of the user's: it goes again when the start
    // cannot go on. (A copy that failed left what was there as it was.)
    bool fresh = false;
    std::optional<QString> refusal;
    RunReporting(
        [&] {
            copy = Path();
            // Two running copies for one user would share this working copy.
            if (!lock_.Acquire(ParentFolder(copy) + QLatin1Char('/') + App::Title() + QStringLiteral(".lock"))) {
                refusal = T("Program ", "Programm ") + App::Title()
                          + T(" is already running for user ", " läuft bereits für Benutzer ") + AktuellerBenutzer()
                          + QLatin1Char('!');
                return;
            }
            // Checked again under the lock: the folder holding the lock file is still the
            // one held.
            CheckFolder();
            RemoveLeftOvers(copy, projectDb);
            const Origin origin = ReadOrigin(copy);
            if (Recovered(copy, origin, projectDb)) {
                // Work recovered from an interrupted run is not in the project yet. Without
                // a state in its marker, its first save asks before replacing the project.
                base_ = origin.base;
                changed_ = true;
            } else {
                // Taken before the copy: a save landing in between makes the next save ask,
                // rather than go unnoticed.
                base_ = StateOfFile(projectDb);
                CopyDatabase(projectDb, copy, {DatensatzTabellen()});
                fresh = true;
            }
            WriteOrigin(copy, {CanonicalPath(projectDb), base_});
            ctx_.cnnX = std::make_shared<Connection>();
            ctx_.cnnX->ConnectionTimeout = 30;
            ctx_.cnnX->Open(JetConnectionString(copy));
        },
        [&](const VbError& e) { refusal = CannotSetUp(e); });
    if (refusal && fresh) {
        ctx_.cnnX.reset();
        QFile::remove(copy);
        RemoveOrigin(copy);
    }
    return refusal;
}

void WorkingCopy::RemoveLeftOvers(const QString& copy, const QString& projectDb) const
{
    RemoveLeftOverPartials(copy, std::chrono::seconds(0));   // of a start-up copy cut short
    RemoveLeftOverPartials(OriginMarker(copy), std::chrono::seconds(0));   // of a marker's write
    // A compaction cut short leaves its file; the working copy never needs it.
    const QString compacted = KompressionsDatei(copy);
    QFile::remove(compacted);
    QFile::remove(compacted + QStringLiteral("-journal"));
    RemoveLeftOverPartials(projectDb);   // of saves cut short
}

bool WorkingCopy::Recovered(const QString& copy, const Origin& origin, const QString& projectDb)
{
    const QFileInfo entry(copy);
    if (!entry.exists() && !entry.isSymLink())
        return false;
    // A link at the working copy's name is none: whatever it names stays untouched.
    const bool otherProject = !origin.projectDb.isEmpty() && CanonicalPath(origin.projectDb) != CanonicalPath(projectDb);
    if (otherProject || entry.isSymLink() || !IsDatabaseWithTables(copy, DatensatzTabellen())) {
        // Never offered, nor overwritten: kept aside. The name and the box take the
        // other project's name only from a folder that exists and a name fit for both.
        const std::optional<QString> project = otherProject ? ProjectName(origin.projectDb) : std::nullopt;
        const QString aside = MoveAside(copy, otherProject ? project.value_or(T("unknown", "unbekannt"))
                                                           : T("invalid", "defekt"));
        ctx_.dlg().MsgBox(
            !otherProject ? T("The working copy left by an interrupted run is no valid project database. "
                              "It is not offered and was kept as ",
                              "Die Arbeitskopie aus einem unterbrochenen Lauf ist keine gültige "
                              "Projektdatenbank. Sie wird nicht angeboten und wurde aufbewahrt als ")
                                + aside + QLatin1Char('.')
            : project ? T("The working copy of project ", "Die Arbeitskopie des Projekts ") + *project
                            + T(" left by an interrupted run was kept as ",
                                " aus einem unterbrochenen Lauf wurde aufbewahrt als ")
                            + aside + QLatin1Char('.')
                      : T("The working copy of an unknown project left by an interrupted run was kept as ",
                          "Die Arbeitskopie eines unbekannten Projekts aus einem unterbrochenen Lauf wurde "
                          "aufbewahrt als ")
                            + aside + QLatin1Char('.'),
            MsgButtons::OK, otherProject ? MsgIcon::Information : MsgIcon::Exclamation, App::Title());
        return false;
    }
    const QString question =
        origin.kept
            ? T("Your working copy of project ", "Ihre Arbeitskopie des Projekts ") + ctx_.PROJEKT
                  + T(" was kept at the end of the last run, as you chose: your changes in it are not, or no "
                      "longer, in the project.\r\nDo you want to go on with the kept working copy?\r\n"
                      "Yes: go on with it; changed records can be moved with Export-Import.\r\n"
                      "No: discard it and begin with the project as it is now.",
                      " wurde beim letzten Beenden auf Ihren Wunsch aufbewahrt: Ihre Änderungen darin sind nicht "
                      "oder nicht mehr im Projekt.\r\nSoll mit der aufbewahrten Arbeitskopie weitergearbeitet "
                      "werden?\r\nJa: mit ihr weiterarbeiten; geänderte Datensätze können mit Export-Import "
                      "übertragen werden.\r\nNein: sie verwerfen und mit dem Projekt beginnen, wie es jetzt ist.")
            : T("Program was interuped during the execution!\r\nDo you want to save the changes till the interuption?",
                "Programm wurde während der Ausführung unterbrochen!\r\n"
                "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?");
    const MsgResult answer = ctx_.dlg().MsgBox(question, MsgButtons::YesNo, MsgIcon::Question, App::Title());
    // A question closed by an end from outside was answered by nobody: keep.
    return answer != MsgResult::No || OutsideUnloadRequested();
}

std::optional<QString> WorkingCopy::ProjectName(const QString& projectDb) const
{
    const QString folder = ParentFolder(projectDb);
    const QString name = QFileInfo(folder).fileName();
    if (name.isEmpty() || HasControlCharacters(name) || !QDir::isAbsolutePath(folder) || !FolderExists(folder))
        return std::nullopt;
    return name;
}

QString WorkingCopy::MoveAside(const QString& copy, const QString& label) const
{
    // A name that no entry has yet and that the system takes, its journal's included:
    // a label too long for it gives way to the fixed word.
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const auto name = [&](const QString& word, int n) {
        return App::Title() + QLatin1Char('_') + word + QLatin1Char('_') + time
               + (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) + QStringLiteral(".mdb");
    };
    const QString fitting = QFile::encodeName(name(label, 99) + QStringLiteral("-journal")).size() <= NAME_MAX
                                ? label
                                : T("unknown", "unbekannt");
    QString target;
    for (int n = 1; target.isEmpty() || QFileInfo(target).exists() || QFileInfo(target).isSymLink(); ++n)
        target = ParentFolder(copy) + QLatin1Char('/') + name(fitting, n);
    MoveFile(copy, target);
    // A journal belongs to its database: it goes along, so that nothing rolls it back
    // onto a file it was not written for.
    QFile::rename(copy + QStringLiteral("-journal"), target + QStringLiteral("-journal"));
    RemoveOrigin(copy);
    return target;
}

WorkingCopy::SaveResult WorkingCopy::Save(const QString& title, const QString& compactionTitle)
{
    bool copied = false, otherKept = false;
    Guarded(ctx_.dlg(), RoutineBox(title), [&](Guard& g) {
        const auto found = PathAndSize(g);
        if (!found)
            return;
        const auto& [copy, size] = *found;
        if (size > 10.0f) {
            MsgBoxRequest offer;
            offer.text = T("Database reaches ", "Datenbank hat ") + CStr(Variant(size))
                         + T(" MB! \r\nDo you want to compact the file?",
                             " MB erreicht! \r\nSoll die Datei komprimiert werden?");
            offer.buttons = MsgButtons::YesNo;
            offer.icon = MsgIcon::Question;
            offer.title = title;
            offer.helpFile = ctx_.programFolder + QLatin1Char('/') + App::HelpFile();
            offer.helpContext = 34;
            if (ctx_.dlg().MsgBox(offer) == MsgResult::Yes)
                Compact(compactionTitle);
        }
        g.step([&] { SetMousePointer(11); });
        g.step([&] {
            // Held across the yields of a wait for another save.
            const std::shared_ptr<Connection> cnn = ctx_.cnnX;
            // Only a sound project database may take the project's place; a failed copy
            // leaves the project database as it was.
            if (!cnn || !cnn->isOpen())
                throw VbError(VbErr::ObjectClosed, T("The working copy is not open. The project database was left "
                                                     "as it was.",
                                                     "Die Arbeitskopie ist nicht geöffnet. Die Projektdatenbank "
                                                     "bleibt unverändert."));
            const QString target = ProjectDatabase();
            if (!FolderExists(ParentFolder(target)))
                throw VbError(VbErr::PathNotFound);   // the project folder has gone
            RemoveLeftOverPartials(target);   // of saves cut short
            try {
                copied = CopyBack(copy, target, title);
                otherKept = !copied;
            } catch (const VbError& e) {
                throw VbError(e.number(), e.text() + T("\r\nThe project database was left as it was.",
                                                       "\r\nDie Projektdatenbank bleibt unverändert."));
            }
        });
        // The next start recovers a kept copy against what it now holds of the project.
        if (copied)
            Saved(copy, title);
        // A copy that failed leaves the changes unsaved, and the flag says so.
        g.step([&] { changed_ = changed_ && !copied; });
        g.step([&] { SetMousePointer(1); });
    });
    if (otherKept)
        return SaveResult::OtherKept;
    return copied ? SaveResult::Saved : SaveResult::Failed;
}

void WorkingCopy::Saved(const QString& copy, const QString& title)
{
    keep_ = keptByChoice_ = false;
    try {
        WriteOrigin(copy, {CanonicalPath(ProjectDatabase()), base_});
    } catch (const VbError& e) {
        ctx_.dlg().MsgBox(
            T("Project ", "Das Projekt ") + ctx_.PROJEKT + T(" was saved.", " wurde gespeichert.")
                + T("\r\nThe marker of your working copy could not be written: ",
                    "\r\nDie Markierung Ihrer Arbeitskopie konnte nicht geschrieben werden: ")
                + e.text()
                + T("\r\nShould the program be interrupted before its end, saving the working copy offered at "
                    "the next start asks before it replaces the project.",
                    "\r\nSollte das Programm vor seinem Ende unterbrochen werden, fragt das Speichern der beim "
                    "nächsten Start angebotenen Arbeitskopie, bevor es das Projekt ersetzt."),
            MsgButtons::OK, MsgIcon::Exclamation, title);
    }
}

bool WorkingCopy::CopyBack(const QString& copy, const QString& target, const QString& title)
{
    // The state the user agreed to replace, when someone else had saved.
    std::optional<FileState> accepted;
    // That the lock cannot be had is said once a save.
    SavesLock saves(ctx_.dlg(), ctx_.SPRACHE, ctx_.PROJEKT, title,
                    T("It is saved without the lock: a save of another user at the very same moment may go "
                      "unnoticed.",
                      "Es wird ohne Sperre gespeichert: eine Speicherung eines anderen Benutzers im selben "
                      "Augenblick kann unbemerkt bleiben."),
                    T("give the save up; your working copy is kept with its changes and offered at the next start.",
                      "das Speichern aufgeben; Ihre Arbeitskopie bleibt mit ihren Änderungen erhalten und wird beim "
                      "nächsten Start angeboten."));
    const auto replaceable = [&](const std::optional<FileState>& elsewhere) {
        return !elsewhere || (accepted && elsewhere->sameContent(*accepted));
    };
    for (;;) {
        const std::optional<FileState> elsewhere = SavedElsewhere(target);
        if (!replaceable(elsewhere)) {
            MsgBoxRequest ask;
            ask.text = (base_ ? T("Project ", "Das Projekt ") + ctx_.PROJEKT
                                    + T(" has been saved elsewhere since your working copy was made or last saved",
                                        " wurde anderweitig gespeichert, seit Ihre Arbeitskopie angelegt oder "
                                        "zuletzt gespeichert wurde")
                              : T("The state of project ", "Der Stand des Projekts ") + ctx_.PROJEKT
                                    + T(" that your working copy came from is not known; it may have been saved "
                                        "elsewhere since. Last saved",
                                        ", von dem Ihre Arbeitskopie stammt, ist nicht bekannt; es kann seitdem "
                                        "anderweitig gespeichert worden sein. Zuletzt gespeichert"))
                       + WhenAndWho(*elsewhere)
                       + T(".\r\nYes: replace the project anyway; what was saved there since is lost.\r\n"
                           "No: leave the project as it is; your working copy is kept and offered at the next "
                           "start, so that changed records can be moved with Export-Import.",
                           ".\r\nJa: Projekt trotzdem ersetzen; was dort seitdem gespeichert wurde, geht "
                           "verloren.\r\nNein: Projekt nicht ersetzen; Ihre Arbeitskopie bleibt erhalten und wird "
                           "beim nächsten Start angeboten, damit geänderte Datensätze mit Export-Import "
                           "übertragen werden können.");
            ask.buttons = MsgButtons::YesNo;
            ask.icon = MsgIcon::Exclamation;
            ask.title = title;
            ask.defaultButton = MsgResult::No;   // Enter never throws another's work away
            if (ctx_.dlg().MsgBox(ask) != MsgResult::Yes || OutsideUnloadRequested()) {
                Keep(!OutsideUnloadRequested());
                return false;
            }
            accepted = elsewhere;
        }
        std::optional<FileState> written;
        // Held from the last check to the rename, so that no other save of the project
        // comes in between; released once the new file is in place.
        std::optional<ReplacementLock> lock;
        try {
            CopyDatabase(copy, target, {DatensatzTabellen()}, [&](const QString& partial) {
                written = StateOfFile(partial);
                if (!saves.Take(lock, target))
                    throw GivenUpMeanwhile{};
                // Checked once more at the last moment: someone may have saved meanwhile.
                if (!replaceable(SavedElsewhere(target)))
                    throw ChangedMeanwhile{};
            });
        } catch (const ChangedMeanwhile&) {
            continue;
        } catch (const GivenUpMeanwhile&) {
            // As a "No" at the question above: nothing of the user's is lost.
            Keep(!OutsideUnloadRequested());
            return false;
        }
        // The stamp of the file in place, so that the next check needs no read of it.
        if (written)
            written = MovedTo(*written, target);
        base_ = written;
        savedThisRun_ = true;
        return true;
    }
}

std::optional<FileState> WorkingCopy::SavedElsewhere(const QString& projectDb) const
{
    // Without a known state, what the project holds may be anybody's save.
    if (!base_)
        return StateOfFile(projectDb);
    return ChangedSince(projectDb, *base_);
}

std::optional<FileState> WorkingCopy::ReplacedSinceOwnSave() const
{
    return savedThisRun_ ? SavedElsewhere(ProjectDatabase()) : std::nullopt;
}

QString WorkingCopy::WhenAndWho(const FileState& state) const
{
    QString text = T(": on ", ": am ") + CStr(Variant(FromDateTime(state.modified())));
    const QString who = UserNameOf(state.owner).toUpper();
    if (!who.isEmpty())
        text += T(" by ", " von ") + who;
    return text;
}

void WorkingCopy::EndWithoutChanges(const QString& title)
{
    const std::optional<FileState> elsewhere = ReplacedSinceOwnSave();
    if (!elsewhere)
        return;
    const MsgResult answer = ctx_.dlg().MsgBox(
        T("Project ", "Das Projekt ") + ctx_.PROJEKT
            + T(" has been saved elsewhere since your last save", " wurde nach Ihrem letzten Speichern anderweitig gespeichert")
            + WhenAndWho(*elsewhere)
            + T(". Your saved changes may no longer be in it.\r\n"
                "Do you want to keep your working copy and have it offered at the next start?",
                ". Ihre gespeicherten Änderungen sind darin möglicherweise nicht mehr enthalten.\r\n"
                "Soll Ihre Arbeitskopie aufbewahrt und beim nächsten Start angeboten werden?"),
        MsgButtons::YesNo, MsgIcon::Exclamation, title);
    // A question closed by an end from outside was answered by nobody: keep.
    if (answer == MsgResult::Yes || OutsideUnloadRequested())
        Keep(!OutsideUnloadRequested());
}

void WorkingCopy::Compact(const QString& title)
{
    const auto reopen = [this] {
        if (ctx_.cnnX && !ctx_.cnnX->isOpen())
            ctx_.cnnX->Reopen();
    };
    const bool complete = Guarded(ctx_.dlg(), RoutineBox(title), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        const auto found = PathAndSize(g);
        if (!found) {
            SetMousePointer(0);
            return;
        }
        const auto& [s, before] = *found;
        float after = 0;
        const QString t = KompressionsDatei(s);
        // The working copy is replaced only by a sound compacted file, and the
        // connection object stays the same, so open views keep working.
        bool compacted = false;
        g.step([&] {
            if (!ctx_.cnnX)
                throw VbError(VbErr::ObjectNotSet);
            try {
                CompactDatabase(*ctx_.cnnX, t);
            } catch (const VbError& e) {
                throw VbError(e.number(), e.text() + T("\r\nThe working copy was left as it was.",
                                                       "\r\nDie Arbeitskopie bleibt unverändert."));
            }
            compacted = true;
        });
        g.step([&] { after = GroesseMB(FileLen(s)); });
        const float percent = ProzentKomprimiert(before, after);
        // A compaction that failed reports no success.
        if (compacted) {
            g.step([&] {
                ctx_.dlg().MsgBox(T("Database was compact about ", "Datenbank wurde um ") + CStr(Variant(percent))
                                      + T(" % to ", " % auf ") + CStr(Variant(after))
                                      + T(" MB!", " MB komprimiert !"),
                                  MsgButtons::OK, MsgIcon::Information, title);
            });
        }
        g.step(reopen);
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete) {
        Guarded(ctx_.dlg(), RoutineBox(title), [&](Guard& g) { g.step(reopen); });
        SetMousePointer(0);
    }
}

void WorkingCopy::Close(Guard& g)
{
    g.step([&] {
        if (!ctx_.cnnX)
            throw VbError(VbErr::ObjectNotSet);
        ctx_.cnnX->Close();
    });
    if (!lock_.Held())
        return;
    // Nothing is written into a folder that is no longer the one held: a copy kept was
    // told where it lies, and one to be removed is told so once.
    if (!FolderHere()) {
        if (!keep_)
            g.step([&] { CheckFolder(); });
        return;
    }
    if (!keep_) {
        g.step([&] {
            const QString copy = Path();
            DeleteFile(copy);
            RemoveOrigin(copy);
        });
    } else if (keptByChoice_) {
        // The next start offers it as kept, not as left by an interruption.
        g.step([&] { WriteOrigin(Path(), {CanonicalPath(ProjectDatabase()), base_, true}); });
    }
}
