// Start-up through the data module: config.ini, the trace switch, the station settings,
// the keep-alive and the schema upgrade of older station databases.
#include "app/data_module.h"
#include "app/schema_upgrade.h"
#include "build_settings.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDataModule : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startup_data();
    void startup();
    void withoutConfigFile();
    void stationSettings_data();
    void stationSettings();
    void keepAliveFindsALostConnection();
    void schemaUpgrade_data();
    void schemaUpgrade();
    void upgradeErrorsAreIgnoredOneByOne();

private:
    QString traceFile() const {
        return QDir::current().filePath("M" + QDate::currentDate().toString("yyyyMMdd"));
    }
    std::unique_ptr<QTemporaryDir> work_;
    QString home_;
};

void TestDataModule::init() {
    testdb::recreate();
    work_ = std::make_unique<QTemporaryDir>();
    home_ = QDir::currentPath();
    QDir::setCurrent(work_->path());
}

void TestDataModule::cleanup() {
    QDir::setCurrent(home_);
    work_.reset();
}

void TestDataModule::startup_data() {
    const QString server = "DBServerName=" + testdb::host();
    const QString port = "DBPort=" + QString::number(testdb::port());
    QTest::addColumn<QStringList>("config");
    QTest::addColumn<bool>("works");
    QTest::addColumn<bool>("traced");
    QTest::newRow("tracing on") << QStringList{server, port, "DBMonitor=Y"} << true << true;
    QTest::newRow("no DBMonitor") << QStringList{server, port} << true << false;
    QTest::newRow("small y") << QStringList{server, port, "DBMonitor=y"} << true << false;
    QTest::newRow("port not a number")
        << QStringList{server, "DBPort=abc", "DBMonitor=Y"} << false << false;
    QTest::newRow("server unreachable") << QStringList{server, "DBPort=1"} << false << false;
}

void TestDataModule::startup() {
    QFETCH(QStringList, config);
    QFETCH(bool, works);
    QFETCH(bool, traced);
    testdb::admin(QString::fromUtf8("insert into set_system values ('st_name', '  許厝港加油站 ')"),
                  "pos_data");
    testdb::writeConfig(work_->path(), config);
    DataModule dm;
    QCOMPARE(DM, &dm);
    const QString problem = dm.DataModuleCreate();
    QCOMPARE(problem.isEmpty(), works);
    QCOMPARE(dm.Timer1.isActive(), works); // the keep-alive runs only after a good start
    QCOMPARE(dm.Timer1.interval(), 10000);
    QCOMPARE(dm.settings.st_name, works ? QString::fromUtf8("許厝港加油站") : QString());
    QCOMPARE(QFile::exists(traceFile()), traced);
    if (traced) {
        QFile f(traceFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray lines = f.readAll();
        QVERIFY(lines.contains("cat: Connect"));
        QVERIFY(lines.contains("msg: SELECT * FROM set_system \r\n"));
    }
    if (!works && config[1] == "DBPort=abc") {
        QVERIFY(problem.contains("DBPort"));
        QCOMPARE(dm.cn.settings().host, QString(TOLVAR_DEFAULT_HOST)); // kept what it had
        QCOMPARE(dm.cn.settings().port, 5432);
    }
}

void TestDataModule::withoutConfigFile() {
    DataModule dm;
    const QString problem = dm.DataModuleCreate();
    QCOMPARE(dm.cn.settings().host, QString(TOLVAR_DEFAULT_HOST));
    QCOMPARE(dm.cn.settings().port, 5432);
    QVERIFY(!problem.isEmpty()); // the built-in host is not on this network
    QVERIFY(!QFile::exists(traceFile()));
}

void TestDataModule::stationSettings_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("uid");
    QTest::addColumn<double>("rate");
    QTest::addColumn<bool>("warned");
    QTest::newRow("all four")
        << "('st_name','許厝港站'),('uid',' 12345675 '),('tax_id','123456789'),('tax_rate','0.05')"
        << QString::fromUtf8("許厝港站") << "12345675" << 0.05 << false;
    QTest::newRow("no tax_rate") << "('st_name','許厝港站'),('uid','12345675')"
                                 << QString::fromUtf8("許厝港站") << "12345675" << 0.0 << false;
    QTest::newRow("keys in capitals") << "('ST_NAME','A'),('UID','1'),('Tax_Rate','0.1')"
                                      << "A"
                                      << "1" << 0.1 << false;
    QTest::newRow("rate is no number") << "('st_name','A'),('tax_rate','5%')"
                                       << "A"
                                       << "" << 0.0 << true;
    QTest::newRow("empty table") << ""
                                 << ""
                                 << "" << 0.0 << false;
}

