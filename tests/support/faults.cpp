#include "support/faults.h"

#include "build_settings.h"
#include "db/db_error.h"
#include "reports/common/business_day.h"
#include "support/sales_fixture.h"
#include "support/test_database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <csignal>
#include <libpq-fe.h>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace faults {

namespace {

const QString stationCopy = QStringLiteral("pos_faults_station");

pg_conn* openSession(const char* application) {
    const QByteArray info =
        QStringLiteral("host=%1 port=%2 dbname=pos_data user=sa password=%3 "
                       "application_name=%4 connect_timeout=10")
            .arg(testdb::host())
            .arg(testdb::port())
            .arg(QStringLiteral(TOLVAR_DB_PASSWORD), QString::fromLatin1(application))
            .toUtf8();
    pg_conn* conn = PQconnectdb(info.constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        const QString error = QString::fromLocal8Bit(PQerrorMessage(conn));
        PQfinish(conn);
        throw DbError(error);
    }
    return conn;
}

// Runs `sql` (one or more statements); the server's error text, empty when it went well.
QString exec(pg_conn* conn, const QByteArray& sql) {
    PGresult* result = PQexec(conn, sql.constData());
    const ExecStatusType status = PQresultStatus(result);
    const QString error = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK
                              ? QString()
                              : QString::fromLatin1(PQresultErrorMessage(result)).trimmed();
    PQclear(result);
    return error;
}

// The first column of the first row of `sql`, empty when there is none or it failed.
QByteArray value(pg_conn* conn, const QByteArray& sql) {
    PGresult* result = PQexec(conn, sql.constData());
    QByteArray v;
    if (PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) > 0)
        v = QByteArray(PQgetvalue(result, 0, 0), PQgetlength(result, 0, 0));
    PQclear(result);
    return v;
}

qint64 nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void raiseTo(std::atomic<qint64>& most, qint64 value) {
    qint64 seen = most.load();
    while (value > seen && !most.compare_exchange_weak(seen, value)) {
    }
}

QString quoted(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

} // namespace

QString keyOf(const QDate& date) {
    return businessDayKey(date);
}

QString dayText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

void resetStation() {
    static bool made = false;
    if (made) {
        testdb::admin(QStringLiteral("drop database if exists pos_data with (force)"));
        testdb::admin(QStringLiteral("create database pos_data template %1 strategy file_copy")
                          .arg(stationCopy));
        return;
    }
    fixture::demoStation(20, 3, 40, day);
    testdb::admin(QStringLiteral("insert into inv_range (inv_date, inv_start, inv_end, code, "
                                 "void) values ('%1', 'ZZ00000000', 'ZZ00000249', '2', '0')")
                      .arg(keyOf(day).left(5)),
                  QStringLiteral("pos_data"));
    testdb::admin(QStringLiteral("drop database if exists %1 with (force)").arg(stationCopy));
    testdb::admin(
        QStringLiteral("create database %1 template pos_data strategy file_copy").arg(stationCopy));
    made = true;
}

QMap<QString, QString> writtenTables() {
    QStringList tables{"shift_03_tank", "cust_unit", "oil_change", "tran", "tran_detl"};
    if (testdb::adminValue("select to_regclass('public.tin010') is not null") == "t")
        tables << "tin010";
    QMap<QString, QString> state;
    for (const QString& t : tables)
        state.insert(t, testdb::adminValue(
                            QStringLiteral("select count(*) || ' rows ' || coalesce(md5(string_agg("
                                           "t::text, E'\\n' order by t::text)), '') from %1 t")
                                .arg(t)));
    return state;
}

QString changedTables(const QMap<QString, QString>& before) {
    const QMap<QString, QString> now = writtenTables();
    QStringList changed;
    for (auto it = before.begin(); it != before.end(); ++it)
        if (now.value(it.key()) != it.value())
            changed << QStringLiteral("%1 (%2 -> %3)")
                           .arg(it.key(), it.value().section(' ', 0, 1),
                                now.value(it.key(), QStringLiteral("gone")).section(' ', 0, 1));
    for (auto it = now.begin(); it != now.end(); ++it)
        if (!before.contains(it.key())) changed << it.key() + QStringLiteral(" (made)");
    return changed.join(QStringLiteral(", "));
}

