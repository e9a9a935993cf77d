// Every file the program writes (the SYLK export, the PDF, the invoice media file, the SQL
// trace) on a full disk, into a missing or read-only folder and over an older file. A file that
// cannot be written is said so, naming it, with exit status 1; the older file of that name stays
// as it was and no partial file is left. The disk fills through a file-size limit on the child
// tolvar process, which is allowed where mounting a small file system is not.
#include "support/faults.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace faults;

namespace {

const QString older = QStringLiteral("an older file of that name\r\n");

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A folder that the unprivileged user the tests may run tolvar as can enter.
bool openToAll(const QString& folder) {
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther);
}

} // namespace

class TestFaultsFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unwritableFile_data();
    void unwritableFile();
    void exportToADeviceAsAnOrdinaryUser();
    void traceFileThatCannotBeWritten_data();
    void traceFileThatCannotBeWritten();
};

void TestFaultsFiles::initTestCase() {
    resetStation();
    // The media file holds the trial's invoices.
    QTemporaryDir folder;
    const QString month = day.toString(QStringLiteral("yyyy/MM"));
    const Run trial =
        runTolvar(folder.path(), {QStringLiteral("invoice"), QStringLiteral("trial"),
                                  QStringLiteral("--from"), month, QStringLiteral("--to"), month});
    QVERIFY2(trial.status == 0, qPrintable(trial.err));
}

// An ordinary user may not write into /dev, yet may write to its devices (/dev/stdout,
// /dev/null): the export goes there.
void TestFaultsFiles::exportToADeviceAsAnOrdinaryUser() {
    QTemporaryDir folder;
    QVERIFY(openToAll(folder.path()));
    Limits limits;
    limits.unprivileged = true;
    const Run run =
        runTolvar(folder.path(),
                  {QStringLiteral("report"), QStringLiteral("BR010"), QStringLiteral("--from"),
                   dayText(day.addDays(-2)), QStringLiteral("--to"), dayText(day),
                   QStringLiteral("--sylk"), QStringLiteral("/dev/null")},
                  limits);
    QVERIFY2(run.status == 0, qPrintable(QString::number(run.status) + ' ' + run.err));
    QVERIFY2(!run.err.contains(QStringLiteral("/dev/null")), qPrintable(run.err));
}

void TestFaultsFiles::unwritableFile_data() {
    QTest::addColumn<QStringList>("args"); // %1: the file
    QTest::addColumn<QString>("fault"); // full disk, missing folder, read-only folder, older file
    QTest::addColumn<QByteArray>("start"); // how the written file begins
    const QString from = dayText(day.addDays(-2)), to = dayText(day);
    const QString month = day.toString(QStringLiteral("yyyy/MM"));
    struct File {
        const char* name;
        QStringList args;
        QByteArray start;
    };
    const QList<File> files{
        {"BR010 SYLK",
         {"report", "BR010", "--from", from, "--to", to, "--sylk", "%1"},
         "ID;PYSLK;N;E\r\n"},
        {"BR020 SYLK",
         {"report", "BR020", "--from", from, "--to", to, "--sylk", "%1"},
         "ID;PYSLK;N;E\r\n"},
        {"BR100 SYLK",
         {"report", "BR100", "--from", from, "--to", to, "--sylk", "%1"},
         "ID;PYSLK;N;E\r\n"},
        {"BR110 SYLK",
         {"report", "BR110", "--from", from, "--to", to, "--sylk", "%1"},
         "ID;PYSLK;N;E\r\n"},
        {"BR040 PDF", {"report", "BR040", "--from", from, "--to", to, "--pdf", "%1"}, "%PDF"},
        {"BR040 workbook",
         {"report", "BR040", "--from", from, "--to", to, "--xlsx", "%1"},
         "PK\x03\x04"},
        {"BR030 workbook", {"report", "BR030", "--date", to, "--xlsx", "%1"}, "PK\x03\x04"},
        {"invoice media file",
         {"invoice", "media", "--from", month, "--to", month, "--out", "%1"},
         ""},
    };
    for (const File& f : files)
        for (const char* fault : {"full disk", "missing folder", "read-only folder", "older file"})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QString::fromLatin1(f.name),
                                                                  QString::fromLatin1(fault))))
                << f.args << QString::fromLatin1(fault) << f.start;
}

