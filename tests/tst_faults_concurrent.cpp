// Reports built while the point-of-sale system writes: its own session commits a batch of sales,
// lines and shift rows every few milliseconds. A build never deadlocks, never fails, never
// waits long on a lock, and shows the station as of one moment: the report built while the
// writer commits between its reads equals the report built on the station as it stood after
// some number of the writer's batches.
#include "app/data_module.h"
#include "app/progress.h"
#include "db/query.h"
#include "reports/report_catalogue.h"
#include "support/faults.h"
#include "support/test_database.h"

#include <QElapsedTimer>
#include <QTest>

using namespace faults;

namespace {

// Progress that lets the point-of-sale system commit a batch at every step of a build: the
// steps fall between the build's reads.
class WriterAtEveryStep : public Progress {
public:
    explicit WriterAtEveryStep(PosWriter& writer) : writer_(writer) {}

protected:
    void shown(int) override { writer_.commitBatch(); }

private:
    PosWriter& writer_;
};

// The report's options over the station's days and the next, whose shifts the writer closes.
// BR050 runs on the last day from its third shift to the last shift the station has.
ReportOptions stationOptions(const ReportDef& report) {
    ReportOptions o = defaultOptions(report, day.addDays(1));
    o.from = dayText(day.addDays(-2));
    o.to = dayText(day.addDays(1)); // the day whose shifts the writer closes
    o.date = dayText(day);
    if (report.code == QLatin1String("BR050")) {
        o.from = o.to = dayText(day);
        o.fromShift = QStringLiteral("3");
        o.toShift.clear();
    }
    return o;
}

// Every text of every page, or every exported cell, as one text.
QString build(const ReportDef& report, bool exported, Progress& progress) {
    DataModule dm;
    testdb::configure(dm.cn);
    dm.cn.connect();
    Query work(dm.cn);
    const ReportOptions options = stationOptions(report);
    QStringList out;
    if (exported) {
        const QList<ExportColumn> columns = report.exportRows(dm, work, options, progress);
        for (work.first(); !work.eof(); work.next()) {
            QStringList cells;
            for (const ExportColumn& c : columns)
                cells << work.field(c.field).asText();
            out << cells.join(QLatin1Char('|'));
        }
    } else {
        const PrintJob job = report.print(dm, work, options, progress);
        const rpt::RenderedReport rendered = renderJob(job, day.addDays(1));
        for (const rpt::PageItems& page : rendered.pages) {
            for (const rpt::TextItem& t : page.texts)
                out << t.text;
            out << QStringLiteral("--- page");
        }
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace

class TestFaultsConcurrent : public QObject {
    Q_OBJECT
private slots:
    // Each report's print and export, built while the writer commits between its reads.
    void oneSnapshotPerBuild_data();
    void oneSnapshotPerBuild();
    // Every build, one after the other, while the writer commits every 3 ms on its own.
    void noErrorNoDeadlockNoLongWait();
};

void TestFaultsConcurrent::oneSnapshotPerBuild_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("exported");
    for (const ReportDef& report : reportCatalogue()) {
        QTest::newRow(qPrintable(report.code + QStringLiteral(" print"))) << report.code << false;
        if (report.exportRows)
            QTest::newRow(qPrintable(report.code + QStringLiteral(" export")))
                << report.code << true;
    }
}

void TestFaultsConcurrent::oneSnapshotPerBuild() {
    QFETCH(QString, code);
    QFETCH(bool, exported);
    const ReportDef* report = findReport(code);
    QVERIFY(report);

    resetStation();
    QString whileWriting;
    int batches = 0;
    {
        PosWriter writer;
        WriterAtEveryStep progress(writer);
        whileWriting = build(*report, exported, progress);
        batches = writer.batches();
        QCOMPARE(writer.errors(), QStringList());
    }
    QVERIFY2(batches > 0, "the build takes no step between its reads");

    // The same report on the station after 0, 1, ... of the same batches.
    resetStation();
    QStringList asOf;
    {
        PosWriter writer;
        SilentProgress silent;
        for (int k = 0; k <= batches; ++k) {
            asOf << build(*report, exported, silent);
            if (k < batches) writer.commitBatch();
        }
        QCOMPARE(writer.errors(), QStringList());
    }
    // The writer changes what the report shows: otherwise the comparison proves nothing.
    QVERIFY2(asOf.first() != asOf.last(), "the writer's batches do not change the report");
    if (!asOf.contains(whileWriting)) {
        // Where it first differs from the station as of the start and as of the end.
        const QStringList seen = whileWriting.split(QLatin1Char('\n'));
        QStringList lines;
        for (const QString& state : {asOf.first(), asOf.last()}) {
            const QStringList expected = state.split(QLatin1Char('\n'));
            qsizetype i = 0;
            while (i < seen.size() && i < expected.size() && seen[i] == expected[i])
                ++i;
            lines << QStringLiteral("line %1: built '%2', station '%3'")
                         .arg(i)
                         .arg(seen.value(i), expected.value(i));
        }
        QFAIL(qPrintable(QStringLiteral("the build mixes moments of the station: ") +
                         lines.join(QStringLiteral("; "))));
    }
}

void TestFaultsConcurrent::noErrorNoDeadlockNoLongWait() {
    resetStation();
    PosWriter writer;
    writer.start(3);
    QStringList failed;
    qint64 longestBuild = 0;
    for (const ReportDef& report : reportCatalogue()) {
        for (const bool exported : {false, true}) {
            if (exported && !report.exportRows) continue;
            SilentProgress silent;
            QElapsedTimer clock;
            clock.start();
            try {
                build(report, exported, silent);
            } catch (const std::exception& e) {
                failed << report.code + QStringLiteral(": ") + QString::fromUtf8(e.what());
            }
            longestBuild = std::max(longestBuild, clock.elapsed());
        }
    }
    writer.stop();
    QCOMPARE(failed, QStringList());
    QCOMPARE(writer.errors(), QStringList());
    QVERIFY2(writer.batches() > 10, qPrintable(QString::number(writer.batches())));
    QVERIFY2(writer.longestLockWaitMs() < 1000,
             qPrintable(QString::number(writer.longestLockWaitMs())));
    QVERIFY2(writer.longestBatchMs() < 1000, qPrintable(QString::number(writer.longestBatchMs())));
    qInfo("%d batches; longest build %lld ms", writer.batches(), longestBuild);
}

QTEST_MAIN(TestFaultsConcurrent)
#include "tst_faults_concurrent.moc"
