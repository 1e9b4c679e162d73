#pragma once
// Hands a document to the desktop's default application for its type (the word
// processor or browser) through the desktop's opener (xdg-open). The call returns at
// once: the opener may need seconds to find that no application takes the document,
// or run as long as the application it started. Its exit status is waited for from
// the event loop, and a failure goes to the caller's report whenever it comes.
#include <QString>
#include <QUrl>
#include <functional>

class VbError;
// Reports a failure of the opener that came after the call had returned.
using OpenerFailed = std::function<void(const VbError&)>;

// A missing file is error 53 and a desktop without an opener error 429, at once; an
// opener that fails later hands error 429 to failed.
void OpenDocument(const QString& path, const OpenerFailed& failed);
// Opens a document written only to be handed over (in the temporary folder) in the same
// way; when no application takes it, at once or later, it is removed before the
// failure goes on.
void OpenHandedOverDocument(const QString& path, const OpenerFailed& failed);
// Opens a file or URL (the help file at a topic) in the same way.
void OpenWithDesktop(const QUrl& url, const OpenerFailed& failed);
// For tests: replaces the desktop hand-over (nullptr restores it). The hook returns
// whether an application accepted the document.
void SetDocumentOpenerHook(std::function<bool(const QString&)> hook);
