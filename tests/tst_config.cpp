// config.ini: which host, port and trace switch each file content gives.
#include "app/config.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void missingFile();
};

void TestConfig::rules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("monitor");
    QTest::addColumn<bool>("error");
    QTest::newRow("all three")
        << QByteArray("[Global]\r\nDBServerName=10.0.0.5\r\nDBPort=5433\r\nDBMonitor=Y\r\n")
        << "10.0.0.5" << 5433 << "Y" << false;
    QTest::newRow("blanks removed")
        << QByteArray("[Global]\nDBServerName =  possrv  \nDBPort = 5432 \nDBMonitor= Y \n")
        << "possrv" << 5432 << "Y" << false;
    QTest::newRow("no DBMonitor: off") << QByteArray("[Global]\nDBServerName=possrv\nDBPort=5432\n")
                                       << "possrv" << 5432 << "" << false;
    QTest::newRow("small y stays y")
        << QByteArray("[Global]\nDBServerName=possrv\nDBPort=5432\nDBMonitor=y\n") << "possrv"
        << 5432 << "y" << false;
    QTest::newRow("empty server: defaults, rest ignored")
        << QByteArray("[Global]\nDBServerName=\nDBPort=7777\nDBMonitor=Y\n") << "default-host"
        << 5432 << "N" << false;
    QTest::newRow("server in another section")
        << QByteArray("[Other]\nDBServerName=possrv\n") << "default-host" << 5432 << "N" << false;
    QTest::newRow("letter case of section and keys")
        << QByteArray("[GLOBAL]\ndbservername=possrv\ndbport=6000\n") << "possrv" << 6000 << ""
        << false;
    QTest::newRow("first key counts")
        << QByteArray("[Global]\nDBServerName=first\nDBServerName=second\nDBPort=1\n") << "first"
        << 1 << "" << false;
    QTest::newRow("comment lines")
        << QByteArray("; DBServerName=no\n[Global]\n# DBPort=1\nDBServerName=yes\nDBPort=2\n")
        << "yes" << 2 << "" << false;
    QTest::newRow("port missing") << QByteArray("[Global]\nDBServerName=possrv\n") << "possrv"
                                  << 5432 << "" << true;
    QTest::newRow("port not a number") << QByteArray("[Global]\nDBServerName=possrv\nDBPort=54x2\n")
                                       << "possrv" << 5432 << "" << true;
    QTest::newRow("port out of range")
        << QByteArray("[Global]\nDBServerName=possrv\nDBPort=70000\n") << "possrv" << 5432 << ""
        << true;
    QTest::newRow("Big5 host name kept")
        << QByteArray("[Global]\nDBServerName=\xb3\x5c\nDBPort=5432\n") << QString::fromUtf8("許")
        << 5432 << "" << false;
}

void TestConfig::rules() {
    QFETCH(QByteArray, file);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, monitor);
    QFETCH(bool, error);
    QTemporaryDir dir;
    QFile f(dir.filePath("config.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();
    const StartupConfig config = readStartupConfig(f.fileName(), "default-host");
    QCOMPARE(config.host, host);
    QCOMPARE(config.port, port);
    if (!error) QCOMPARE(config.monitor, monitor);
    QCOMPARE(!config.error.isEmpty(), error);
}

void TestConfig::missingFile() {
    QTemporaryDir dir;
    const StartupConfig config = readStartupConfig(dir.filePath("config.ini"), "default-host");
    QCOMPARE(config.host, QString("default-host"));
    QCOMPARE(config.port, 5432);
    QCOMPARE(config.monitor, QString("N"));
    QVERIFY(config.error.isEmpty());
    QVERIFY(!config.fromFile);
}

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
