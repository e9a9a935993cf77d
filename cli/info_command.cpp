// tolvar info: where the program connects, the station's settings, and whether it is reachable.
#include "app/data_module.h"
#include "build_settings.h"
#include "cli/command_line.h"
#include "cli/command_support.h"
#include "cli/commands.h"

#include <QFileInfo>

int infoCommand(const QStringList& args) {
    QCommandLineParser parser;
    const CommandSyntax syntax{
        QStringLiteral("tolvar info"),
        QStringLiteral("顯示資料庫連線目標、站台設定，以及資料庫是否可連線。"),
        {},
        {},
        {}};
    if (const int r = parse(parser, args, syntax); r >= 0) return r;
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
