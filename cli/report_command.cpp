#include "cli/report_command.h"

#include "app/data_module.h"
#include "cli/command_line.h"
#include "cli/command_support.h"
#include "cli/console_progress.h"
#include "cli/report_options.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "reports/common/file_error.h"
#include "reports/common/page_painter.h"
#include "reports/common/report_workbook.h"
#include "reports/common/sylk_writer.h"
#include "reports/report_catalogue.h"

#include <QDate>
#include <QElapsedTimer>

namespace {

ReportPrinter& printer() {
    static ReportPrinter p;
    return p;
}

QString reportList() {
    QString text = QStringLiteral("報表:\n");
    for (const ReportDef& r : reportCatalogue())
        text += QStringLiteral("  %1\n").arg(r.title);
    return text;
}

// The help of `report`, or of every report when it is null.
CommandSyntax reportSyntax(const ReportDef* report) {
    CommandSyntax syntax;
    const bool exports = !report || !report->exportFile.isEmpty();
    syntax.usage = QStringLiteral("tolvar report %1 [選項] (--pdf 檔案 | --xlsx 檔案 | %2--print)")
                       .arg(report ? report->code : QStringLiteral("報表代號"),
                            exports ? QStringLiteral("--sylk 檔案 | ") : QString());
    syntax.description = report ? report->title
                                : QStringLiteral("產生報表並存成 PDF、存成 Excel 活頁簿 (.xlsx)、"
                                                 "轉出 EXCEL (SYLK) 檔或送到預設印表機。\n\n") +
                                      reportList().trimmed();
    for (const ReportOptionEntry& o : reportOptionTable())
        if (!report || report->options.contains(QString::fromLatin1(o.name))) {
            QCommandLineOption option = commandLineOption(o);
            if (report && report->choices.contains(QString::fromLatin1(o.name)))
                option.setValueName(report->choices.value(QString::fromLatin1(o.name)));
            syntax.options << option;
        }
    syntax.options << QCommandLineOption("pdf", QStringLiteral("存成 PDF 檔"),
                                         QStringLiteral("檔案"));
    syntax.options << QCommandLineOption("xlsx", QStringLiteral("存成 Excel 活頁簿 (.xlsx)"),
                                         QStringLiteral("檔案"));
    if (exports)
        syntax.options << QCommandLineOption(
            "sylk",
            QStringLiteral("轉出 EXCEL (SYLK) 檔%1")
                .arg(report ? QString() : QStringLiteral(" (有轉檔的報表)")),
            QStringLiteral("檔案"));
    syntax.options << QCommandLineOption("print", QStringLiteral("送到預設印表機"));
    if (!report)
        syntax.footer =
            QStringLiteral("每個報表只用到它有的選項；報表代號後加 --help 顯示該報表的選項。\n");
    return syntax;
}

} // namespace

void setReportPrinter(ReportPrinter p) {
    printer() = std::move(p);
}

int reportCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const CommandSyntax all = reportSyntax(nullptr);
    parser.addOptions(all.options);
    const QCommandLineOption help({"h", "help"}, QStringLiteral("顯示這個說明"));
    parser.addOption(help);
    if (!parser.parse(args)) return parseError(parser);
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        out() << helpText(all);
        return parser.isSet(help) ? int(ExitOk) : fail(ExitUsage, QStringLiteral("請指定報表代號"));
    }
    if (positional.size() > 1)
        return fail(ExitUsage, QStringLiteral("多餘的參數：%1").arg(positional.mid(1).join(' ')));
    const ReportDef* report = findReport(positional[0]);
    if (!report) {
        out() << reportList();
        return fail(ExitUsage, QStringLiteral("沒有報表「%1」").arg(positional[0]));
    }
    if (parser.isSet(help)) {
        out() << helpText(reportSyntax(report));
        return ExitOk;
    }
    const QString pdf = QStringLiteral("pdf"), sylk = QStringLiteral("sylk"),
                  print = QStringLiteral("print"), xlsx = QStringLiteral("xlsx");
    const int outputs = int(parser.isSet(pdf)) + int(parser.isSet(sylk)) +
                        int(parser.isSet(print)) + int(parser.isSet(xlsx));
    if (outputs != 1)
        return fail(
            ExitUsage,
            QStringLiteral("請指定一種輸出: --pdf 檔案、--xlsx 檔案、--sylk 檔案或 --print"));
    if (parser.isSet(xlsx) && parser.value(xlsx).trimmed().isEmpty())
        return fail(ExitUsage, QStringLiteral("請指定 --xlsx 的檔案名稱"));
    if (parser.isSet(sylk) && !report->exportRows)
        return fail(ExitUsage, QStringLiteral("%1 沒有轉檔").arg(report->code));
    ReportOptions options;
    if (const QString refused = readReportOptions(parser, *report, options); !refused.isEmpty())
        return fail(ExitUsage, refused);

    DataModule dm;
    if (const QString problem = dm.DataModuleCreate(); !problem.isEmpty() && !dm.cn.connected())
        return fail(ExitFailed, problem);
    // A text the station's encoding cannot hold is refused as the screen refuses it, naming
    // the character, before anything is built.
    for (const QString* text : {&options.car, &options.company, &options.card, &options.product,
                                &options.gift, &options.weather}) {
        try {
            dm.cn.codec().encode(*text);
        } catch (const DbError& e) {
            return fail(ExitUsage, e.message());
        }
    }
    try {
        Query work(dm.cn);
        ConsoleProgress progress(report->title);
        QElapsedTimer clock;
        clock.start();
        progress.begin();
        if (parser.isSet(sylk)) {
            const QList<ExportColumn> columns = report->exportRows(dm, work, options, progress);
            progress.end();
            if (work.isEmpty()) {
                out() << QStringLiteral("%1: 沒有資料，未寫入檔案\n").arg(report->code);
                return ExitOk;
            }
            TsxYSLK writer;
            writer.Visible = false;
            writer.FileName = parser.value(sylk);
            writer.begin();
            writer.writeGrid(work, columns);
            writer.end();
            out() << QStringLiteral("%1: %2 列寫入 %3\n")
                         .arg(report->code)
                         .arg(work.recordCount())
                         .arg(writer.FileName);
            return ExitOk;
        }
        const qint64 statementsBefore = dm.cn.statementsSent();
        PrintJob job = report->print(dm, work, options, progress);
        const double built = clock.elapsed() / 1000.0;
        const qint64 statements = dm.cn.statementsSent() - statementsBefore;
        const rpt::RenderedReport pages = renderJob(job);
        progress.end();
        if (pages.pages.isEmpty()) { // no rows: no file, an older one stays as it was
            out() << QStringLiteral("%1: 沒有資料，%2\n")
                         .arg(report->code, parser.isSet(print) ? QStringLiteral("未列印")
                                                                : QStringLiteral("未寫入檔案"));
            return ExitOk;
        }
        if (parser.isSet(xlsx)) {
            ConsoleProgress writing(report->title);
            writing.begin();
            writing.setLabel(QStringLiteral("寫入活頁簿"));
            struct Ender {
                Progress& p;
                ~Ender() { p.end(); }
            } ender{writing};
            writeReportWorkbook(job, pages, report->title, parser.value(xlsx), &writing);
            out() << QStringLiteral("%1: %2 列，%3 頁的報表寫入 %4\n")
                         .arg(report->code)
                         .arg(job.rows->recordCount())
                         .arg(pages.pages.size())
                         .arg(parser.value(xlsx));
            return ExitOk;
        }
        if (parser.isSet(pdf)) {
            rpt::writePdf(pages, parser.value(pdf));
            out() << QStringLiteral("%1: %2 列，%3 頁寫入 %4；%5 條 SQL 指令，建立 %6 秒，排版與 "
                                    "PDF %7 秒\n")
                         .arg(report->code)
                         .arg(job.rows->recordCount())
                         .arg(pages.pages.size())
                         .arg(parser.value(pdf))
                         .arg(statements)
                         .arg(built, 0, 'f', 2)
                         .arg(clock.elapsed() / 1000.0 - built, 0, 'f', 2);
            return ExitOk;
        }
        const QString problem =
            printer() ? printer()(pages, report->title) : QStringLiteral("這個程式不能列印");
        if (!problem.isEmpty()) return fail(ExitFailed, problem);
        out() << QStringLiteral("%1: %2 頁送到印表機\n").arg(report->code).arg(pages.pages.size());
        return ExitOk;
    } catch (const InputRefused& e) {
        return fail(ExitUsage, e.message());
    } catch (const DbError& e) {
        return fail(ExitFailed, e.message());
    } catch (const FileError& e) {
        return fail(ExitFailed, e.message());
    }
}
