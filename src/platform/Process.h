#pragma once
#include <QString>

// Starts a program file as a separate process with its own window and does not
// wait for it (the runtime's Shell with a normal, focused window). A program that
// cannot be started is error 53.
void StartDetached(const QString& program);
