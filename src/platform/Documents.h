#pragma once
// Hands a document to the desktop's default application for its type (the word
// processor or browser). The desktop's opener (xdg-open) is run and watched for a
// moment: one that fails (no application for the type, none that starts) is an
// error; one still running then has started the application and is left to it.
#include <QString>
#include <QUrl>
#include <functional>

// A missing file is error 53; a document no application opens is error 429.
void OpenDocument(const QString& path);
// Opens a file or URL (the help file at a topic); no application is error 429.
void OpenWithDesktop(const QUrl& url);
// For tests: replaces the desktop hand-over (nullptr restores it). The hook returns
// whether an application accepted the document.
void SetDocumentOpenerHook(std::function<bool(const QString&)> hook);
