#pragma once

#include <QStringList>

#include <optional>

// Answers what the command line asks before any window opens: --help,
// --help-all, --version, or an option the program does not know. Returns the
// exit status when the program should end there, having printed the answer;
// nothing when it should go on and start. Needs no display, so it works in a
// terminal without one. Qt's own options, those of every platform, pass.
std::optional<int> answerCommandLine(const QStringList &arguments);