// --- SessionKiller

SessionKiller::SessionKiller(QString table, QString trigger)
    : table_(std::move(table)), trigger_(std::move(trigger)) {
    conn_ = openSession("faults-killer");
    QString error;
    if (!table_.isEmpty()) {
        error = exec(conn_, "BEGIN");
        if (error.isEmpty())
            error = exec(
                conn_,
                QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table_).toLatin1());
    }
    if (!error.isEmpty()) {
        PQfinish(conn_);
        throw DbError(error);
    }
    thread_ = std::thread([this] { run(); });
}

std::unique_ptr<SessionKiller> SessionKiller::whenReading(const QString& table) {
    return std::unique_ptr<SessionKiller>(new SessionKiller(table, {}));
}

std::unique_ptr<SessionKiller> SessionKiller::whenWriting(const QString& table,
                                                          const QString& event) {
    // The pause sleeps once: a sequence is not rolled back with the transaction the session
    // loses, so the next action, which runs the same statement, passes.
    const QString name = QStringLiteral("faults_pause_%1").arg(table);
    const QString db = QStringLiteral("pos_data");
    testdb::admin(QStringLiteral("drop trigger if exists %1 on %2").arg(name, table), db);
    testdb::admin(QStringLiteral("drop sequence if exists %1").arg(name), db);
    testdb::admin(QStringLiteral("create sequence %1").arg(name), db);
    testdb::admin(QStringLiteral("create or replace function %1() returns trigger language "
                                 "plpgsql as $$ begin if current_setting('application_name') = "
                                 "'TOLVAR' and nextval('%1') = 1 then perform pg_sleep(60); end "
                                 "if; return null; end $$")
                      .arg(name),
                  db);
    testdb::admin(QStringLiteral("create trigger %1 before %3 on %2 for each statement execute "
                                 "function %1()")
                      .arg(name, table, event),
                  db);
    return std::unique_ptr<SessionKiller>(new SessionKiller({}, name + QLatin1Char(' ') + table));
}

std::unique_ptr<SessionKiller> SessionKiller::whenSleeping() {
    return std::unique_ptr<SessionKiller>(new SessionKiller({}, {}));
}

void SessionKiller::run() {
    const QByteArray held =
        "select pid from pg_stat_activity where application_name = 'TOLVAR' and datname = "
        "'pos_data' and (wait_event_type = 'Lock' or wait_event = 'PgSleep') limit 1";
    QElapsedTimer waited;
    waited.start();
    while (!stop_ && waited.elapsed() < 60000) {
        // The server's activity view is read once per transaction; the lock's transaction
        // would see the first reading for ever.
        exec(conn_, "select pg_stat_clear_snapshot()");
        const QByteArray pid = value(conn_, held);
        if (!pid.isEmpty()) {
            const QString error = exec(conn_, "select pg_terminate_backend(" + pid + ", 10000)");
            std::lock_guard lock(mutex_);
            if (!error.isEmpty()) problem_ = error;
            killed_ = error.isEmpty();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!killed_) {
        std::lock_guard lock(mutex_);
        if (problem_.isEmpty())
            problem_ = QStringLiteral("the program's session was never held up where arranged");
    }
    // Whatever held the session up goes: the lock with this transaction.
    if (!table_.isEmpty()) exec(conn_, "ROLLBACK");
}

SessionKiller::~SessionKiller() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (!trigger_.isEmpty()) {
        const QString name = trigger_.section(' ', 0, 0), table = trigger_.section(' ', 1, 1);
        exec(conn_, QStringLiteral("drop trigger if exists %1 on %2; drop function if exists "
                                   "%1(); drop sequence if exists %1")
                        .arg(name, table)
                        .toLatin1());
    }
    PQfinish(conn_);
}

bool SessionKiller::killed(int ms) const {
    QElapsedTimer waited;
    waited.start();
    while (!killed_ && waited.elapsed() < ms)
        QThread::msleep(10);
    return killed_;
}

QString SessionKiller::problem() const {
    std::lock_guard lock(mutex_);
    return problem_;
}

