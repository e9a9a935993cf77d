// Editing rows through query objects: written back by primary key, or by the old values of
// every column when the table has none, with the handlers around each step.
#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"
#include "support/test_database.h"

#include <QTest>

class TestQueryEditing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void editByPrimaryKey();
    void editWithoutPrimaryKey_data();
    void editWithoutPrimaryKey();
    void identicalRowsTouchOnlyOne();
    void insertTakesTheDefaults();
    void removeByKeyAndByOldValues();
    void cancelRestores();
    void refusedSaveStaysInEditing();
    void rowChangedMeanwhile();
    void fieldRefusesTextThatIsNoNumber();
    void movingSavesThePendingChange();
    void joinIsNotWritable();
    void blankPaddedCodes();
    void refreshShowsNewRows();

private:
    std::unique_ptr<Connection> cn;
};

void TestQueryEditing::init() {
    testdb::recreate();
    cn = std::make_unique<Connection>();
    testdb::configure(*cn);
    cn->exec(QString::fromUtf8(
        "insert into cust_unit (cust_id, unit_name, discount_d, discount_g) values "
        "('A01', '許氏運輸', 0.5, 0.3), ('B02', '大功物流', 1.2, 1), ('C03', null, 0, 0)"));
    cn->exec("insert into oil_change (shift, target_tank, gasoline_vol, in_price, bill_no, "
             "prod_id, del_mark) values "
             "('1130506_1', '1', 10000, 25.5, 'N1', '113F 12092005', ''), "
             "('1130506_2', '3', 8000, 24.1, null, '113F 51101001', ''), "
             "('1130507_1', '3', 8000, 24.1, null, '113F 51101001', '')");
}

void TestQueryEditing::cleanup() {
    cn.reset();
}

void TestQueryEditing::editByPrimaryKey() {
    Query q(*cn);
    q.setSql("SELECT * FROM cust_unit ORDER BY cust_id ");
    q.open();
    q.next();
    q.edit();
    QCOMPARE(q.state(), QueryState::Edit);
    q.field("unit_name").setText(QString::fromUtf8("大功物流公司"));
    q.field("discount_d").setFloat(1.25);
    q.post();
    QCOMPARE(q.state(), QueryState::Browse);
    QCOMPARE(testdb::adminValue(
                 "select discount_d || '/' || discount_g from cust_unit where cust_id = 'B02'"),
             QString("1.25/1"));
    QCOMPARE(testdb::adminValue("select encode(convert_to(unit_name, 'SQL_ASCII'), 'hex') from "
                                "cust_unit where cust_id = 'B02'"),
             QString("a46aa55caaabac79a4bda571")); // 大功物流公司 in Big5
    QCOMPARE(testdb::adminValue(
                 "select count(*) from cust_unit where discount_d = 0.5 and unit_name is not null"),
             QString("1")); // the others untouched
}

void TestQueryEditing::editWithoutPrimaryKey_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("check");
    // Row 1 has a NULL bill number: the old values must match it with IS NULL.
    QTest::newRow("null column, two columns changed")
        << 1
        << "select count(*) from oil_change where gasoline_vol = 8100.5 and in_price = 23.9 and "
           "shift = '1130506_2'";
    QTest::newRow("first row") << 0
                               << "select count(*) from oil_change where gasoline_vol = 8100.5 and "
                                  "in_price = 23.9 and shift = '1130506_1'";
}

void TestQueryEditing::editWithoutPrimaryKey() {
    QFETCH(int, row);
    QFETCH(QString, check);
    Query q(*cn);
    q.setSql("SELECT * FROM oil_change where del_mark = '' ORDER BY shift, target_tank ");
    q.open();
    q.moveTo(row);
    q.edit();
    q.field("gasoline_vol").setText("8100.5");
    q.field("in_price").setFloat(23.9);
    q.post();
    QCOMPARE(testdb::adminValue(check), QString("1"));
    QCOMPARE(testdb::adminValue("select count(*) from oil_change where gasoline_vol = 8100.5"),
             QString("1"));
    QCOMPARE(q.field("gasoline_vol").asFloat(), 8100.5);
}

