// tolvar invoice trial|media: the invoice trial of one or two months, and the media file
// for the tax office, without a window.
#include "app/data_module.h"
#include "cli/command_line.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console_progress.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "invoice/invoice_media.h"
#include "invoice/invoice_trial.h"
#include "reports/common/file_error.h"

#include <QDir>

namespace {

void printLine(const QString& line) {
    out() << line << '\n';
}

} // namespace

int invoiceCommand(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption from("from", QStringLiteral("起始年月 yyyy/mm"),
                                  QStringLiteral("年月"));
    const QCommandLineOption to(
        "to", QStringLiteral("終止年月 yyyy/mm：與起始年月同一個月，或同一年的下一個月"),
        QStringLiteral("年月"));
    const QCommandLineOption file("out",
                                  QStringLiteral("媒體檔寫到這個檔案 (預設 ~/Export/統一編號.TXT)"),
                                  QStringLiteral("檔案"));
    const CommandSyntax syntax{
        QStringLiteral("tolvar invoice (trial | media) --from yyyy/mm --to yyyy/mm [--out 檔案]"),
        QStringLiteral("發票試算與媒體轉檔，與「發票試算」畫面相同。結果列印在標準輸出。"),
        {{QStringLiteral("trial"),
          QStringLiteral("試算：檢查重複的發票號碼，重建試算資料 (tIN010)，列出張數與金額")},
         {QStringLiteral("media"),
          QStringLiteral("媒體轉檔：以上次試算的資料寫出報稅的發票媒體檔 (不再詢問)")}},
        {from, to, file},
        QStringLiteral("發票號碼重複時列出重複的號碼，上次的試算資料維持原狀。\n"
                       "結束碼: 0 完成，1 發票重複、資料庫或檔案錯誤，2 參數錯誤。\n")};
    if (const int r = parse(parser, args, syntax); r >= 0) return r;
    const QString action = parser.positionalArguments().value(0);
    const bool media = action == QLatin1String("media");
    if (!media && action != QLatin1String("trial"))
        return fail(
            ExitUsage,
            action.isEmpty()
                ? QStringLiteral("缺少動作：invoice trial 或 invoice media")
                : QStringLiteral("不認得的動作「%1」；可用的是 trial 和 media").arg(action));
    if (!parser.isSet(from) || !parser.isSet(to))
        return fail(ExitUsage, QStringLiteral("請以 --from 與 --to 指定起迄年月 (yyyy/mm)"));
    if (!media && parser.isSet(file))
        return fail(ExitUsage, QStringLiteral("--out 只用於 invoice media"));

    DataModule dm;
    if (const QString problem = dm.DataModuleCreate(); !problem.isEmpty() && !dm.cn.connected())
        return fail(ExitFailed, problem);
    ConsoleProgress progress(media ? QStringLiteral("發票媒體轉檔") : QStringLiteral("發票試算"));
    progress.begin();
    try {
        if (media) {
            const InvoiceMediaResult written =
                runInvoiceMedia(dm, {parser.value(from), parser.value(to), parser.value(file)},
                                progress, printLine);
            progress.end();
            printLine(QStringLiteral("  媒體檔 : ") + QDir::toNativeSeparators(written.file));
            return ExitOk;
        }
        InvoiceTrialParams params;
        params.start = parser.value(from);
        params.end = parser.value(to);
        const TrialOutcome outcome = runInvoiceTrial(dm, params, progress, printLine);
        progress.end();
        if (outcome == TrialOutcome::Duplicates)
            return fail(ExitFailed,
                        QStringLiteral("發票號碼重複，試算未完成；上次的試算資料維持原狀"));
        return ExitOk;
    } catch (const InputRefused& e) {
        progress.end();
        return fail(ExitUsage, e.message());
    } catch (const DbError& e) {
        progress.end();
        return fail(ExitFailed, e.message());
    } catch (const FileError& e) {
        progress.end();
        return fail(ExitFailed, e.message());
    }
}
