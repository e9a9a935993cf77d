// tolvar demo-db: the station tables made in pos_data and filled with a generated station.
#include "app/data_module.h"
#include "cli/command_line.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "cli/console_progress.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "db/trial_schema.h"
#include "demo/station_generator.h"

#include <QElapsedTimer>

namespace {

bool positiveNumber(const QString& text, qint64 maximum, qint64* value) {
    bool ok = false;
    *value = text.toLongLong(&ok);
    return ok && *value >= 1 && *value <= maximum;
}

} // namespace

int demoDbCommand(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption days("days", QStringLiteral("產生的營業日數 (預設 62)"), "N", "62");
    const QCommandLineOption sales("sales-per-day",
                                   QStringLiteral("每個營業日平均交易筆數 (預設 300)"), "N", "300");
    const QCommandLineOption seed(
        "seed", QStringLiteral("亂數種子；同樣的種子產生同樣的資料 (預設 1)"), "N", "1");
    const QCommandLineOption lastDay(
        "last-day", QStringLiteral("最後一個營業日 yyyy/mm/dd (預設今天)"), QStringLiteral("日期"));
    const QCommandLineOption older("older",
                                   QStringLiteral("建立舊版資料表 (缺少折讓與進油單價欄位)"));
    const QCommandLineOption invoiceRange(
        "invoice-range",
        QStringLiteral("每個發票字軌範圍的張數，250 的倍數 (預設約為一天的二聯式發票)"), "N");
    const QCommandLineOption replace("replace",
                                     QStringLiteral("刪除資料庫中現有的站務資料表後重建"));
    const CommandSyntax syntax{
        QStringLiteral("tolvar demo-db [選項]"),
        QStringLiteral(
            "在 config.ini 指向的 pos_data 資料庫建立站務資料表，並產生示範加油站的資料。"),
        {},
        {days, sales, seed, lastDay, older, replace, invoiceRange},
        {}};
    if (const int r = parse(parser, args, syntax); r >= 0) return r;
    DemoOptions options;
    qint64 n = 0;
    if (!positiveNumber(parser.value(days), 3660, &n))
        return fail(ExitUsage, QStringLiteral("--days 必須是 1 到 3660 的整數"));
    options.days = int(n);
    if (!positiveNumber(parser.value(sales), 100000, &n))
        return fail(ExitUsage, QStringLiteral("--sales-per-day 必須是 1 到 100000 的整數"));
    options.salesPerDay = int(n);
    if (parser.isSet(invoiceRange)) {
        if (!positiveNumber(parser.value(invoiceRange), 1000000, &n) || n % 250 != 0)
            return fail(ExitUsage,
                        QStringLiteral("--invoice-range 必須是 250 的倍數，最多 1000000"));
        options.invoiceRangeNumbers = int(n);
    }
    bool ok = false;
    options.seed = parser.value(seed).toULongLong(&ok);
    if (!ok) return fail(ExitUsage, QStringLiteral("--seed 必須是非負整數"));
    if (parser.isSet(lastDay)) {
        options.lastDay = QDate::fromString(parser.value(lastDay), QStringLiteral("yyyy/MM/dd"));
        if (!options.lastDay.isValid())
            return fail(ExitUsage, QStringLiteral("--last-day「%1」不是 yyyy/mm/dd 格式的日期")
                                       .arg(parser.value(lastDay)));
    }

    DataModule dm;
    dm.DataModuleCreate(); // a new database has no set_system yet: only the connection counts
    try {
        dm.cn.connect();
        Query existing(dm.cn);
        existing.setSql(
            QStringLiteral("select tablename from pg_tables where schemaname = current_schema() "
                           "and tablename in ('%1')")
                .arg(trialTableNames().join("','")));
        existing.open();
        if (!existing.isEmpty() && !parser.isSet(replace))
            return fail(
                ExitFailed,
                QStringLiteral("資料庫 %1 已有站務資料表 (%2 個)；要刪除後重建請加 --replace")
                    .arg(dm.cn.settings().database)
                    .arg(existing.recordCount()));
        QElapsedTimer clock;
        clock.start();
        ConsoleProgress progress(QStringLiteral("產生示範資料"));
        progress.begin();
        Transaction transaction(dm.cn);
        dropTrialTables(dm.cn);
        createTrialTables(dm.cn);
        CopyLoader loader(dm.cn);
        const DemoSummary summary = generateDemoStation(options, loader, progress);
        loader.finish();
        if (parser.isSet(older)) { // as a station from before the discount and price columns
            dm.cn.exec(QStringLiteral(
                "alter table cust_unit drop column discount_g, drop column discount_d"));
            dm.cn.exec(QStringLiteral("alter table oil_change drop column in_price"));
        }
        transaction.commit();
        progress.end();
        dm.cn.exec(QStringLiteral("analyze"));
        out() << QStringLiteral("示範加油站已建立：%1 個營業日，%2 班，%3 筆交易，%4 "
                                "筆交易明細，共 %5 列，%6 秒\n")
                     .arg(options.days)
                     .arg(summary.shifts)
                     .arg(summary.sales)
                     .arg(summary.salesLines)
                     .arg(summary.rows)
                     .arg(clock.elapsed() / 1000.0, 0, 'f', 1);
    } catch (const DbError& e) {
        return fail(ExitFailed, e.message());
    }
    return ExitOk;
}