void TestQueryEditing::identicalRowsTouchOnlyOne() {
    cn->exec("insert into oil_change (shift, target_tank, gasoline_vol) values "
             "('1130508_1','5',5000), ('1130508_1','5',5000)");
    Query q(*cn);
    q.setSql("SELECT * FROM oil_change where shift = '1130508_1'");
    q.open();
    QCOMPARE(q.recordCount(), 2);
    q.edit();
    q.field("gasoline_vol").setInteger(5100);
    q.post();
    QCOMPARE(testdb::adminValue("select string_agg(gasoline_vol::text, ',' order by gasoline_vol) "
                                "from oil_change where shift = '1130508_1'"),
             QString("5000.00,5100.00"));
    q.next();
    q.remove();
    QCOMPARE(testdb::adminValue("select count(*) from oil_change where shift = '1130508_1'"),
             QString("1"));
}

void TestQueryEditing::insertTakesTheDefaults() {
    Query q(*cn);
    q.setSql("select * from cust_unit order by cust_id");
    q.open();
    int inserted = 0;
    q.afterInsert = [&](Query&) { ++inserted; };
    q.append();
    QCOMPARE(q.state(), QueryState::Insert);
    QCOMPARE(q.recordCount(), 4);
    q.field("cust_id").setText("D04");
    q.post();
    QCOMPARE(inserted, 1);
    QCOMPARE(q.field("discount_d").value(), Value(0.0)); // the table's default came back
    QVERIFY(q.field("unit_name").isNull());
    QCOMPARE(testdb::adminValue("select count(*) from cust_unit"), QString("4"));
}

void TestQueryEditing::removeByKeyAndByOldValues() {
    Query q(*cn);
    q.setSql("select * from cust_unit order by cust_id");
    q.open();
    q.remove();
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.field("cust_id").asText(), QString("B02"));
    QCOMPARE(testdb::adminValue("select string_agg(cust_id, ',' order by cust_id) from cust_unit"),
             QString("B02,C03"));
    q.close();
    q.setSql("select * from oil_change order by shift");
    q.open();
    q.moveTo(1);
    q.remove();
    QCOMPARE(testdb::adminValue("select string_agg(shift, ',' order by shift) from oil_change"),
             QString("1130506_1,1130507_1"));
}

void TestQueryEditing::cancelRestores() {
    Query q(*cn);
    q.setSql("select * from cust_unit order by cust_id");
    q.open();
    int cancels = 0, edits = 0;
    q.afterCancel = [&](Query&) { ++cancels; };
    q.afterEdit = [&](Query&) { ++edits; };
    q.moveTo(1);
    q.edit();
    q.field("unit_name").setText("changed");
    q.cancel();
    QCOMPARE(q.field("unit_name").asText(), QString::fromUtf8("大功物流"));
    q.insert();
    QCOMPARE(q.recNo(), 1);
    q.cancel();
    QCOMPARE(q.recordCount(), 3);
    QCOMPARE(q.field("cust_id").asText(), QString("B02")); // back on the row current before
    QCOMPARE(edits, 1);
    QCOMPARE(cancels, 2);
    QCOMPARE(testdb::adminValue("select count(*) from cust_unit"), QString("3"));
}

void TestQueryEditing::refusedSaveStaysInEditing() {
    Query q(*cn);
    q.setSql("select * from cust_unit order by cust_id");
    q.open();
    bool refuse = true;
    int posted = 0;
    q.beforePost = [&](Query&) {
        if (refuse) throw DbError(QString::fromUtf8("柴油折扣欄位錯誤..."));
    };
    q.afterPost = [&](Query&) { ++posted; };
    q.edit();
    q.field("unit_name").setText("typed");
    QVERIFY_THROWS_EXCEPTION(DbError, q.post());
    QCOMPARE(q.state(), QueryState::Edit);
    QCOMPARE(q.field("unit_name").asText(), QString("typed"));
    QCOMPARE(testdb::adminValue("select unit_name from cust_unit where cust_id = 'A01'").isEmpty(),
             false);
    refuse = false;
    q.post();
    QCOMPARE(posted, 1);
    QCOMPARE(testdb::adminValue("select unit_name from cust_unit where cust_id = 'A01'"),
             QString("typed"));
}

