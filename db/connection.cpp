#include "db/connection.h"

#include "db/db_error.h"
#include "db/query.h"
#include "db/sql_monitor.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <libpq-fe.h>
#include <poll.h>

namespace {

const QString protocol = QStringLiteral("postgresql");

QString trimmedMessage(const QString& message) {
    return message.trimmed();
}

// The server's notices ("table ... does not exist, skipping") go to the trace, not stderr.
void noticeToTrace(void* connection, const char* message) {
    auto* cn = static_cast<Connection*>(connection);
    if (SqlMonitor* monitor = cn->monitor())
        monitor->trace({QDateTime::currentDateTime(),
                        TraceCategory::Other,
                        protocol,
                        trimmedMessage(cn->codec().decode(QByteArray(message))),
                        0,
                        {}});
}

// Waits at most `ms` milliseconds for the server's answer to arrive.
void awaitSocket(pg_conn* conn, int ms) {
    pollfd socket{PQsocket(conn), POLLIN, 0};
    if (socket.fd >= 0) ::poll(&socket, 1, ms);
}

// Asks the server to stop the statement now running; it then ends with SQLSTATE 57014, or
// normally when it was done first.
void cancelStatement(pg_conn* conn) {
    if (PGcancel* cancel = PQgetCancel(conn)) {
        char error[256];
        PQcancel(cancel, error, sizeof error);
        PQfreeCancel(cancel);
    }
}

// The error of a statement meant for a transaction that was lost with its connection.
QString lostTransactionMessage(const QString& why) {
    return QStringLiteral("與資料庫的連線在交易進行中中斷，這個交易沒有完成，資料庫已復原交易中的"
                          "變更。\n") +
           why;
}

// Sets a flag for as long as it lives.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
    ~Raised() { flag_ = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
};

} // namespace

void PgResultDeleter::operator()(pg_result* result) const {
    PQclear(result);
}

Connection::Connection() = default;

Connection::~Connection() {
    disconnect();
    for (Query* q : queries_)
        q->connectionGone();
}

void Connection::trace(const TraceEvent& event) const {
    if (monitor_) monitor_->trace(event);
}

void Connection::traceStatement(const QString& text, int code, const QString& error) const {
    trace({QDateTime::currentDateTime(), TraceCategory::Execute, protocol, text, code, error});
}

void Connection::connect() {
    if (conn_) return;
    checkTransactionAlive();
    const QByteArray host = settings_.host.toUtf8();
    const QByteArray port = QByteArray::number(settings_.port);
    const QByteArray db = settings_.database.toUtf8();
    const QByteArray user = settings_.user.toUtf8();
    const QByteArray password = settings_.password.toUtf8();
    const QByteArray timeout = QByteArray::number(settings_.connectTimeoutSeconds);
    // Every statement commits by itself at read committed; dates and times come back in ISO
    // form and floating-point numbers exactly, whatever the server's defaults. Keep-alives
    // and the user timeout turn a vanished network into an error instead of a frozen window.
    const char* keys[] = {"host",
                          "port",
                          "dbname",
                          "user",
                          "password",
                          "connect_timeout",
                          "application_name",
                          "options",
                          "keepalives",
                          "keepalives_idle",
                          "keepalives_interval",
                          "keepalives_count",
                          "tcp_user_timeout",
                          nullptr};
    const bool usePassword = !password.isEmpty() && qEnvironmentVariableIsEmpty("PGPASSWORD");
    const char* values[] = {host.isEmpty() ? nullptr : host.constData(),
                            port.constData(),
                            db.constData(),
                            user.constData(),
                            usePassword ? password.constData() : nullptr,
                            timeout.constData(),
                            "TOLVAR",
                            "-c default_transaction_isolation=read\\ committed -c datestyle=ISO "
                            "-c extra_float_digits=3",
                            "1",
                            "30",
                            "5",
                            "3",
                            "30000",
                            nullptr};
    pg_conn* conn = PQconnectdbParams(keys, values, 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString error = trimmedMessage(QString::fromLocal8Bit(PQerrorMessage(conn)));
        PQfinish(conn);
        trace({QDateTime::currentDateTime(), TraceCategory::Connect, protocol,
               QStringLiteral("CONNECT TO \"%1\" AS USER \"%2\"")
                   .arg(settings_.database, settings_.user),
               int(CONNECTION_BAD), error});
        throw DbError(error, {}, int(CONNECTION_BAD));
    }
    conn_ = conn;
    PQsetNoticeProcessor(conn_, noticeToTrace, this);
    tables_.clear();
    serverTransactionBefore_ = false;
    try {
        setUpSession();
    } catch (...) {
        PQfinish(conn_);
        conn_ = nullptr;
        throw;
    }
    if (afterConnect) afterConnect();
    trace(
        {QDateTime::currentDateTime(),
         TraceCategory::Connect,
         protocol,
         QStringLiteral("CONNECT TO \"%1\" AS USER \"%2\"").arg(settings_.database, settings_.user),
         0,
         {}});
}

