// What a report is to the screens and the command line: its code and title, the parameters
// it takes, and how its rows are built for the printed layout and for the spreadsheet export.
// Each report defines its entry beside its own files; reports/report_catalogue.cpp lists them.
#pragma once

#include "reports/common/export_column.h"
#include "reports/common/report_renderer.h"
#include "reports/common/sheet.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DataModule;
class Progress;
class Query;

// A report's parameters as texts, as its screen shows them. A report reads the ones it
// takes; only the first character of the list choices (`order`, `basis`, ...) counts.
struct ReportOptions {
    QString from, to;                         // yyyy/MM/dd
    QString date;                             // a one-day report's day, yyyy/MM/dd
    QString weather = QStringLiteral("晴天"); // BR030
    QString basis = QStringLiteral("1");      // 1 交班日期, 2 加油日期
    QString car, company, card;               // codes, empty for all
    QString order;                            // "1", "2", "3" or empty
    QString pageBreak = QStringLiteral("N");  // "Y": each group on a page of its own
    QString fromShift, toShift;               // BR050 (empty: the screen's defaults)
    QString tank;                             // BR070: "01" to "08", empty for all
    QString stock = QStringLiteral("1");      // BR070: 1 計算存量, 2 液面計量
    QString product;                          // BR110
    QString gift;                             // BR080
    QString mode = QStringLiteral("1");       // BR080: 1 明細, 2 統計
};

// A built layout and the rows it prints: `rows` for the detail bands, `subRows` for a
// sub-detail band (null when the layout has none).
struct PrintJob {
    rpt::Layout layout;
    Query* rows = nullptr;
    Query* subRows = nullptr;
    // The report's own spreadsheet, laid out from its printed pages, for a report whose
    // printed lines make a poor sheet; null: the sheet is laid out from the printed bands.
    std::function<rpt::Sheet(const rpt::RenderedReport&)> sheet = nullptr;
};

struct ReportDef {
    QString code;        // "BR010"
    QString title;       // "BR010 簽帳客戶明細表"
    QStringList options; // the command-line option names it takes ("from", "car", ...)
    QString exportFile;  // ".\BR010.XLS" as "BR010.XLS"; empty when the report does not export
    // Sets the screen's default dates where they differ from the first of the month to
    // yesterday (and today for `date`), which the options hold when it is called. Null: those.
    std::function<void(ReportOptions&, const QDate& today)> defaults;
    // Builds the rows for the layout, using `work` for the work table. Throws DbError, and
    // InputRefused for a parameter the screen refuses.
    std::function<PrintJob(DataModule&, Query& work, const ReportOptions&, Progress&)> print;
    // Builds the export rows, left open on `work`; returns the export columns. Null when the
    // report does not export.
    std::function<QList<ExportColumn>(DataModule&, Query& work, const ReportOptions&, Progress&)>
        exportRows;
    // An option whose values the report narrows: name → its "|"-separated values ("order" →
    // "1|2"). Options not named here take the values of the common table.
    QHash<QString, QString> choices;
};

// Runs the built layout over its rows.
rpt::RenderedReport renderJob(const PrintJob& job,
                              const QDate& printingDate = QDate::currentDate());
// The options with the screen's default dates of `report` as of `today`.
ReportOptions defaultOptions(const ReportDef& report, const QDate& today);
