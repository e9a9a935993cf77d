#include "app/report_command.h"

#include "app/cli.h"
#include "app/cli_support.h"
#include "app/console_progress.h"
#include "app/data_module.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "reports/common/date_basis.h"
#include "reports/common/file_error.h"
#include "reports/common/page_painter.h"
#include "reports/common/sylk_writer.h"
#include "reports/report_catalogue.h"

#include <QDate>
#include <QElapsedTimer>

namespace {

ReportPrinter& printer() {
    static ReportPrinter p;
    return p;
}

struct OptionText {
    const char* name;
    const char* valueName;
    const char* description;
};

const OptionText optionTexts[] = {
    {"from", "yyyy/mm/dd", "起始日期 (預設本月一日)"},
    {"to", "yyyy/mm/dd", "終止日期 (預設昨天)"},
    {"car", "車號", "只列這部客戶車號 (完全相同)"},
    {"company", "代號", "只列這家公司"},
    {"order", "1|2|3|none", "排序: 1 日期、2 車號、3 公司、none 不排序 (預設 1)"},
    {"page-break", nullptr, "每組資料換頁"},
    {"basis", "1|2", "日期類別: 1 交班日期、2 加油日期 (預設 1)"},
};

QString reportList() {
    QString text = QStringLiteral("報表:\n");
    for (const ReportDef& r : reportCatalogue())
        text += QStringLiteral("  %1\n").arg(r.title);
    return text;
}

QString usage() {
    QString text =
        QStringLiteral("用法: tolvar report 報表代號 [選項] (--pdf 檔案 | --sylk 檔案 | --print)\n"
                       "產生報表並存成 PDF、轉出 EXCEL (SYLK) 檔或送到預設印表機。\n\n");
    text += reportList();
    text += QStringLiteral("\n選項 (每個報表只用到它有的):\n");
    for (const OptionText& o : optionTexts)
        text +=
            QStringLiteral("  --%1%2  %3\n")
                .arg(QLatin1String(o.name))
                .arg(o.valueName ? QStringLiteral(" ") + QString::fromUtf8(o.valueName) : QString())
                .arg(QString::fromUtf8(o.description));
    text += QStringLiteral("  --pdf 檔案    存成 PDF 檔\n"
                           "  --sylk 檔案   轉出 EXCEL (SYLK) 檔 (有轉檔的報表)\n"
                           "  --print       送到預設印表機\n"
                           "\n報表代號後加 --help 顯示該報表的選項。\n");
    return text;
}

// The texts of the options as the screen would show them, or the refusal's message.
QString readOptions(const QCommandLineParser& parser, const ReportDef& report,
                    ReportOptions& options) {
    for (const OptionText& o : optionTexts)
        if (parser.isSet(QString::fromLatin1(o.name)) &&
            !report.options.contains(QString::fromLatin1(o.name)))
            return QStringLiteral("%1 沒有 --%2 選項").arg(report.code, QLatin1String(o.name));
    const QDate today = QDate::currentDate();
    options.from = parser.isSet("from") ? parser.value("from") : firstOfMonthText(today);
    options.to = parser.isSet("to") ? parser.value("to") : yesterdayText(today);
    for (const QString& date : {options.from, options.to})
        if (!parseDayText(date).isValid())
            return QStringLiteral("日期錯誤: '%1' 不是 yyyy/mm/dd 的日期").arg(date);
    options.car = parser.value("car");
    options.company = parser.value("company");
    const QString order = parser.isSet("order") ? parser.value("order") : QStringLiteral("1");
    if (!QStringList{"1", "2", "3", "none"}.contains(order))
        return QStringLiteral("--order 只能是 1、2、3 或 none");
    options.order = order == QLatin1String("none") ? QString() : order;
    options.pageBreak = parser.isSet("page-break") ? QStringLiteral("Y") : QStringLiteral("N");
    const QString basis = parser.isSet("basis") ? parser.value("basis") : QStringLiteral("1");
    if (basis != QLatin1String("1") && basis != QLatin1String("2"))
        return QStringLiteral("--basis 只能是 1 或 2");
    options.basis = basis;
    return {};
}

} // namespace

void setReportPrinter(ReportPrinter p) {
    printer() = std::move(p);
}

int reportCommand(const QStringList& args) {
    QCommandLineParser parser;
    for (const OptionText& o : optionTexts)
        parser.addOption(o.valueName ? QCommandLineOption(QString::fromLatin1(o.name),
                                                          QString::fromUtf8(o.description),
                                                          QString::fromUtf8(o.valueName))
                                     : QCommandLineOption(QString::fromLatin1(o.name),
                                                          QString::fromUtf8(o.description)));
    const QCommandLineOption pdf("pdf", QStringLiteral("存成 PDF 檔"), QStringLiteral("檔案"));
    const QCommandLineOption sylk("sylk", QStringLiteral("轉出 EXCEL (SYLK) 檔"),
                                  QStringLiteral("檔案"));
    const QCommandLineOption print("print", QStringLiteral("送到預設印表機"));
    const QCommandLineOption help({"h", "help"}, QStringLiteral("顯示這個說明"));
    parser.addOptions({pdf, sylk, print, help});
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(args)) return fail(ExitUsage, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        out() << usage();
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
        out() << QStringLiteral(
                     "用法: tolvar report %1 [選項] (--pdf 檔案 | %2--print)\n%3\n\n選項:\n")
                     .arg(report->code,
                          report->exportFile.isEmpty() ? QString()
                                                       : QStringLiteral("--sylk 檔案 | "),
                          report->title);
        for (const OptionText& o : optionTexts)
            if (report->options.contains(QString::fromLatin1(o.name)))
                out() << QStringLiteral("  --%1  %2\n")
                             .arg(QLatin1String(o.name), QString::fromUtf8(o.description));
        return ExitOk;
    }
    const int outputs = int(parser.isSet(pdf)) + int(parser.isSet(sylk)) + int(parser.isSet(print));
    if (outputs != 1)
        return fail(ExitUsage, QStringLiteral("請指定一種輸出: --pdf 檔案、--sylk 檔案或 --print"));
    if (parser.isSet(sylk) && !report->exportRows)
        return fail(ExitUsage, QStringLiteral("%1 沒有轉檔").arg(report->code));
    ReportOptions options;
    if (const QString refused = readOptions(parser, *report, options); !refused.isEmpty())
        return fail(ExitUsage, refused);

    DataModule dm;
    if (const QString problem = dm.DataModuleCreate(); !problem.isEmpty() && !dm.cn.connected())
        return fail(ExitFailed, problem);
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
        const rpt::RenderedReport pages = rpt::render(job.layout, *job.rows);
        progress.end();
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
        if (pages.pages.isEmpty()) {
            out() << QStringLiteral("%1: 沒有資料，未列印\n").arg(report->code);
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