void Connection::setUpSession() {
    // The station database is SQL_ASCII and holds raw Big5 bytes: no conversion may happen
    // on the way, so the client side stays SQL_ASCII too (a BIG5 client encoding would make
    // the server reject every high byte). Any other server encoding carries UTF-8.
    const QString server = serverEncoding();
    const char* wanted = server == QLatin1String("SQL_ASCII") ? "SQL_ASCII" : "UTF8";
    if (QString::fromLatin1(PQparameterStatus(conn_, "client_encoding")) != QLatin1String(wanted) &&
        PQsetClientEncoding(conn_, wanted) != 0)
        throw DbError(
            QStringLiteral("無法設定連線的字碼 %1：%2")
                .arg(wanted, trimmedMessage(QString::fromLocal8Bit(PQerrorMessage(conn_)))));
    codec_ = TextCodec(server == QLatin1String("SQL_ASCII") ? TextCodec::Encoding::Big5
                                                            : TextCodec::Encoding::Utf8);
}

void Connection::disconnect() {
    if (!conn_) return;
    for (Query* q : std::vector<Query*>(queries_))
        q->close();
    // A transaction still open goes with the server connection; its remaining statements
    // must not run on a new one by themselves.
    if (inTransaction_) lostTransaction_ = QStringLiteral("連線已被關閉");
    PQfinish(conn_);
    conn_ = nullptr;
    tables_.clear();
    serverTransactionBefore_ = false;
    trace({QDateTime::currentDateTime(),
           TraceCategory::Disconnect,
           protocol,
           QStringLiteral("DISCONNECT FROM \"%1\"").arg(settings_.database),
           0,
           {}});
}

void Connection::lose(const QString& why) {
    // The server undoes a transaction whose connection ends. Its remaining statements, or the
    // next statement after a transaction a typed BEGIN opened, must say so rather than run
    // by themselves on a new connection.
    if (inTransaction_ || serverTransactionBefore_) lostTransaction_ = why;
    PQfinish(conn_);
    conn_ = nullptr;
    tables_.clear();
    serverTransactionBefore_ = false;
    trace({QDateTime::currentDateTime(),
           TraceCategory::Other,
           protocol,
           QStringLiteral("CONNECTION LOST: ") + why,
           0,
           {}});
}

void Connection::noteTransactionState() {
    serverTransactionBefore_ = serverTransactionOpen();
}

void Connection::checkTransactionAlive() {
    if (lostTransaction_.isEmpty()) return;
    const QString why = lostTransaction_;
    // A transaction begun here stays lost until rollback() ends it; one a typed BEGIN
    // opened is reported once, and the statement after that connects again.
    if (!inTransaction_) lostTransaction_.clear();
    throw DbError::lost(lostTransactionMessage(why));
}

bool Connection::ping() noexcept {
    if (!conn_) return false;
    if (busy_) return true; // a statement is running: the server is evidently there
    noteTransactionState();
    PGresult* result = PQexec(conn_, "");
    const bool ok = result && PQresultStatus(result) == PGRES_EMPTY_QUERY;
    PQclear(result);
    if (PQstatus(conn_) == CONNECTION_BAD) {
        try {
            lose(trimmedMessage(codec_.decode(QByteArray(PQerrorMessage(conn_)))));
        } catch (...) {
            conn_ = nullptr;
        }
        return false;
    }
    return ok;
}