void TestDataModule::stationSettings() {
    QFETCH(QString, rows);
    QFETCH(QString, name);
    QFETCH(QString, uid);
    QFETCH(double, rate);
    QFETCH(bool, warned);
    if (!rows.isEmpty()) testdb::admin("insert into set_system values " + rows, "pos_data");
    testdb::writeConfig(work_->path(), {"DBServerName=" + testdb::host(),
                                        "DBPort=" + QString::number(testdb::port())});
    DataModule dm;
    QCOMPARE(!dm.DataModuleCreate().isEmpty(), warned);
    QVERIFY(dm.Timer1.isActive());
    QCOMPARE(dm.settings.st_name, name);
    QCOMPARE(dm.settings.uid, uid);
    QCOMPARE(dm.settings.tax_rate, rate);
}

void TestDataModule::keepAliveFindsALostConnection() {
    testdb::writeConfig(work_->path(), {"DBServerName=" + testdb::host(),
                                        "DBPort=" + QString::number(testdb::port())});
    DataModule dm;
    QVERIFY(dm.DataModuleCreate().isEmpty());
    dm.Timer1Timer();
    QVERIFY(dm.cn.connected());
    testdb::admin(
        "select pg_terminate_backend(pid) from pg_stat_activity where application_name = 'TOLVAR' "
        "and datname = 'pos_data'");
    QTest::qWait(100);
    dm.Timer1Timer();
    QVERIFY(!dm.cn.connected());
    dm.cn.disconnect();
    dm.Timer1Timer(); // between screens: does nothing, raises nothing
}

void TestDataModule::schemaUpgrade_data() {
    QTest::addColumn<bool>("older");
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<QString>("columns");
    QTest::newRow("lacks all three") << true << ""
                                     << "discount_d,discount_g,in_price";
    QTest::newRow("has discount_g only")
        << true << "alter table cust_unit add column discount_g float8"
        << "discount_g,in_price";
    QTest::newRow("current database") << false << ""
                                      << "discount_d,discount_g,in_price";
}

void TestDataModule::schemaUpgrade() {
    QFETCH(bool, older);
    QFETCH(QString, prepare);
    QFETCH(QString, columns);
    TrialSchemaOptions options;
    options.older = older;
    testdb::recreate(options);
    if (!prepare.isEmpty()) testdb::admin(prepare, "pos_data");
    Connection cn;
    testdb::configure(cn);
    Query qy(cn), qy1(cn);
    for (int activation = 0; activation < 10; ++activation) {
        upgradeSchema(qy, qy1);
        cn.disconnect(); // as a screen closing between two activations
    }
    QCOMPARE(testdb::adminValue(
                 "select string_agg(column_name::text, ',' order by column_name) from "
                 "information_schema.columns where (table_name = 'cust_unit' and column_name "
                 "like 'discount%') or (table_name = 'oil_change' and column_name = 'in_price')"),
             columns);
    QCOMPARE(testdb::adminValue(
                 "select column_default from information_schema.columns where table_name = "
                 "'oil_change' and column_name = 'in_price'"),
             QString("0"));
}

void TestDataModule::upgradeErrorsAreIgnoredOneByOne() {
    TrialSchemaOptions options;
    options.older = true;
    testdb::recreate(options);
    testdb::admin("drop table cust_unit", "pos_data");
    Connection cn;
    testdb::configure(cn);
    Query qy(cn), qy1(cn);
    // The first check finds no cust_unit and its ALTER fails; the second still runs.
    upgradeSchema(qy, qy1);
    QCOMPARE(testdb::adminValue(
                 "select count(*) from information_schema.columns where table_name = 'oil_change' "
                 "and column_name = 'in_price'"),
             QString("1"));
    cn.settings().port = 1;
    cn.disconnect();
    upgradeSchema(qy, qy1); // no server at all: nothing raised
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_data_module.moc"