void killSessionsNow() {
    pg_conn* conn = openSession("faults-killer");
    exec(conn, "select pg_terminate_backend(pid, 10000) from pg_stat_activity where "
               "application_name = 'TOLVAR' and datname = 'pos_data'");
    // Gone from the server's list once the session has ended and closed its socket.
    QElapsedTimer waited;
    waited.start();
    while (value(conn, "select count(*) from pg_stat_activity where application_name = "
                       "'TOLVAR' and datname = 'pos_data'") != "0" &&
           waited.elapsed() < 10000)
        QThread::msleep(10);
    PQfinish(conn);
    QThread::msleep(20); // the closed socket's end reaches the program
}

bool restartServer() {
    const QString command = testdb::restartCommand();
    if (command.isEmpty()) return false;
    return QProcess::execute(QStringLiteral("bash"), {QStringLiteral("-c"), command}) == 0;
}

// --- PosWriter

PosWriter::PosWriter() {
    conn_ = openSession("faults-pos");
    const auto one = [this](const char* sql) {
        const QByteArray v = value(conn_, sql);
        if (v.isEmpty()) throw DbError(QStringLiteral("the station lacks: %1").arg(sql));
        return QString::fromLatin1(v).trimmed();
    };
    company_ = one("select c.cust_id from cust_unit c join car_data v on v.cust_id = c.cust_id "
                   "order by 1 limit 1");
    car_ = one("select v.car_no from cust_unit c join car_data v on v.cust_id = c.cust_id "
               "order by c.cust_id, v.car_no limit 1");
    card_ = one("select dcard_no from dcard_mbr order by 1 limit 1");
    cardCar_ = one("select car_no from dcard_mbr order by dcard_no limit 1");
    gift_ = one("select product_id from product where class = '104' order by 1 limit 1");
    fuel_ = one("select productno from tank_data order by tankno limit 1");
    tankDigit_ = one("select tankno from tank_data order by tankno limit 1");
    tankCode_ = QLatin1Char('0') + tankDigit_;
    shift_ = one(QStringLiteral("select max(shift) from shift_05 where substr(shift, 1, 7) = '%1'")
                     .arg(keyOf(day))
                     .toLatin1()
                     .constData());
}

PosWriter::~PosWriter() {
    stop();
    PQfinish(conn_);
}

QStringList PosWriter::errors() const {
    std::lock_guard lock(mutex_);
    return errors_;
}

