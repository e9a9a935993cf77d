#include "app/cli_support.h"

#include "app/cli.h"

#include <cstdio>

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

int fail(int status, const QString& message) {
    out().flush();
    std::fprintf(stderr, "tolvar: %s\n", message.simplified().toUtf8().constData());
    return status;
}

int parse(QCommandLineParser& parser, const QStringList& args, const QString& description) {
    parser.setApplicationDescription(description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, QStringLiteral("顯示這個說明"));
    parser.addOption(help);
    if (!parser.parse(args)) return fail(ExitUsage, parser.errorText());
    if (parser.isSet(help)) {
        out() << parser.helpText();
        return ExitOk;
    }
    if (parser.positionalArguments().size() > 1)
        return fail(
            ExitUsage,
            QStringLiteral("多餘的參數：%1").arg(parser.positionalArguments().mid(1).join(' ')));
    return -1;
}
