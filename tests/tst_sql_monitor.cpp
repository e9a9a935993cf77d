// The SQL trace: the line format, the file written per event, the last 100 events.
#include "db/sql_monitor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(TraceEvent)

namespace {
const QDateTime at(QDate(2012, 3, 5), QTime(9, 7, 3));
}

class TestSqlMonitor : public QObject {
    Q_OBJECT
private slots:
    void line_data();
    void line();
    void fileGetsOneCrLfLinePerEvent();
    void nothingWrittenUnlessActive();
    void unwritableFileIsSkipped();
    void keepsTheLatestHundred();
};

void TestSqlMonitor::line_data() {
    QTest::addColumn<TraceEvent>("event");
    QTest::addColumn<QString>("line");
    QTest::newRow("execute")
        << TraceEvent{at, TraceCategory::Execute, "postgresql", "SELECT * FROM set_system ", 0, {}}
        << "2012-03-05 09:07:03 cat: Execute, proto: postgresql, msg: SELECT * FROM set_system ";
    QTest::newRow("no protocol") << TraceEvent{at, TraceCategory::Other, {}, "x", 0, {}}
                                 << "2012-03-05 09:07:03 cat: Other, msg: x";
    QTest::newRow("error")
        << TraceEvent{at,
                      TraceCategory::Execute,
                      "postgresql",
                      "select * from nothere",
                      7,
                      "ERROR:  relation \"nothere\" does not exist"}
        << "2012-03-05 09:07:03 cat: Execute, proto: postgresql, msg: select * from "
           "nothere, errcode: 7, error: ERROR:  relation \"nothere\" does not exist";
    QTest::newRow("error text without code")
        << TraceEvent{at, TraceCategory::Connect, "postgresql", "CONNECT", 0, "refused"}
        << "2012-03-05 09:07:03 cat: Connect, proto: postgresql, msg: CONNECT, errcode: 0, error: "
           "refused";
    QTest::newRow("line breaks")
        << TraceEvent{at, TraceCategory::Disconnect, "postgresql", "a\r\nb\nc", 0, {}}
        << "2012-03-05 09:07:03 cat: Disconnect, proto: postgresql, msg: a b c";
    QTest::newRow("transaction")
        << TraceEvent{at, TraceCategory::Transaction, "postgresql", "BEGIN", 0, {}}
        << "2012-03-05 09:07:03 cat: Transaction, proto: postgresql, msg: BEGIN";
}

void TestSqlMonitor::line() {
    QFETCH(TraceEvent, event);
    QFETCH(QString, line);
    QCOMPARE(formatTraceLine(event), line);
}

void TestSqlMonitor::fileGetsOneCrLfLinePerEvent() {
    QTemporaryDir dir;
    SqlMonitor m;
    m.setFileName(dir.filePath("M20120305"));
    m.setAutoSave(true);
    m.setActive(true);
    m.trace({at, TraceCategory::Execute, "postgresql", QString::fromUtf8("select '許'"), 0, {}});
    // Complete at any moment: the first line is on disk before the second event.
    QFile file(m.fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().endsWith("select '\xb3\x5c'\r\n"));
    file.close();
    m.trace({at, TraceCategory::Execute, "postgresql", "select 2", 0, {}});
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].endsWith('\r') && lines[1].endsWith('\r') && lines[2].isEmpty());
}

void TestSqlMonitor::nothingWrittenUnlessActive() {
    QTemporaryDir dir;
    SqlMonitor m;
    m.setFileName(dir.filePath("M20120305"));
    m.setAutoSave(true);
    m.trace({at, TraceCategory::Execute, "postgresql", "select 1", 0, {}});
    QVERIFY(!QFile::exists(m.fileName()));
    QCOMPARE(m.events().size(), std::size_t(1));
}

void TestSqlMonitor::unwritableFileIsSkipped() {
    SqlMonitor m;
    m.setFileName("/nonexistent-folder/M20120305");
    m.setAutoSave(true);
    m.setActive(true);
    m.trace({at, TraceCategory::Execute, "postgresql", "select 1", 0, {}});
    QCOMPARE(m.events().size(), std::size_t(1));
}

void TestSqlMonitor::keepsTheLatestHundred() {
    SqlMonitor m;
    for (int i = 0; i < 130; ++i)
        m.trace({at, TraceCategory::Execute, {}, QString::number(i), 0, {}});
    QCOMPARE(m.events().size(), std::size_t(100));
    QCOMPARE(m.events().front().message, QString("30"));
    QCOMPARE(m.events().back().message, QString("129"));
}

QTEST_GUILESS_MAIN(TestSqlMonitor)
#include "tst_sql_monitor.moc"
