// Helpers shared by the subcommands: stdout, the one-line error, the option parsing and the
// help text, shaped alike for every subcommand.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QPair>
#include <QTextStream>

QTextStream& out();
// Prints `message` as one line on stderr (the server's messages have several) and returns
// `status`.
int fail(int status, const QString& message);

// What --help shows of a subcommand.
struct CommandSyntax {
    QString usage;                            // "tolvar stock recompute --from yyyy/mm/dd"
    QString description;                      // what it does, one or more lines
    QList<QPair<QString, QString>> arguments; // positional arguments and what they are
    QList<QCommandLineOption> options;        // --help is added by parse()
    QString footer;                           // after the options, empty for none
};

// The help text of `syntax`: usage, description, arguments and options in two columns.
QString helpText(const CommandSyntax& syntax);

// Reports the parser's error in the program's language; returns ExitUsage.
int parseError(const QCommandLineParser& parser);

// Parses `args` with the options of `syntax`, allowing at most one positional argument; on
// --help prints the help and returns ExitOk, on an error returns ExitUsage; otherwise
// returns -1 and leaves the parsed values.
int parse(QCommandLineParser& parser, const QStringList& args, const CommandSyntax& syntax);
