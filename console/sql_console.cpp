#include "console/sql_console.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/sql_params.h"

#include <QRegularExpression>

namespace console {

namespace {

const QString queryFailed = QStringLiteral("查詢錯誤...");
const QString executeFailed = QStringLiteral("執行錯誤...");
const QString cancelState = QStringLiteral("57014");

QString transactionNote(const Query& qy) {
    const Connection* cn = qy.connection();
    if (!cn || !cn->serverTransactionOpen() || cn->inTransaction()) return {};
    return QStringLiteral("　交易進行中：請以 COMMIT 或 ROLLBACK 結束");
}

} // namespace

QString caption() {
    const QString word = QString::fromLatin1(accessWord);
    return word.left(1).toUpper() + word.mid(1).toLower() + QStringLiteral(" 作業");
}

QString firstLine() {
    return QStringLiteral("Select * From      LIMIT 10 OFFSET 0");
}

QString templateLine(Command command) {
    switch (command) {
    case Command::Select:
        return QStringLiteral("SELECT table_column1, table_column2 FROM table_name ");
    case Command::Update:
        return QStringLiteral("UPDATE table_name SET column1=value1, column2=value2 WHERE  ");
    case Command::Insert:
        return QStringLiteral(
            "INSERT INTO table_name (column1, column2) VALUES (value1, value2)  ");
    case Command::Delete:
        return QStringLiteral("DELETE FROM table_name WHERE column_name operator value  ");
    case Command::Other:
        break;
    }
    return {};
}

QString tableListSql() {
    return QStringLiteral("SELECT tablename FROM pg_tables where tablename not like 'pg_%' and "
                          "tablename not like 'sql_%' ");
}

QString tableLine(const QString& table) {
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_$]*$"));
    const QString name = plain.match(table).hasMatch() ? table : quoteIdentifier(table);
    return QStringLiteral("Select * From ") + name + QStringLiteral(" LIMIT 10 OFFSET 0 ");
}

Outcome run(Query& qy, Command command, const QString& line,
            const std::function<bool(qint64 rows)>& running) {
    const bool rows = command == Command::Select;
    qy.close();
    if (line.trimmed().isEmpty())
        return {Outcome::Kind::NoCommand, QStringLiteral("游標所在的這一行沒有指令..."), {}};
    bool stopAsked = false;
    try {
        // The line goes to the server as typed: no parameters looked for, nothing added
        // but the one blank.
        const QString statement = line + QLatin1Char(' ');
        Connection* cn = qy.connection();
        if (!cn) throw DbError(QStringLiteral("查詢沒有資料庫連線"));
        cn->forgetIfClosedByServer();
        cn->connect();
        try {
            cn->codec().encode(statement);
        } catch (const DbError& unencodable) {
            return {Outcome::Kind::Failed, unencodable.message(), {}};
        }
        qy.setParamCheck(false);
        qy.setRowLimit(rowLimit);
        qy.whileRunning = [&](qint64 received) {
            if (running && !running(received)) stopAsked = true;
            return !stopAsked;
        };
        qy.setSql(statement);
        if (rows) {
            qy.open();
            qy.whileRunning = nullptr;
            const qint64 returned = qy.rowsReturned();
            QString note = QStringLiteral("共 %1 筆").arg(returned);
            if (returned > qy.recordCount())
                note += QStringLiteral("，只顯示前 %1 筆；請以 WHERE 或 LIMIT 縮小範圍")
                            .arg(qy.recordCount());
            return {Outcome::Kind::Rows, {}, note + transactionNote(qy)};
        }
        qy.execute();
        qy.whileRunning = nullptr;
        return {Outcome::Kind::Done,
                {},
                QStringLiteral("執行完成：") + qy.commandStatus() + transactionNote(qy)};
    } catch (const DbError& error) {
        qy.whileRunning = nullptr;
        qy.close();
        if (stopAsked && error.sqlState() == cancelState)
            return {Outcome::Kind::Stopped,
                    {},
                    QStringLiteral("已停止，指令沒有完成") + transactionNote(qy)};
        // A lost connection is no fault of the statement: the server's text says what became
        // of it (and of a transaction it was in), and the next run connects again.
        const QString failed = rows ? queryFailed : executeFailed;
        if (error.connectionLost())
            return {Outcome::Kind::Failed,
                    failed + QStringLiteral("\n與資料庫的連線中斷：") + error.message(),
                    transactionNote(qy)};
        return {Outcome::Kind::Failed, failed, transactionNote(qy)};
    }
}

} // namespace console
