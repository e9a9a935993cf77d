// The subcommands: each takes its arguments (args[0] is "tolvar name") and returns the exit
// status, printing results on stdout and errors as one line on stderr.
#pragma once

#include <QStringList>

int infoCommand(const QStringList& args);
int demoDbCommand(const QStringList& args);
int stockCommand(const QStringList& args);
int reportCommand(const QStringList& args);
int invoiceCommand(const QStringList& args);