void PosWriter::batch(int n) {
    const QString time = dayText(day) + QStringLiteral(" 20:00:00");
    const QString at = QStringLiteral("timestamp '%1' + interval '%2 seconds'").arg(time).arg(n);
    const QString invoice =
        n < 250 ? QStringLiteral("ZZ%1").arg(n, 8, 10, QLatin1Char('0')) : QString();
    const QString good = QStringLiteral("ZZ%1").arg(n, 11, 10, QLatin1Char('0'));
    // Gun "00" is the shop counter: a new nozzle is 01 to 99 of the islands from 80 on.
    const QString island = QString::number(80 + n / 99);
    const QString gun = QStringLiteral("%1").arg(1 + n % 99, 2, 10, QLatin1Char('0'));
    const double litres = 10 + n;
    QStringList s;
    s << QStringLiteral("BEGIN");
    if (n == 1) {
        // The station opens a fourth shift on its last day: the shift list grows and the new
        // shift's meters start where the third's ended.
        const QString third = keyOf(day) + QStringLiteral("_3");
        const QString fourth = keyOf(day) + QStringLiteral("_4");
        s << QStringLiteral("insert into shift (shift) values ('4')");
        s << QStringLiteral("insert into shift_01_gun (shift, island, gun_no, product_id, oilname, "
                            "price, start_qty, start_amt, now_qty, now_amt, out_qty, out_amt, "
                            "test_qty, test_amt, walk_qty, walk_amt) select '%1', island, gun_no, "
                            "product_id, oilname, price, now_qty, now_amt, now_qty + 25, now_amt "
                            "+ 750, 25, 750, 0, 0, 0, 0 from shift_01_gun where shift = '%2'")
                 .arg(fourth, third);
    }
    // A charge sale with its invoice, a group U-card sale and its discount line, a gift.
    s << QStringLiteral(
             "insert into tran (island, gun_no, tran_time, shift, car_no, ref_no1, ref_no2, "
             "ref_no4, tran_amt, real_amt, inv_amt, tax, discount, payment, tran_tp, tax_type, "
             "ser_no, tran_mode, an_mark, invoice, invoice_tp, uid, void, prt_invoice) values "
             "('88', '01', %1, %2, %3, %4, %4, '', %5, %5, %5, 0, 0, '903', '000', 'TX', %6, "
             "'0', '000', %7, '2', '00000000', 0, '-1'), "
             "('88', '02', %1, %2, %8, '', '', %9, %5 - 20, %5 - 20, %5 - 20, 0, 20, '001', "
             "'000', 'TX', %6, '0', '000', '', '2', '', 0, '0'), "
             "('88', '03', %1, %2, '', '', '', '', %5, %5, %5, 0, 0, '001', '000', 'TX', %6, '0', "
             "'000', '', '2', '', 0, '0')")
             .arg(at, quoted(shift_), quoted(car_), quoted(company_))
             .arg(litres * 30)
             .arg(n)
             .arg(quoted(invoice), quoted(cardCar_), quoted(card_));
    s << QStringLiteral(
             "insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, class, "
             "price, qty, amt, unit, tax_type) values "
             "('88', '01', %1, 1, %2, %3, '101', 30, %4, %5, 'LE', 'TX'), "
             "('88', '02', %1, 1, %2, %3, '101', 30, %4, %5, 'LE', 'TX'), "
             "('88', '02', %1, 2, %2, '131D000000001', '131', 0, 0, -20, '', 'TX'), "
             "('88', '03', %1, 1, %2, %3, '101', 30, %4, %5, 'LE', 'TX'), "
             "('88', '03', %1, 2, %2, %6, '104', 0, 1, 0, '', 'TX')")
             .arg(at, quoted(shift_), quoted(fuel_))
             .arg(litres)
             .arg(litres * 30)
             .arg(quoted(gift_));
    // A new shop good with its stock and car-wash takings, a new nozzle's meters, a delivery.
    s << QStringLiteral("insert into product (product_id, name, class, price) values (%1, %2, "
                        "'102', 50)")
             .arg(quoted(good), quoted(QStringLiteral("GOOD%1").arg(n)));
    s << QStringLiteral("insert into shift_04_stock (shift, product_id, bef_stock, in_qty, "
                        "in_price, sale_qty, sale_price, sale_amt, abert_qty, check_qty, stock) "
                        "values (%1, %2, 10, %3, 40, 2, 50, 100, 0, 0, %4)")
             .arg(quoted(shift_), quoted(good))
             .arg(n)
             .arg(8 + n);
    s << QStringLiteral("insert into shift_06 (shift, product_id, class, amt) values (%1, %2, "
                        "'102', %3)")
             .arg(quoted(shift_), quoted(good))
             .arg(100 + n);
    s << QStringLiteral("insert into shift_01_gun (shift, island, gun_no, product_id, oilname, "
                        "price, start_qty, start_amt, now_qty, now_amt, out_qty, out_amt, "
                        "test_qty, test_amt, walk_qty, walk_amt) values (%1, '%2', '%3', %4, "
                        "'ZZ', 30, 1000, 30000, %5, %6, %7, %8, 0, 0, 0, 0)")
             .arg(quoted(shift_), island, gun, quoted(fuel_))
             .arg(1000 + litres)
             .arg(30000 + litres * 30)
             .arg(litres)
             .arg(litres * 30);
    s << QStringLiteral("insert into oil_change (shift, target_tank, gasoline_vol, in_price, "
                        "bill_no, prod_id, del_mark) values (%1, %2, %3, 25, 'W%4', %5, '')")
             .arg(quoted(shift_), quoted(tankDigit_))
             .arg(1000 + n)
             .arg(n)
             .arg(quoted(fuel_));
    if (n <= 9) {
        // The next day's shift n closes: its tank and money rows.
        const QString next = quoted(keyOf(day.addDays(1)) + QStringLiteral("_%1").arg(n));
        s << QStringLiteral("insert into shift_03_tank (shift, tank, oilname, in_stock, sale, "
                            "checkstock, account1, account2, real_stock1, real2, count, "
                            "surplus_4, diff_vol) values (%1, %2, 'ZZ', 0, %3, 0, 20000, %4, "
                            "20000, %4, %4, 0, 0)")
                 .arg(next, quoted(tankCode_))
                 .arg(100 * n)
                 .arg(20000 - 100 * n);
        s << QStringLiteral("insert into shift_05 (shift, goods_amt, diff_amt1, prod_disc, "
                            "cdc1_amt, cdc2_amt, credit_amt, ticket_amt, oil_amt_2, tot_amt_2, "
                            "oil_disc) values (%1, %2, 0, 0, 0, 0, %3, 0, %4, %5, 0)")
                 .arg(next)
                 .arg(100 * n)
                 .arg(30 * n)
                 .arg(1000 * n)
                 .arg(1100 * n);
    }
    s << QStringLiteral("COMMIT");
    const qint64 started = nowMs();
    const QString error = exec(conn_, s.join(QStringLiteral(";\n")).toLatin1());
    raiseTo(longestBatch_, nowMs() - started);
    if (!error.isEmpty()) {
        exec(conn_, "ROLLBACK");
        std::lock_guard lock(mutex_);
        errors_ << QStringLiteral("batch %1: %2").arg(n).arg(error);
    }
}

