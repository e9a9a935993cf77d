#include "cli/command_support.h"

#include "cli/command_line.h"

#include <QRegularExpression>
#include <cstdio>

namespace {

// Columns a text takes on a terminal: a Chinese character takes two.
int displayWidth(const QString& text) {
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return width;
}

QString twoColumns(const QList<QPair<QString, QString>>& rows) {
    int widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, displayWidth(row.first));
    QString text;
    for (const auto& row : rows)
        text += QStringLiteral("  %1%2  %3\n")
                    .arg(row.first, QString(widest - displayWidth(row.first), QLatin1Char(' ')),
                         row.second);
    return text;
}

// QCommandLineParser's own messages, in the program's language.
QString parserError(const QCommandLineParser& parser) {
    const QString text = parser.errorText();
    static const struct {
        const char* pattern;
        const char* message;
    } known[] = {
        {"^Unknown options?:? '?([^']*)'?\\.?$", "不認得的選項：%1"},
        {"^Missing value after '([^']*)'\\.?$", "選項 %1 缺少值"},
        {"^Unexpected value after '([^']*)'\\.?$", "選項 %1 不接受值"},
    };
    for (const auto& k : known) {
        const QRegularExpressionMatch m =
            QRegularExpression(QString::fromLatin1(k.pattern)).match(text);
        if (m.hasMatch()) return QString::fromUtf8(k.message).arg(m.captured(1));
    }
    return text;
}

QCommandLineOption helpOption() {
    return QCommandLineOption({"h", "help"}, QStringLiteral("顯示這個說明"));
}

} // namespace

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

int fail(int status, const QString& message) {
    out().flush();
    std::fprintf(stderr, "tolvar: %s\n", message.simplified().toUtf8().constData());
    return status;
}

QString helpText(const CommandSyntax& syntax) {
    QString text = QStringLiteral("用法: %1\n").arg(syntax.usage);
    if (!syntax.description.isEmpty()) text += syntax.description + QLatin1Char('\n');
    if (!syntax.arguments.isEmpty())
        text += QStringLiteral("\n參數:\n") + twoColumns(syntax.arguments);
    QList<QPair<QString, QString>> rows;
    for (const QCommandLineOption& o : syntax.options + QList<QCommandLineOption>{helpOption()}) {
        QStringList names;
        for (const QString& n : o.names())
            names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        QString name = names.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty()) name += QLatin1Char(' ') + o.valueName();
        rows.append({name, o.description()});
    }
    text += QStringLiteral("\n選項:\n") + twoColumns(rows);
    if (!syntax.footer.isEmpty()) text += QLatin1Char('\n') + syntax.footer;
    return text;
}

int parseError(const QCommandLineParser& parser) {
    return fail(ExitUsage, parserError(parser));
}

int parse(QCommandLineParser& parser, const QStringList& args, const CommandSyntax& syntax) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(syntax.options);
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    if (!parser.parse(args)) return fail(ExitUsage, parserError(parser));
    if (parser.isSet(help)) {
        out() << helpText(syntax);
        return ExitOk;
    }
    if (parser.positionalArguments().size() > 1)
        return fail(
            ExitUsage,
            QStringLiteral("多餘的參數：%1").arg(parser.positionalArguments().mid(1).join(' ')));
    return -1;
}
