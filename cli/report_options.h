// The one table of the report options of the command line: their names, value names and
// help texts, and how each sets a field of ReportOptions. A report takes the ones its
// catalogue entry names.
#pragma once

#include "reports/common/report_def.h"

#include <QCommandLineOption>

class QCommandLineParser;

struct ReportOptionEntry {
    const char* name;      // "from"
    const char* valueName; // "yyyy/mm/dd"; null for a flag
    const char* help;      // the help text
    QString ReportOptions::*field;
    enum Check { Text, Date, Choice, Flag } check = Text;
    const char* choices = nullptr; // a Choice's values, "|"-separated
};

const QList<ReportOptionEntry>& reportOptionTable();
// The option of `entry` for the parser and the help.
QCommandLineOption commandLineOption(const ReportOptionEntry& entry);
// Sets `options` from the parsed command line for `report`, on top of the report's defaults.
// Returns the refusal's message (an option the report does not take, a date that is none, a
// choice not offered), empty when every option was taken.
QString readReportOptions(const QCommandLineParser& parser, const ReportDef& report,
                          ReportOptions& options);
