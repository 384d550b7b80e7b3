#pragma once

#include <QString>
#include <QStringList>

// What the program's arguments ask for, decided before any window opens.
struct CommandLineOutcome {
    bool run = true;  // start the program
    int exitCode = 0; // when not run
    QString output;   // for standard output
    QString error;    // for standard error
};

// Reads the arguments (the first one is the program's path). The toolkit
// takes some options of its own (-platform, -style, ...) only once it is
// created; with `toolkitOptionsPending` such arguments are let through so the
// toolkit can consume them, and the arguments are read again afterwards.
CommandLineOutcome readCommandLine(const QStringList &arguments, bool toolkitOptionsPending);