void Connection::forgetIfClosedByServer() noexcept {
    if (!conn_ || busy_) return;
    noteTransactionState();
    // A server that ends a session sends why and closes the socket: both are read here, the
    // message going to the trace as a notice, the end of the socket marking the connection
    // bad. Nothing arrived means nothing is known to be wrong.
    for (int reads = 0; reads < 4 && PQstatus(conn_) == CONNECTION_OK; ++reads) {
        pollfd socket{PQsocket(conn_), POLLIN, 0};
        if (socket.fd < 0 || ::poll(&socket, 1, 0) <= 0) return;
        if (!PQconsumeInput(conn_)) break;
        PQisBusy(conn_); // hands a message that arrived to the notice processor
    }
    if (PQstatus(conn_) != CONNECTION_BAD) return;
    try {
        lose(trimmedMessage(codec_.decode(QByteArray(PQerrorMessage(conn_)))));
    } catch (...) {
        PQfinish(conn_);
        conn_ = nullptr;
    }
}

bool Connection::standardStrings() const {
    if (!conn_) return true;
    const char* value = PQparameterStatus(conn_, "standard_conforming_strings");
    return !value || qstrcmp(value, "off") != 0;
}

QString Connection::serverEncoding() const {
    return conn_ ? QString::fromLatin1(PQparameterStatus(conn_, "server_encoding")) : QString();
}

bool Connection::serverTransactionOpen() const {
    if (!conn_) return false;
    const PGTransactionStatusType status = PQtransactionStatus(conn_);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR;
}

int Connection::serverVersion() const {
    return conn_ ? PQserverVersion(conn_) : 0;
}

