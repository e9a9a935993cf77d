// tolvar stock recompute: the tanks' book stock rebuilt from a business day on.
#include "app/data_module.h"
#include "cli/command_line.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console_progress.h"
#include "db/db_error.h"
#include "reports/common/business_day.h"

#include <QDate>
#include <QElapsedTimer>

namespace {

// The business-day key of `text`, a date as yyyy/mm/dd or a key as it stands; empty when it
// is neither.
QString startKeyOf(const QString& text) {
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    if (date.isValid())
        return date.year() > 1911 && date.year() < 2911 ? businessDayKey(date) : QString();
    return isBusinessDayKey(text) ? text : QString();
}

} // namespace

int stockCommand(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption from(
        "from", QStringLiteral("起始營業日：yyyy/mm/dd 或七位數的營業日代號 (如 1130101)"),
        QStringLiteral("日期"));
    const CommandSyntax syntax{
        QStringLiteral("tolvar stock recompute --from yyyy/mm/dd"),
        QStringLiteral("油槽帳面庫存 (shift_03_tank)。"),
        {{QStringLiteral("recompute"),
          QStringLiteral("自起始營業日起，重算每個油槽每一班的收油量與帳面、實測庫存")}},
        {from},
        {}};
    if (const int r = parse(parser, args, syntax); r >= 0) return r;
    const QString action = parser.positionalArguments().value(0);
    if (action != QLatin1String("recompute"))
        return fail(ExitUsage,
                    action.isEmpty()
                        ? QStringLiteral("缺少動作：stock recompute --from yyyy/mm/dd")
                        : QStringLiteral("不認得的動作「%1」；可用的是 recompute").arg(action));
    if (!parser.isSet(from))
        return fail(ExitUsage, QStringLiteral("缺少 --from：重算的起始營業日"));
    const QString key = startKeyOf(parser.value(from));
    if (key.isEmpty())
        return fail(
            ExitUsage,
            QStringLiteral("--from「%1」不是 yyyy/mm/dd 格式的日期，也不是七位數的營業日代號")
                .arg(parser.value(from)));

    DataModule dm;
    dm.DataModuleCreate(); // the settings do not matter here, only the connection
    if (!dm.config().error.isEmpty()) return fail(ExitFailed, dm.config().error);
    QElapsedTimer clock;
    clock.start();
    const qint64 statementsBefore = dm.cn.statementsSent();
    ConsoleProgress progress(QStringLiteral("重算油槽帳面庫存"));
    progress.begin();
    TankStockSummary summary;
    try {
        summary = dm.RecomputeTankStock(key, progress);
    } catch (const DbError& e) {
        progress.end();
        return fail(ExitFailed, e.message());
    }
    progress.end();
    out() << QStringLiteral("油槽帳面庫存已重算：自營業日 %1 起，改寫 %2 筆油槽庫存，計入 %3 "
                            "筆進油，送出 %4 個指令，%5 秒\n")
                 .arg(key)
                 .arg(summary.rowsRewritten)
                 .arg(summary.receipts)
                 .arg(dm.cn.statementsSent() - statementsBefore)
                 .arg(clock.elapsed() / 1000.0, 0, 'f', 3);
    return ExitOk;
}
