// The reports the program prints, by code: what each takes, how its rows are built for the
// printed layout and for the spreadsheet export. The screens and the command line share it.
#pragma once

#include "reports/common/export_column.h"
#include "reports/common/report_layout.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DataModule;
class Progress;
class Query;

// A report's parameters as texts, as the screen shows them; only the first character of
// `order` and `basis` counts.
struct ReportOptions {
    QString from, to;     // yyyy/MM/dd
    QString car, company; // codes, empty for all
    QString order;        // "1", "2", "3" or empty
    QString pageBreak = QStringLiteral("N");
    QString basis = QStringLiteral("1");
};

// A built layout and the rows it prints.
struct PrintJob {
    rpt::Layout layout;
    Query* rows = nullptr;
};

struct ReportDef {
    QString code;        // "BR010"
    QString title;       // "BR010 簽帳客戶明細表"
    QStringList options; // of "from", "to", "car", "company", "order", "page-break", "basis"
    QString exportFile;  // ".\BR010.XLS" as "BR010.XLS"; empty when the report does not export
    // Builds the rows for the layout, using `work` for the work table.
    std::function<PrintJob(DataModule&, Query& work, const ReportOptions&, Progress&)> print;
    // Builds the export rows, left open on `work`; returns the export columns.
    std::function<QList<ExportColumn>(DataModule&, Query& work, const ReportOptions&, Progress&)>
        exportRows;
};

const QList<ReportDef>& reportCatalogue();
// The report of `code` (letter case ignored), null when there is none.
const ReportDef* findReport(const QString& code);
