// The program's one connection to the station database, over libpq: opened on demand by
// the first statement, closed by each screen, traced to the SQL monitor.
#pragma once

#include "db/column.h"
#include "db/table_info.h"
#include "db/text_codec.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct pg_conn;
struct pg_result;
class Query;
class SqlMonitor;
struct TraceEvent;

struct PgResultDeleter {
    void operator()(pg_result* result) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultDeleter>;

struct ConnectionSettings {
    QString host;
    int port = 5432;
    QString database = QStringLiteral("pos_data");
    QString user = QStringLiteral("sa");
    // Empty: libpq's PGPASSWORD or ~/.pgpass supplies it. PGPASSWORD, when set, wins.
    QString password;
    int connectTimeoutSeconds = 10;
};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    ConnectionSettings& settings() { return settings_; }
    const ConnectionSettings& settings() const { return settings_; }

    // Opens the server connection and runs `afterConnect`. Does nothing when open. Throws
    // DbError with the server's message when the server cannot be reached or refuses.
    void connect();
    // Closes every open query of the connection, then the server connection; temporary
    // tables vanish with it. Does nothing when closed. A transaction begun by begin() and not
    // yet ended is lost with the server connection: until rollback() or commit() ends it, the
    // statements meant for it fail instead of running on a new connection by themselves.
    void disconnect();
    bool connected() const { return conn_ != nullptr; }
    // True when open and the server answers a trivial request. Never throws; a connection
    // found lost is closed, so the next statement connects again.
    bool ping() noexcept;
    // Looks at what has arrived from the server, without a round trip: a connection that the
    // server has ended meanwhile (restarted, or the session terminated) is closed here, so
    // that the next statement connects again instead of failing on it. Called when the user
    // starts an action. Never throws.
    void forgetIfClosedByServer() noexcept;

    // Runs after every successful connect.
    std::function<void()> afterConnect;

    void setMonitor(SqlMonitor* monitor) { monitor_ = monitor; }
    SqlMonitor* monitor() const { return monitor_; }

    // The text conversion of this connection: Big5 on the station's SQL_ASCII database,
    // UTF-8 on a database of another server encoding.
    const TextCodec& codec() const { return codec_; }
    // Whether the server reads backslashes in '...' literally (standard_conforming_strings).
    bool standardStrings() const;
    // The server's encoding name ("SQL_ASCII", "UTF8"), empty when closed.
    QString serverEncoding() const;
    // The server's version, e.g. 150008; 0 when closed.
    int serverVersion() const;

    // Runs `sql`, which has no parameters, connecting first when closed. Returns the number
    // of rows it affected. Throws DbError carrying the server's message.
    qint64 exec(const QString& sql);
    // Runs the statement `bytes` (already in the connection's encoding) and returns its
    // result, connecting first when closed; the trace shows `bytes` decoded. Throws
    // DbError carrying the server's message; a lost connection is closed, so the next
    // statement connects again.
    PgResult run(const QByteArray& bytes);
    // Runs the statement `bytes` as run() does, but hands each of its rows to `row` as a
    // result of one row (dropped when `row` is empty) instead of gathering them, and waits
    // for the server without blocking the caller: `waiting`, when set, is called about every
    // 50 ms while the statement runs, and when it returns false the server is asked to cancel
    // the statement, which then fails with SQLSTATE 57014. With `rowsRequired`, a statement
    // that returns no rows is refused (DbError) before it runs. Returns the statement's last
    // result: its columns and its command tag, without rows. Throws DbError as run() does;
    // what `row` or `waiting` throws cancels the statement and is thrown once it has ended.
    PgResult stream(const QByteArray& bytes, bool rowsRequired,
                    const std::function<void(PgResult)>& row, const std::function<bool()>& waiting);
    // True while stream() runs a statement: any other statement on the connection is refused
    // (DbError) until it ends, and the keep-alive leaves the connection alone.
    bool busy() const { return busy_; }

    // Copies `data`, rows in COPY text form in the connection's encoding, into `table`.
    void copyIn(const QString& table, const QStringList& columns, const QByteArray& data);
    // Statements sent to the server so far (queries, writes, COPY, BEGIN, COMMIT, ROLLBACK;
    // failed ones too, the keep-alive not): the round trips a piece of work cost.
    qint64 statementsSent() const { return statementsSent_; }

    // A transaction around writes that stand or fall together, or around the reads of a
    // build that must see one snapshot (RepeatableRead). begin() in a transaction, commit()
    // and rollback() without one throw DbError.
    //
    // A connection lost while a transaction is open (the transaction begun here, or one a
    // statement sent as it stands began) takes the transaction with it: the server undoes
    // it. The next statement then throws DbError::lost saying so, rather than running on a
    // new connection outside the transaction; for a transaction begun here every statement
    // does until rollback() ends it (rollback() then sends nothing and succeeds, commit()
    // throws).
    enum class Isolation { ReadCommitted, RepeatableRead };
    void begin(Isolation isolation = Isolation::ReadCommitted);
    void commit();
    void rollback();
    bool inTransaction() const { return inTransaction_; }
    // True when the server holds a transaction block open on this connection: one begun by
    // begin(), or by a statement sent as it stands (a BEGIN run in the SQL console).
    bool serverTransactionOpen() const;

    // The table with oid `table`, read from the catalogue once per connect.
    const TableInfo& tableInfo(PgOid table);

    // Queries register themselves so that disconnect() can close them.
    void attach(Query* query);
    void detach(Query* query);

private:
    void trace(const TraceEvent& event) const;
    void traceStatement(const QString& text, int code = 0, const QString& error = {}) const;
    [[noreturn]] void fail(const QString& text, pg_result* result);
    void lose(const QString& why);
    void noteTransactionState();
    void checkTransactionAlive();
    void setUpSession();
    void transactionStatement(const char* statement);
    void checkIdle() const;
    pg_result* collect(const QString& text, const std::function<void(PgResult)>& row,
                       const std::function<bool()>& waiting, bool& cancelled);

    ConnectionSettings settings_;
    pg_conn* conn_ = nullptr;
    TextCodec codec_;
    SqlMonitor* monitor_ = nullptr;
    bool inTransaction_ = false;
    bool busy_ = false;
    // Whether the server held a transaction open when the last statement was sent.
    bool serverTransactionBefore_ = false;
    // Why a transaction was lost with its connection; empty when none was.
    QString lostTransaction_;
    qint64 statementsSent_ = 0;
    QHash<PgOid, TableInfo> tables_;
    std::vector<Query*> queries_;
};

// Begins a transaction on creation and rolls it back on destruction unless commit() ran.
// Created while a transaction runs, it joins that one: its commit() and destruction do
// nothing, and the outer transaction decides (a build's writes inside a report's snapshot).
class Transaction {
public:
    explicit Transaction(Connection& cn,
                         Connection::Isolation isolation = Connection::Isolation::ReadCommitted);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection& cn_;
    bool joined_ = false;
    bool done_ = false;
};
