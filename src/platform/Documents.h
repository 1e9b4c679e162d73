#pragma once
// Hands a document to the desktop's default application for its type (the word
// processor or browser) and returns at once.
#include <QString>
#include <functional>

// A missing file is error 53; a document no application accepts is error 429.
void OpenDocument(const QString& path);
// For tests: replaces the desktop hand-over (nullptr restores it). The hook returns
// whether an application accepted the document.
void SetDocumentOpenerHook(std::function<bool(const QString&)> hook);