void PosWriter::commitBatch() {
    batch(++batches_);
}

void PosWriter::watchLocks() {
    const QByteArray waiting = value(
        watcher_, "select count(*) from pg_stat_activity where application_name = 'TOLVAR' and "
                  "datname = 'pos_data' and wait_event_type = 'Lock'");
    const qint64 now = nowMs();
    if (waiting != "0" && !waiting.isEmpty()) {
        if (waitingSince_ < 0) waitingSince_ = now;
        raiseTo(longestWait_, now - waitingSince_);
    } else {
        waitingSince_ = -1;
    }
}

void PosWriter::start(int intervalMs) {
    stop();
    stop_ = false;
    watcher_ = openSession("faults-watcher");
    thread_ = std::thread([this, intervalMs] {
        while (!stop_) {
            commitBatch();
            watchLocks();
            std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs));
        }
    });
}

void PosWriter::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (watcher_) PQfinish(watcher_);
    watcher_ = nullptr;
}

// --- Hostile input

QMap<QString, QString> hostileTexts() {
    return {
        {QStringLiteral("quote"), QStringLiteral("O'Neil")},
        {QStringLiteral("backslash"), QStringLiteral("A\\B\\")},
        {QStringLiteral("statement after ;"), QStringLiteral("x'; DELETE FROM tran; --")},
        {QStringLiteral("comment"), QStringLiteral("x -- y /* z")},
        {QStringLiteral("Big5 0x5C trail bytes"), QStringLiteral("許功蓋")},
        {QStringLiteral("not in Big5"), QStringLiteral("汽油😀们")},
        {QStringLiteral("NUL"), QStringLiteral("A") + QChar(0) + QStringLiteral("B")},
        {QStringLiteral("line breaks"), QStringLiteral("A\r\nB\nC")},
        {QStringLiteral("1000 characters"), QString(1000, QLatin1Char('9'))},
    };
}

QStringList tracedStatements(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList statements;
    static const QRegularExpression execute(QStringLiteral(" cat: Execute, proto: [^,]*, msg: "));
    for (const QByteArray& raw : file.readAll().split('\n')) {
        // The trace is Big5; the Latin-1 reading keeps every byte for the lexer below.
        QString line = QString::fromLatin1(raw);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QRegularExpressionMatch m = execute.match(line);
        if (!m.hasMatch()) continue;
        QString message = line.mid(m.capturedEnd());
        const qsizetype error = message.lastIndexOf(QStringLiteral(", errcode: "));
        if (error >= 0) message.truncate(error);
        statements << message;
    }
    return statements;
}

