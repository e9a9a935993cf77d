// The command line: the program's subcommands, run without a window through the same
// start-up as the screens (config.ini in the working folder, the station settings).
#pragma once

#include <QStringList>

// Exit status of a subcommand.
enum ExitStatus { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

// Runs the subcommand in `args` (args[0] is the program). Prints results on stdout and
// errors as one line on stderr.
int runCommandLine(const QStringList& args);

// The overview printed by --help, also shown when the program is started without a display.
QString commandLineHelp();
