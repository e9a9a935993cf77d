// Faults a station meets next to its live point-of-sale system, brought about on purpose: the
// program's session ended by the server in the middle of work or between two actions, a server
// restart, a second session writing sales and shift rows as the point-of-sale system does,
// files that cannot be written, and input meant to change a statement.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

struct pg_conn;

namespace faults {

// --- The station

// A generated station whose last business day is `day` (2024/05/09), the two days before it
// and, for the invoices, a two-part range "ZZ00000000" to "ZZ00000249" filed under May whose
// numbers only the writer below issues.
inline const QDate day{2024, 5, 9};
// The business-day key of `date` ("1130509").
QString keyOf(const QDate& date);
// Dates as the screens show them.
QString dayText(const QDate& date);

// Recreates pos_data holding the station. The first call of a test program generates it; the
// later ones copy it, which takes a fraction of a second.
void resetStation();

// Every row of each table the program writes (shift_03_tank, cust_unit, oil_change, tran,
// tran_detl, and tIN010 when it exists) as text in a stable order, by table: what a failed
// action must leave as it found.
QMap<QString, QString> writtenTables();
// The tables of `before` whose rows differ now, with their row counts then and now; empty when
// none does.
QString changedTables(const QMap<QString, QString>& before);

// --- The program's session ended by the server

// Waits, on a thread of its own with a connection of its own, until the program's session
// (application name TOLVAR) is held up where the test arranged it, then ends that session with
// pg_terminate_backend, as an administrator or a dropped network does. Destroying it stops
// waiting and removes what held the session up, so the next action runs freely.
class SessionKiller {
public:
    // Holds `table` locked: the program's first statement that reads or writes it waits there.
    static std::unique_ptr<SessionKiller> whenReading(const QString& table);
    // Makes the program's next `event` (INSERT, UPDATE or DELETE) on `table` pause inside its
    // statement, after every earlier statement of its transaction ran.
    static std::unique_ptr<SessionKiller> whenWriting(const QString& table, const QString& event);
    // Ends the program's session when it runs pg_sleep (a statement typed into the console).
    static std::unique_ptr<SessionKiller> whenSleeping();
    ~SessionKiller();
    SessionKiller(const SessionKiller&) = delete;
    SessionKiller& operator=(const SessionKiller&) = delete;

    // Whether the session was ended, waiting up to `ms` for it.
    bool killed(int ms = 0) const;
    // What went wrong on the killer's side, empty when nothing did.
    QString problem() const;

private:
    SessionKiller(QString table, QString trigger);
    void run();

    QString table_;   // locked by this connection, or
    QString trigger_; // the name of the pausing trigger
    pg_conn* conn_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<bool> killed_{false};
    mutable std::mutex mutex_;
    QString problem_;
    std::thread thread_;
};

// Ends the program's sessions now and returns once the server has let them go: the program
// sits between two actions with a session the server has closed.
void killSessionsNow();
// Restarts the test cluster (TOLVAR_TEST_RESTART); false when that failed.
bool restartServer();
// The server's text for a session ended by pg_terminate_backend.
inline const QString terminatedText = QStringLiteral("terminating connection");

// --- A second session writing as the point-of-sale system does

// Each batch is one transaction of the point-of-sale system, committed at once: on the
// station's last day a charge sale, a group U-card sale with its discount line and a sale with
// a gift, each with its lines and the first of them with an invoice number of the ZZ range; a
// new shop good with its stock row and car-wash income; a new nozzle's meter row; an oil
// delivery; and, for the first nine batches, the closing rows (tank and money) of the next
// day's shift of that number. The first batch also opens a fourth shift on the last day (its
// number in the shift list and its meter rows). Every report of the station changes with every
// batch.
class PosWriter {
public:
    PosWriter();
    ~PosWriter();
    PosWriter(const PosWriter&) = delete;
    PosWriter& operator=(const PosWriter&) = delete;

    // Commits the next batch and returns once it is committed.
    void commitBatch();
    // Commits a batch every `intervalMs` on a thread of its own until stop(), watching meanwhile
    // whether the program's session waits on a lock.
    void start(int intervalMs = 3);
    void stop();

    int batches() const { return batches_; }
    // The longest a batch took from its start to its commit, in milliseconds.
    qint64 longestBatchMs() const { return longestBatch_; }
    // The longest the program's session was seen waiting on a lock, in milliseconds.
    qint64 longestLockWaitMs() const { return longestWait_; }
    // The writer's own errors (a deadlock, a statement refused); empty when none.
    QStringList errors() const;

private:
    void batch(int n);
    void watchLocks();

    pg_conn* conn_ = nullptr;
    pg_conn* watcher_ = nullptr;
    QString company_, car_, card_, cardCar_, gift_, fuel_, tankDigit_, tankCode_, shift_;
    std::atomic<int> batches_{0};
    std::atomic<qint64> longestBatch_{0};
    std::atomic<qint64> longestWait_{0};
    qint64 waitingSince_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    QStringList errors_;
    std::thread thread_;
};

// --- Hostile input

// Texts meant to change a statement or break a conversion, by name: quotes, backslashes, ";",
// "--", a statement after a ";", Big5 characters whose second byte is a backslash (許功蓋),
// characters Big5 cannot hold, NUL, line breaks, a 1,000-character text.
QMap<QString, QString> hostileTexts();

// Every "Execute" message of the trace file `path`, in order.
QStringList tracedStatements(const QString& path);
// Empty when `statement` holds `value` only inside string literals and has no ";", comment or
// unbalanced quote outside them: the value did not change the statement. Otherwise says what
// is wrong. `value` is looked for as the literal the program should write (quotes doubled).
QString alteredBy(const QString& statement, const QString& value);

// --- The command line

struct Limits {
    qint64 fileSize = -1;      // RLIMIT_FSIZE in bytes (SIGXFSZ ignored); -1: none
    bool unprivileged = false; // run as nobody when the tests run as root
    QStringList environment;   // NAME=value added
};

struct Run {
    int status = -1;
    QString out, err;
};
// Runs the tolvar executable with `args` in `folder`, whose config.ini (written first) points
// at the test database with the given extra lines, within `limits`.
Run runTolvar(const QString& folder, const QStringList& args, const Limits& limits = {},
              const QStringList& configLines = {});

// The files of `folder` (names), for checking that nothing partial was left behind.
QStringList filesIn(const QString& folder);
// Whether the tests run as root, for whom a folder without write permission is still writable.
bool runningAsRoot();

} // namespace faults