void TestFaultsFiles::unwritableFile() {
    QFETCH(QStringList, args);
    QFETCH(QString, fault);
    QFETCH(QByteArray, start);
    QTemporaryDir folder;
    QVERIFY(openToAll(folder.path()));
    QDir out(folder.path());
    Limits limits;
    if (fault == QLatin1String("missing folder")) {
        out.setPath(folder.filePath(QStringLiteral("missing")));
    } else if (fault == QLatin1String("read-only folder")) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("ro")));
        out.setPath(folder.filePath(QStringLiteral("ro")));
        limits.unprivileged = true; // root writes into any folder
    } else {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));
        out.setPath(folder.filePath(QStringLiteral("out")));
        write(out.filePath(QStringLiteral("file")), older.toLatin1());
        // Less than the smallest file written (a media file of one invoice is 85 bytes).
        if (fault == QLatin1String("full disk")) limits.fileSize = 60;
    }
    if (fault == QLatin1String("read-only folder"))
        QVERIFY(QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                      QFile::ReadGroup | QFile::ExeGroup |
                                                      QFile::ReadOther | QFile::ExeOther));
    const QString path = out.filePath(QStringLiteral("file"));
    for (QString& a : args)
        if (a == QLatin1String("%1")) a = path;
    const QStringList filesBefore = filesIn(out.path());

    const Run run = runTolvar(folder.path(), args, limits);

    if (fault == QLatin1String("older file")) {
        QVERIFY2(run.status == 0, qPrintable(QString::number(run.status) + ' ' + run.err));
        const QByteArray written = read(path);
        QVERIFY2(written.startsWith(start) && written.size() > 60 && written != older.toLatin1(),
                 qPrintable(QString::fromLatin1(written.left(80))));
        QCOMPARE(filesIn(out.path()), filesBefore);
        return;
    }
    QVERIFY2(run.status == 1, qPrintable(QString::number(run.status) + ' ' + run.err));
    // The message names the file, or the folder that is missing.
    QVERIFY2(run.err.contains(QStringLiteral("file")) || run.err.contains(out.path()),
             qPrintable(run.err));
    QCOMPARE(filesIn(out.path()), filesBefore);
    if (filesBefore.contains(QStringLiteral("file"))) QCOMPARE(read(path), older.toLatin1());
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("missing"))));
}

void TestFaultsFiles::traceFileThatCannotBeWritten_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("full disk") << "full disk";
    QTest::newRow("read-only file") << "read-only file";
}

// The trace never stops the work: the command works, says once that the trace cannot be
// written, and the trace keeps whole lines only.
void TestFaultsFiles::traceFileThatCannotBeWritten() {
    QFETCH(QString, fault);
    QTemporaryDir folder;
    QVERIFY(openToAll(folder.path()));
    Limits limits;
    const QString trace = folder.filePath(
        QStringLiteral("M") + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    if (fault == QLatin1String("full disk")) {
        limits.fileSize = 300;
    } else {
        // A trace that cannot be written to: read-only, and root's, for the run as an
        // unprivileged user that the tests use when they run as root.
        write(trace, "an older trace line\r\n");
        QVERIFY(
            QFile::setPermissions(trace, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        limits.unprivileged = true;
    }
    const Run run =
        runTolvar(folder.path(),
                  {QStringLiteral("report"), QStringLiteral("BR110"), QStringLiteral("--from"),
                   dayText(day.addDays(-2)), QStringLiteral("--to"), dayText(day),
                   QStringLiteral("--sylk"), QStringLiteral("/dev/null")},
                  limits, {QStringLiteral("DBMonitor=Y")});
    QVERIFY2(run.status == 0, qPrintable(QString::number(run.status) + ' ' + run.err));
    QCOMPARE(run.err.count(QStringLiteral("SQL 追蹤檔")), 1);
    QVERIFY2(run.err.contains(QFileInfo(trace).fileName()), qPrintable(run.err));
    if (fault == QLatin1String("full disk")) {
        const QByteArray kept = read(trace);
        QVERIFY(!kept.isEmpty());
        QVERIFY(kept.size() <= 300);
        QVERIFY(kept.endsWith("\r\n"));
    } else {
        QCOMPARE(read(trace), QByteArray("an older trace line\r\n"));
    }
}

QTEST_MAIN(TestFaultsFiles)
#include "tst_faults_files.moc"
