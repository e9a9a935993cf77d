#include "app/cli.h"

#include "app/cli_support.h"
#include "app/report_command.h"

#include "app/console_progress.h"
#include "app/data_module.h"
#include "build_settings.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "db/demo_data.h"
#include "db/trial_schema.h"
#include "reports/common/business_day.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace {

int info(const QStringList& args) {
    QCommandLineParser parser;
    if (const int r = parse(parser, args,
                            QStringLiteral("顯示資料庫連線目標、站台設定，以及資料庫是否可連線。"));
        r >= 0)
        return r;
    DataModule dm;
    const QString problem = dm.DataModuleCreate();
    const StartupConfig& config = dm.config();
    const ConnectionSettings& cs = dm.cn.settings();
    out() << "TOLVAR Ver " << TOLVAR_VERSION << "\n";
    out() << QStringLiteral("設定檔:   %1 (%2)\n")
                 .arg(QFileInfo(dm.configPath).absoluteFilePath(),
                      QFileInfo::exists(dm.configPath) ? QStringLiteral("已讀取")
                                                       : QStringLiteral("不存在，使用內建預設值"));
    out() << QStringLiteral("資料庫:   %1 埠 %2，資料庫 %3，使用者 %4\n")
                 .arg(cs.host.isEmpty() ? QStringLiteral("(本機)") : cs.host)
                 .arg(cs.port)
                 .arg(cs.database, cs.user);
    out() << QStringLiteral("SQL 追蹤: %1\n")
                 .arg(config.monitor == QLatin1String("Y")
                          ? QStringLiteral("開啟，寫入 %1").arg(dm.sqlm.fileName())
                          : QStringLiteral("關閉"));
    if (dm.cn.connected()) {
        out() << QStringLiteral("連線:     可連線 (PostgreSQL %1，伺服器編碼 %2)\n")
                     .arg(dm.cn.serverVersion() / 10000)
                     .arg(dm.cn.serverEncoding());
    } else {
        out() << QStringLiteral("連線:     無法連線\n");
    }
    out() << QStringLiteral("站名:     %1\n").arg(dm.settings.st_name);
    out() << QStringLiteral("統一編號: %1\n").arg(dm.settings.uid);
    out() << QStringLiteral("稅籍編號: %1\n").arg(dm.settings.tax_id);
    out() << QStringLiteral("稅率:     %1\n").arg(dm.settings.tax_rate);
    if (!problem.isEmpty()) return fail(ExitFailed, problem);
    return ExitOk;
}

bool positiveNumber(const QString& text, qint64 maximum, qint64* value) {
    bool ok = false;
    *value = text.toLongLong(&ok);
    return ok && *value >= 1 && *value <= maximum;
}

int demoDb(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption days("days", QStringLiteral("產生的營業日數 (預設 62)"), "N", "62");
    const QCommandLineOption sales("sales-per-day",
                                   QStringLiteral("每個營業日平均交易筆數 (預設 300)"), "N", "300");
    const QCommandLineOption seed(
        "seed", QStringLiteral("亂數種子；同樣的種子產生同樣的資料 (預設 1)"), "N", "1");
    const QCommandLineOption lastDay(
        "last-day", QStringLiteral("最後一個營業日 yyyy/mm/dd (預設今天)"), "DATE");
    const QCommandLineOption older("older",
                                   QStringLiteral("建立舊版資料表 (缺少折讓與進油單價欄位)"));
    const QCommandLineOption replace("replace",
                                     QStringLiteral("刪除資料庫中現有的站務資料表後重建"));
    parser.addOptions({days, sales, seed, lastDay, older, replace});
    if (const int r = parse(
            parser, args,
            QStringLiteral(
                "在 config.ini 指向的 pos_data 資料庫建立站務資料表，並產生示範加油站的資料。"));
        r >= 0)
        return r;
    DemoOptions options;
    qint64 n = 0;
    if (!positiveNumber(parser.value(days), 3660, &n))
        return fail(ExitUsage, QStringLiteral("--days 必須是 1 到 3660 的整數"));
    options.days = int(n);
    if (!positiveNumber(parser.value(sales), 100000, &n))
        return fail(ExitUsage, QStringLiteral("--sales-per-day 必須是 1 到 100000 的整數"));
    options.salesPerDay = int(n);
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

// The business-day key of `text`, a date as yyyy/mm/dd or a key as it stands; empty when it
// is neither.
QString startKeyOf(const QString& text) {
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    if (date.isValid())
        return date.year() > 1911 && date.year() < 2911 ? businessDayKey(date) : QString();
    return isBusinessDayKey(text) ? text : QString();
}

int stock(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption from(
        "from", QStringLiteral("起始營業日：yyyy/mm/dd 或七位數的營業日代號 (如 1130101)"), "DATE");
    parser.addOption(from);
    parser.addPositionalArgument(
        "recompute", QStringLiteral("自起始營業日起，重算每個油槽每一班的收油量與帳面、實測庫存"));
    if (const int r = parse(parser, args, QStringLiteral("油槽帳面庫存 (shift_03_tank)。")); r >= 0)
        return r;
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
                 .arg(clock.elapsed() / 1000.0, 0, 'f', 2);
    return ExitOk;
}

} // namespace

QString commandLineHelp() {
    return QStringLiteral(
        "用法: tolvar [指令] [選項]\n"
        "不加指令時開啟主畫面。指令在沒有視窗的情況下執行，使用工作目錄中的 config.ini。\n"
        "\n"
        "指令:\n"
        "  info       顯示資料庫連線目標、站台設定，以及資料庫是否可連線\n"
        "  demo-db    在 pos_data 建立站務資料表並產生示範加油站的資料\n"
        "  report     產生報表: 存成 PDF、列印，或轉出 EXCEL (SYLK) 檔\n"
        "  stock recompute --from yyyy/mm/dd\n"
        "             自該營業日起重算油槽帳面庫存 (收油量、帳面與實測庫存)\n"
        "  help       顯示這個說明\n"
        "\n"
        "每個指令加 --help 顯示它的選項。結束碼: 0 成功，1 資料庫或檔案錯誤，2 參數錯誤。\n");
}

int runCommandLine(const QStringList& args) {
    const QString command = args.value(1);
    const QStringList rest = QStringList{args.value(0) + QLatin1Char(' ') + command} + args.mid(2);
    if (command == QLatin1String("info")) return info(rest);
    if (command == QLatin1String("demo-db")) return demoDb(rest);
    if (command == QLatin1String("report")) return reportCommand(rest);
    if (command == QLatin1String("stock")) return stock(rest);
    if (command == QLatin1String("help") || command == QLatin1String("--help") ||
        command == QLatin1String("-h")) {
        out() << commandLineHelp();
        return ExitOk;
    }
    out() << commandLineHelp();
    return fail(ExitUsage, QStringLiteral("不認得的指令「%1」").arg(command));
}
