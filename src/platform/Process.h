#pragma once
#include <QString>

// Starts a program file as a separate process with its own window and does not
// wait for it (the runtime's Shell with a normal, focused window). A missing program
// is error 53, one that is not executable error 70, one that fails to start 53 with
// its reason.
void StartDetached(const QString& program);
