#include "cli/command_line.h"

#include "cli/command_support.h"
#include "cli/commands.h"

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
        "  invoice trial|media --from yyyy/mm --to yyyy/mm\n"
        "             發票試算，或寫出報稅的發票媒體檔 (media 可加 --out 檔案)\n"
        "  help       顯示這個說明\n"
        "\n"
        "每個指令加 --help 顯示它的選項。結束碼: 0 成功，1 資料庫或檔案錯誤，2 參數錯誤。\n");
}

int runCommandLine(const QStringList& args) {
    const QString command = args.value(1);
    const QStringList rest = QStringList{args.value(0) + QLatin1Char(' ') + command} + args.mid(2);
    if (command == QLatin1String("info")) return infoCommand(rest);
    if (command == QLatin1String("demo-db")) return demoDbCommand(rest);
    if (command == QLatin1String("report")) return reportCommand(rest);
    if (command == QLatin1String("stock")) return stockCommand(rest);
    if (command == QLatin1String("invoice")) return invoiceCommand(rest);
    if (command == QLatin1String("help") || command == QLatin1String("--help") ||
        command == QLatin1String("-h")) {
        out() << commandLineHelp();
        return ExitOk;
    }
    out() << commandLineHelp();
    return fail(ExitUsage, QStringLiteral("不認得的指令「%1」").arg(command));
}