void TestQueryEditing::rowChangedMeanwhile() {
    Query q(*cn);
    q.setSql("select * from oil_change order by shift");
    q.open();
    q.edit();
    q.field("gasoline_vol").setInteger(1);
    testdb::admin("update oil_change set gasoline_vol = 2 where shift = '1130506_1'", "pos_data");
    QVERIFY_THROWS_EXCEPTION(DbError, q.post()); // no row has the old values any more
    QCOMPARE(q.state(), QueryState::Edit);
    QCOMPARE(testdb::adminValue("select gasoline_vol from oil_change where shift = '1130506_1'"),
             QString("2.00"));
}

void TestQueryEditing::fieldRefusesTextThatIsNoNumber() {
    Query q(*cn);
    q.setSql("select * from oil_change order by shift");
    q.open();
    QVERIFY_THROWS_EXCEPTION(DbError, q.field("gasoline_vol").setText("1")); // not editing yet
    q.edit();
    QVERIFY_THROWS_EXCEPTION(DbError, q.field("gasoline_vol").setText("12a"));
    QCOMPARE(q.state(), QueryState::Edit);
    q.field("gasoline_vol").setText("");
    QVERIFY(q.field("gasoline_vol").isNull()); // an emptied number field is null, not an error
}

void TestQueryEditing::movingSavesThePendingChange() {
    Query q(*cn);
    q.setSql("select * from cust_unit order by cust_id");
    q.open();
    q.edit();
    q.field("discount_g").setFloat(0.8);
    q.next();
    QCOMPARE(q.state(), QueryState::Browse);
    QCOMPARE(testdb::adminValue("select discount_g from cust_unit where cust_id = 'A01'"),
             QString("0.8"));
}

void TestQueryEditing::joinIsNotWritable() {
    cn->exec("insert into car_data values ('ABC-1234', 'A01')");
    Query q(*cn);
    q.setSql("SELECT m.car_no as code, d.unit_name as name, m.cust_id FROM car_data m, cust_unit d "
             "WHERE m.cust_id = d.cust_id ORDER BY m.car_no ");
    q.open();
    q.edit();
    q.field("name").setText("x");
    QVERIFY_THROWS_EXCEPTION(DbError, q.post());
}

void TestQueryEditing::blankPaddedCodes() {
    TrialSchemaOptions charCodes;
    charCodes.charCodes = true;
    cn->disconnect();
    testdb::recreate(charCodes);
    cn->exec("insert into cust_unit (cust_id, unit_name) values ('A01', 'x'), ('B02', 'y')");
    Query q(*cn);
    q.setSql("SELECT * FROM cust_unit ORDER BY cust_id ");
    q.open();
    QCOMPARE(q.field("cust_id").asText().size(), 20); // char(20) arrives blank-padded
    QVERIFY(q.locate("cust_id", Value("B02"), {}));
    q.edit();
    q.field("unit_name").setText("z");
    q.post();
    QCOMPARE(testdb::adminValue("select unit_name from cust_unit where cust_id = 'B02'"),
             QString("z"));
}

void TestQueryEditing::refreshShowsNewRows() {
    Query q(*cn);
    q.setSql("select * from cust_unit order by cust_id");
    q.open();
    q.moveTo(2);
    testdb::admin("insert into cust_unit (cust_id) values ('E05')", "pos_data");
    q.refresh();
    QCOMPARE(q.recordCount(), 4);
    QCOMPARE(q.recNo(), 2);
}

QTEST_GUILESS_MAIN(TestQueryEditing)
#include "tst_query_editing.moc"
