#include "db/sql_monitor.h"

#include "db/text_codec.h"

#include <QFile>
#include <cerrno>

namespace {

QString categoryName(TraceCategory category) {
    switch (category) {
    case TraceCategory::Connect:
        return QStringLiteral("Connect");
    case TraceCategory::Disconnect:
        return QStringLiteral("Disconnect");
    case TraceCategory::Transaction:
        return QStringLiteral("Transaction");
    case TraceCategory::Execute:
        return QStringLiteral("Execute");
    case TraceCategory::Other:
        break;
    }
    return QStringLiteral("Other");
}

QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

QString formatTraceLine(const TraceEvent& event) {
    QString line = event.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    line += QStringLiteral(" cat: ") + categoryName(event.category);
    if (!event.protocol.isEmpty()) line += QStringLiteral(", proto: ") + event.protocol;
    line += QStringLiteral(", msg: ") + oneLine(event.message);
    if (event.errorCode != 0 || !event.errorText.isEmpty())
        line += QStringLiteral(", errcode: ") + QString::number(event.errorCode) +
                QStringLiteral(", error: ") + oneLine(event.errorText);
    return line;
}

void SqlMonitor::trace(const TraceEvent& event) {
    events_.push_back(event);
    while (events_.size() > maxEvents)
        events_.pop_front();
    if (!active_ || !autoSave_ || fileName_.isEmpty()) return;
    static const TextCodec big5;
    const QByteArray line = big5.encodeLossy(formatTraceLine(event)) + "\r\n";
    QFile file(fileName_);
    QString problem;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        problem = file.errorString();
    } else {
        const qint64 before = file.size();
        if (file.write(line) != line.size()) {
            problem =
                file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(ENOSPC);
            file.resize(before); // no half line: the file keeps the lines it had
        }
    }
    if (problem.isEmpty()) {
        fileFailing_ = false;
        return;
    }
    if (fileFailing_) return;
    fileFailing_ = true;
    if (onFileError)
        onFileError(QStringLiteral("無法寫入 SQL 追蹤檔「%1」：%2。追蹤檔暫停寫入，工作照常進行。")
                        .arg(fileName_, problem));
}
