#include "cli/report_options.h"

#include "reports/common/date_basis.h"

#include <QCommandLineParser>

const QList<ReportOptionEntry>& reportOptionTable() {
    using S = ReportOptionEntry;
    static const QList<S> table = {
        {"from", "yyyy/mm/dd", "起始日期 (預設同畫面，多為本月一日)", &ReportOptions::from,
         S::Date},
        {"to", "yyyy/mm/dd", "終止日期 (預設同畫面，多為昨天)", &ReportOptions::to, S::Date},
        {"date", "yyyy/mm/dd", "報表日期 (預設今天)", &ReportOptions::date, S::Date},
        {"weather", "文字", "天氣 (預設 晴天)", &ReportOptions::weather},
        {"basis", "1|2", "日期類別: 1 交班日期、2 加油日期 (預設 1)", &ReportOptions::basis,
         S::Choice, "1|2"},
        {"car", "車號", "只列這部客戶車號 (完全相同)", &ReportOptions::car},
        {"company", "代號", "只列這家公司", &ReportOptions::company},
        {"card", "代號", "只列這張團體 U 卡", &ReportOptions::card},
        {"order", "1|2|3|none", "排序: 依報表為 1、2、3 或 none 不排序 (預設 1)",
         &ReportOptions::order, S::Choice, "1|2|3|none"},
        {"page-break", nullptr, "每組資料換頁", &ReportOptions::pageBreak, S::Flag},
        {"from-shift", "班次", "起始班次 (預設 1)", &ReportOptions::fromShift},
        {"to-shift", "班次", "終止班次 (預設最後一班)", &ReportOptions::toShift},
        {"tank", "NN", "只列這個油槽 (01 到 08；不指定: 全部油槽)", &ReportOptions::tank},
        {"stock", "1|2", "庫存: 1 計算存量、2 液面計量 (預設 1)", &ReportOptions::stock, S::Choice,
         "1|2"},
        {"product", "代號", "只列這項產品", &ReportOptions::product},
        {"gift", "代號", "只列這項贈品", &ReportOptions::gift},
        {"mode", "1|2", "方式: 1 明細、2 統計 (預設 1)", &ReportOptions::mode, S::Choice, "1|2"},
    };
    return table;
}

QCommandLineOption commandLineOption(const ReportOptionEntry& entry) {
    const QString name = QString::fromLatin1(entry.name);
    const QString help = QString::fromUtf8(entry.help);
    return entry.valueName ? QCommandLineOption(name, help, QString::fromUtf8(entry.valueName))
                           : QCommandLineOption(name, help);
}

QString readReportOptions(const QCommandLineParser& parser, const ReportDef& report,
                          ReportOptions& options) {
    options = defaultOptions(report, QDate::currentDate());
    if (report.options.contains(QStringLiteral("order"))) options.order = QStringLiteral("1");
    for (const ReportOptionEntry& entry : reportOptionTable()) {
        const QString name = QString::fromLatin1(entry.name);
        if (!parser.isSet(name)) continue;
        if (!report.options.contains(name))
            return QStringLiteral("%1 沒有 --%2 選項").arg(report.code, name);
        QString& field = options.*entry.field;
        if (entry.check == ReportOptionEntry::Flag) {
            field = QStringLiteral("Y");
            continue;
        }
        const QString value = parser.value(name);
        if (entry.check == ReportOptionEntry::Date && !parseDayText(value).isValid())
            return QStringLiteral("日期錯誤: '%1' 不是 yyyy/mm/dd 的日期").arg(value);
        if (entry.check == ReportOptionEntry::Choice) {
            const QStringList choices =
                report.choices.value(name, QString::fromLatin1(entry.choices))
                    .split(QLatin1Char('|'));
            if (!choices.contains(value))
                return QStringLiteral("--%1 只能是 %2 或 %3")
                    .arg(name, choices.mid(0, choices.size() - 1).join(QStringLiteral("、")),
                         choices.last());
        }
        field = value == QLatin1String("none") ? QString() : value;
    }
    return {};
}