QString alteredBy(const QString& statement, const QString& value) {
    // `statement` holds the trace's bytes as Latin-1; the literal is looked for the same way.
    QString literal;
    {
        QString bytes;
        const QByteArray big5 = [&] {
            QStringEncoder encoder("windows-950");
            return QByteArray(encoder.encode(value));
        }();
        bytes = QString::fromLatin1(big5);
        // The trace writes line breaks as blanks, as it does in the statement.
        bytes.replace(QLatin1String("\r\n"), QLatin1String(" "));
        bytes.replace(QLatin1Char('\r'), QLatin1Char(' '));
        bytes.replace(QLatin1Char('\n'), QLatin1Char(' '));
        literal = quoted(bytes);
    }
    // Outside string literals nothing may end the statement or start a comment.
    bool inside = false;
    for (qsizetype i = 0; i < statement.size(); ++i) {
        const QChar c = statement[i];
        if (c == QLatin1Char('\'')) {
            if (inside && i + 1 < statement.size() && statement[i + 1] == QLatin1Char('\''))
                ++i; // a doubled quote stays inside
            else
                inside = !inside;
            continue;
        }
        if (inside) continue;
        if (c == QLatin1Char(';')) return QStringLiteral("a ';' outside a literal");
        if (c == QLatin1Char('-') && i + 1 < statement.size() &&
            statement[i + 1] == QLatin1Char('-'))
            return QStringLiteral("a comment outside a literal");
        if (c == QLatin1Char('/') && i + 1 < statement.size() &&
            statement[i + 1] == QLatin1Char('*'))
            return QStringLiteral("a comment outside a literal");
    }
    if (inside) return QStringLiteral("a literal that never ends");
    if (!statement.contains(literal))
        return QStringLiteral("the value does not appear as its literal %1").arg(literal);
    return {};
}

// --- The command line

bool runningAsRoot() {
    return ::geteuid() == 0;
}

namespace {

// The executable for a run as an unprivileged user: the build's own when that user can reach
// it, else a copy in a folder open to all (a clone under a private folder such as /root or
// a mktemp -d folder is out of that user's reach), made once per test program.
QString executableFor(bool unprivileged) {
    const QString built = qEnvironmentVariable("TOLVAR_EXE");
    if (!unprivileged) return built;
    static QTemporaryDir copyFolder(QDir::temp().filePath(QStringLiteral("tolvar-exe-XXXXXX")));
    static const QString copy = [&] {
        const QString path = copyFolder.filePath(QStringLiteral("tolvar"));
        const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                         QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        if (!copyFolder.isValid() || !QFile::setPermissions(copyFolder.path(), all) ||
            !QFile::copy(built, path) || !QFile::setPermissions(path, all))
            return built;
        return path;
    }();
    return copy;
}

} // namespace

Run runTolvar(const QString& folder, const QStringList& args, const Limits& limits,
              const QStringList& configLines) {
    testdb::writeConfig(folder, QStringList{"DBServerName=" + testdb::host(),
                                            "DBPort=" + QString::number(testdb::port())} +
                                    configLines);
    QProcess tolvar;
    tolvar.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& pair : limits.environment)
        environment.insert(pair.section('=', 0, 0), pair.section('=', 1));
    uid_t uid = 0;
    gid_t gid = 0;
    if (limits.unprivileged && runningAsRoot()) {
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody) {
            uid = nobody->pw_uid;
            gid = nobody->pw_gid;
        }
        // Qt's runtime folder must belong to the user; a private one of its own.
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           QDir(folder).filePath(QStringLiteral(".runtime")));
    }
    tolvar.setProcessEnvironment(environment);
    const qint64 fileSize = limits.fileSize;
    tolvar.setChildProcessModifier([fileSize, uid, gid] {
        if (fileSize >= 0) {
            ::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of killing
            const rlimit limit{rlim_t(fileSize), rlim_t(fileSize)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (uid != 0) {
            if (::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(99);
        }
    });
    tolvar.start(executableFor(uid != 0), args);
    Run run;
    if (!tolvar.waitForFinished(120000)) {
        tolvar.kill();
        tolvar.waitForFinished();
        run.err = QStringLiteral("tolvar did not finish: ") + tolvar.errorString();
        return run;
    }
    run.status = tolvar.exitStatus() == QProcess::NormalExit ? tolvar.exitCode() : -1;
    run.out = QString::fromUtf8(tolvar.readAllStandardOutput());
    run.err = QString::fromUtf8(tolvar.readAllStandardError());
    return run;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace faults