void Connection::fail(const QString& text, pg_result* result) {
    const int status = result ? int(PQresultStatus(result)) : int(PGRES_FATAL_ERROR);
    const QString sqlState =
        result ? QString::fromLatin1(PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    const QString error = trimmedMessage(
        codec_.decode(QByteArray(result ? PQresultErrorMessage(result) : PQerrorMessage(conn_))));
    const QString connectionMessage =
        trimmedMessage(codec_.decode(QByteArray(PQerrorMessage(conn_))));
    QString message = error.isEmpty() ? connectionMessage : error;
    // A server that ends the session says why before it closes the socket; libpq keeps that
    // on the connection, while the statement's result holds only "server closed the
    // connection unexpectedly". The office must read the server's reason.
    if (PQstatus(conn_) == CONNECTION_BAD && connectionMessage.size() > message.size() &&
        connectionMessage.contains(message))
        message = connectionMessage;
    PQclear(result);
    traceStatement(text, status, message);
    if (PQstatus(conn_) == CONNECTION_BAD) {
        lose(message);
        throw DbError::lost(message, sqlState, status);
    }
    throw DbError(message, sqlState, status);
}

void Connection::checkIdle() const {
    if (busy_) throw DbError(QStringLiteral("資料庫連線正在執行另一個指令，請等它結束"));
}

PgResult Connection::run(const QByteArray& bytes) {
    connect();
    checkIdle();
    noteTransactionState();
    const QString text = codec_.decode(bytes);
    // The extended protocol runs exactly one statement: nothing in a value can add another.
    ++statementsSent_;
    PGresult* result =
        PQexecParams(conn_, bytes.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY)
        fail(text, result);
    traceStatement(text);
    return PgResult(result);
}

pg_result* Connection::collect(const QString& text, const std::function<void(PgResult)>& row,
                               const std::function<bool()>& waiting, bool& cancelled) {
    PGresult* last = nullptr;
    PGresult* error = nullptr;
    std::exception_ptr thrown;
    bool copied = false;
    QElapsedTimer since;
    since.start();
    auto cancel = [&] {
        if (cancelled) return;
        cancelled = true;
        cancelStatement(conn_);
    };
    auto idle = [&] {
        if (!waiting || cancelled || since.elapsed() < 50) return;
        since.restart();
        try {
            if (!waiting()) cancel();
        } catch (...) {
            thrown = std::current_exception();
            cancel();
        }
    };
    for (;;) {
        while (PQisBusy(conn_)) {
            awaitSocket(conn_, 50);
            if (!PQconsumeInput(conn_)) break; // PQgetResult reports the failure
            idle();
        }
        PGresult* result = PQgetResult(conn_);
        if (!result) break;
        switch (PQresultStatus(result)) {
        case PGRES_SINGLE_TUPLE:
            if (row && !thrown) {
                try {
                    row(PgResult(result));
                } catch (...) {
                    thrown = std::current_exception();
                    cancel();
                }
            } else {
                PQclear(result);
            }
            idle();
            break;
        case PGRES_TUPLES_OK:
        case PGRES_COMMAND_OK:
        case PGRES_EMPTY_QUERY:
            PQclear(last);
            last = result;
            break;
        case PGRES_COPY_IN:
        case PGRES_COPY_OUT:
        case PGRES_COPY_BOTH: {
            // A COPY to or from this program: ended at once, or libpq would hand back the
            // same COPY result for ever. Data coming in is read and dropped until it stops.
            const bool in = PQresultStatus(result) == PGRES_COPY_IN;
            PQclear(result);
            copied = true;
            if (in) {
                PQputCopyEnd(conn_, "COPY FROM STDIN is not taken here");
            } else {
                cancel();
                char* data = nullptr;
                while (PQgetCopyData(conn_, &data, 0) > 0)
                    PQfreemem(data);
            }
            break;
        }
        default:
            if (error)
                PQclear(result);
            else
                error = result;
        }
    }
    if (thrown) {
        PQclear(last);
        PQclear(error);
        std::rethrow_exception(thrown);
    }
    if (copied) {
        PQclear(last);
        PQclear(error);
        const QString refused = QStringLiteral("以 COPY 經由本程式傳送資料的指令不能在這裡執行");
        traceStatement(text, int(PGRES_FATAL_ERROR), refused);
        throw DbError(refused, {}, int(PGRES_FATAL_ERROR));
    }
    if (error) {
        PQclear(last);
        fail(text, error);
    }
    if (!last) fail(text, nullptr);
    return last;
}

PgResult Connection::stream(const QByteArray& bytes, bool rowsRequired,
                            const std::function<void(PgResult)>& row,
                            const std::function<bool()>& waiting) {
    connect();
    checkIdle();
    noteTransactionState();
    const Raised busy(busy_);
    const QString text = codec_.decode(bytes);
    bool cancelled = false;
    auto refuse = [&](const QString& why, const QString& sqlState) {
        traceStatement(text, int(PGRES_FATAL_ERROR), why);
        throw DbError(why, sqlState, int(PGRES_FATAL_ERROR));
    };
    ++statementsSent_;
    if (rowsRequired) {
        // Prepared and described first: a statement without rows never runs, so nothing is
        // written by a statement the caller could only report as failed.
        if (!PQsendPrepare(conn_, "", bytes.constData(), 0, nullptr)) fail(text, nullptr);
        PgResult prepared(collect(text, {}, waiting, cancelled));
        if (!PQsendDescribePrepared(conn_, "")) fail(text, nullptr);
        PgResult described(collect(text, {}, waiting, cancelled));
        if (cancelled) refuse(QStringLiteral("指令已中止"), QStringLiteral("57014"));
        if (PQnfields(described.get()) == 0)
            refuse(QStringLiteral("這個指令不傳回資料列，不能開啟查詢"), {});
        if (!PQsendQueryPrepared(conn_, "", 0, nullptr, nullptr, nullptr, 0)) fail(text, nullptr);
    } else if (!PQsendQueryParams(conn_, bytes.constData(), 0, nullptr, nullptr, nullptr, nullptr,
                                  0)) {
        fail(text, nullptr);
    }
    PQsetSingleRowMode(conn_);
    PgResult last(collect(text, row, waiting, cancelled));
    traceStatement(text);
    return last;
}

qint64 Connection::exec(const QString& sql) {
    connect();
    PgResult result = run(codec_.encode(sql));
    return QByteArray(PQcmdTuples(result.get())).toLongLong();
}

void Connection::copyIn(const QString& table, const QStringList& columns, const QByteArray& data) {
    connect();
    checkIdle();
    noteTransactionState();
    const QString text = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(","));
    ++statementsSent_;
    PGresult* start = PQexec(conn_, codec_.encode(text).constData());
    if (!start || PQresultStatus(start) != PGRES_COPY_IN) fail(text, start);
    PQclear(start);
    constexpr qsizetype chunk = 1 << 20;
    bool sent = true;
    for (qsizetype at = 0; sent && at < data.size(); at += chunk)
        sent = PQputCopyData(conn_, data.constData() + at,
                             int(std::min(chunk, data.size() - at))) == 1;
    if (PQputCopyEnd(conn_, sent ? nullptr : "send failed") != 1 || !sent) fail(text, nullptr);
    PgResult last;
    while (PGresult* r = PQgetResult(conn_)) {
        if (PQresultStatus(r) != PGRES_COMMAND_OK) {
            while (PGresult* rest = PQgetResult(conn_))
                PQclear(rest);
            fail(text, r);
        }
        last.reset(r);
    }
    traceStatement(text + QStringLiteral(" (%1 bytes)").arg(data.size()));
}

