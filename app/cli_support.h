// Helpers shared by the subcommands: stdout, the one-line error and the option parsing.
#pragma once

#include <QCommandLineParser>
#include <QTextStream>

QTextStream& out();
// Prints `message` as one line on stderr (the server's messages have several) and returns
// `status`.
int fail(int status, const QString& message);
// Parses `args` with the subcommand's options, allowing at most one positional argument;
// on --help prints them and returns ExitOk, on an error returns ExitUsage; otherwise
// returns -1 and leaves the parsed values.
int parse(QCommandLineParser& parser, const QStringList& args, const QString& description);