void Connection::transactionStatement(const char* statement) {
    checkIdle();
    noteTransactionState();
    ++statementsSent_;
    PGresult* result = PQexec(conn_, statement);
    if (!result || PQresultStatus(result) != PGRES_COMMAND_OK)
        fail(QString::fromLatin1(statement), result);
    PQclear(result);
    trace({QDateTime::currentDateTime(),
           TraceCategory::Transaction,
           protocol,
           QString::fromLatin1(statement),
           0,
           {}});
}

void Connection::begin(Isolation isolation) {
    if (inTransaction_) throw DbError(QStringLiteral("交易已經開始"));
    connect();
    transactionStatement(
        isolation == Isolation::RepeatableRead ? "BEGIN ISOLATION LEVEL REPEATABLE READ" : "BEGIN");
    inTransaction_ = true;
}

void Connection::commit() {
    if (!inTransaction_) throw DbError(QStringLiteral("沒有進行中的交易"));
    inTransaction_ = false;
    if (!conn_) { // lost with its connection: nothing of it stands
        const QString why = lostTransaction_;
        lostTransaction_.clear();
        throw DbError::lost(lostTransactionMessage(why));
    }
    transactionStatement("COMMIT");
}

void Connection::rollback() {
    if (!inTransaction_) throw DbError(QStringLiteral("沒有進行中的交易"));
    inTransaction_ = false;
    if (!conn_) { // the server undid it when the connection ended
        lostTransaction_.clear();
        return;
    }
    transactionStatement("ROLLBACK");
}

const TableInfo& Connection::tableInfo(PgOid table) {
    connect();
    auto found = tables_.find(table);
    if (found != tables_.end()) return *found;
    PgResult result = run(codec_.encode(tableInfoQuery(table)));
    TableInfo info;
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        const int number = QByteArray(PQgetvalue(result.get(), r, 0)).toInt();
        info.columnName.insert(number, codec_.decode(QByteArray(PQgetvalue(result.get(), r, 1))));
        if (PQgetvalue(result.get(), r, 2)[0] == 't') info.primaryKey.append(number);
        info.qualifiedName = codec_.decode(QByteArray(PQgetvalue(result.get(), r, 3)));
    }
    if (info.qualifiedName.isEmpty())
        throw DbError(QStringLiteral("找不到資料表 (oid %1)").arg(table));
    return *tables_.insert(table, info);
}

void Connection::attach(Query* query) {
    queries_.push_back(query);
}

void Connection::detach(Query* query) {
    queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
}

Transaction::Transaction(Connection& cn, Connection::Isolation isolation)
    : cn_(cn), joined_(cn.inTransaction()) {
    if (!joined_) cn_.begin(isolation);
}

Transaction::~Transaction() {
    if (!joined_ && !done_ && cn_.inTransaction()) {
        try {
            cn_.rollback();
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    done_ = true;
    if (!joined_) cn_.commit();
}
