// The lookup picker: the list the caller puts into qy1, positioning by the caller's field,
// the find box and its warning, the ways of choosing and cancelling, and sorting by title.
#include "app/data_module.h"
#include "app/gui_start.h"
#include "screens/common/db_grid.h"
#include "screens/common/lookup_picker.h"
#include "support/gui_support.h"
#include "support/test_database.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const LookupList companies = lookupLists::company;
const LookupList vehicles = lookupLists::vehicleWithCustomer;

// The code of the current row of the picker's list.
QString currentCode() {
    return DM->qy1.field("code").asText().trimmed();
}

// Runs `steps` on the picker that the next call opens.
void onPicker(std::function<void(TFrmgetdata*)> steps) {
    gui::answerNextDialog(
        [steps](QWidget* dialog) {
            if (auto* picker = qobject_cast<TFrmgetdata*>(dialog)) steps(picker);
        },
        nullptr, 20000);
}

// Types `text` into the find box, one key at a time, answering every warning; returns the
// warnings seen.
QStringList typeIntoFindBox(TFrmgetdata* picker, const QString& text) {
    QStringList warnings;
    for (QChar c : text) {
        QString seen;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        gui::answerNextDialog(
            [&](QWidget* dialog) {
                auto* box = qobject_cast<QMessageBox*>(dialog);
                if (!box) return;
                icon = box->icon();
                title = box->windowTitle();
                box->button(QMessageBox::Ok)->click();
            },
            &seen, 300);
        QTest::keyClicks(picker->EdtFind, QString(c));
        if (!seen.isEmpty()) {
            warnings << seen;
            if (icon != QMessageBox::Warning || title != QString::fromUtf8("警告"))
                warnings << QStringLiteral("wrong box: ") + title;
        }
    }
    return warnings;
}

} // namespace

class TestLookupPicker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void positionsOnTheCallersCode_data();
    void positionsOnTheCallersCode();
    void findBoxJumpsAndWarns_data();
    void findBoxJumpsAndWarns();
    void waysOfClosing_data();
    void waysOfClosing();
    void titleClickSortsAndFindStillSearchesCodes();
    void pickedValueByAnyCase();
    void emptyList();

private:
    std::unique_ptr<DataModule> dm_;
};

void TestLookupPicker::initTestCase() {
    setUpChineseFonts();
    testdb::recreate();
    testdb::admin(QString::fromUtf8("insert into cust_unit (cust_id, unit_name) values "
                                    "('1001', '台塑貨運'), ('1203', '中興客運'), "
                                    "('1210', '大同物流'), ('1250', '許厝港農會'), "
                                    "('2001', '阿里山車行')"),
                  "pos_data");
    testdb::admin("insert into car_data (car_no, cust_id) values ('ABC-123', '1001'), "
                  "('ABD-001', '1203'), ('ABD-777', '1210'), ('KLM-500', '2001')",
                  "pos_data");
    dm_ = std::make_unique<DataModule>();
    testdb::configure(dm_->cn);
}

void TestLookupPicker::cleanupTestCase() {
    dm_.reset();
}

void TestLookupPicker::positionsOnTheCallersCode_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("current");
    QTest::newRow("empty field: first row") << ""
                                            << "ABC-123";
    QTest::newRow("first three characters") << "ABD"
                                            << "ABD-001";
    QTest::newRow("whole number, blanks around") << "  ABD-777 "
                                                 << "ABD-777";
    QTest::newRow("no vehicle begins so: first row") << "XYZ"
                                                     << "ABC-123";
}

void TestLookupPicker::positionsOnTheCallersCode() {
    QFETCH(QString, field);
    QFETCH(QString, current);
    QString shown, caption;
    onPicker([&](TFrmgetdata* picker) {
        caption = picker->windowTitle();
        const QModelIndex at = picker->DBGrid1->currentIndex();
        shown = picker->DBGrid1->model()->index(at.row(), 0).data().toString();
        if (field == "ABD") gui::saveScreenshot(picker, "lookup_picker");
        picker->BitBtnCanser->click();
    });
    QVERIFY(pickFromList(vehicles, field));
    QCOMPARE(caption, QString::fromUtf8("客戶資料選取"));
    QCOMPARE(shown.trimmed(), current);
    QCOMPARE(PickedValue("CODE").toText().trimmed(), current);
}

void TestLookupPicker::findBoxJumpsAndWarns_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("current");
    QTest::addColumn<int>("warnings");
    QTest::newRow("1 then 2") << "12"
                              << "1203" << 0;
    QTest::newRow("a further 9 misses") << "129"
                                        << "1203" << 1;
    QTest::newRow("every further key warns") << "1299"
                                             << "1203" << 2;
    QTest::newRow("blank alone moves nothing") << " "
                                               << "1001" << 0;
    QTest::newRow("125") << "125"
                         << "1250" << 0;
}

void TestLookupPicker::findBoxJumpsAndWarns() {
    QFETCH(QString, typed);
    QFETCH(QString, current);
    QFETCH(int, warnings);
    QStringList seen;
    QString at;
    onPicker([&](TFrmgetdata* picker) {
        seen = typeIntoFindBox(picker, typed);
        at = currentCode();
        picker->BitBtnPost->click();
    });
    QVERIFY(!pickFromList(companies, QString()));
    QCOMPARE(at, current);
    QCOMPARE(seen.size(), warnings);
    for (const QString& text : seen)
        QCOMPARE(text, QString::fromUtf8("資料不存在"));
}

void TestLookupPicker::waysOfClosing_data() {
    QTest::addColumn<QString>("before"); // how the previous use ended
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("stillOpenAfterFindBoxEnter");
    QTest::newRow("選用") << "cancel"
                          << "choose" << true << false;
    QTest::newRow("double-click") << "cancel"
                                  << "double" << true << false;
    QTest::newRow("Enter in the grid") << "cancel"
                                       << "gridEnter" << true << false;
    QTest::newRow("Enter in the find box, then 取消") << "choose"
                                                      << "findEnter" << false << true;
    QTest::newRow("取消") << "choose"
                          << "cancel" << false << false;
    QTest::newRow("close box after a choice") << "choose"
                                              << "close" << true << false;
    QTest::newRow("close box after a cancel") << "cancel"
                                              << "close" << false << false;
}

void TestLookupPicker::waysOfClosing() {
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(bool, answer);
    QFETCH(bool, stillOpenAfterFindBoxEnter);
    onPicker([&](TFrmgetdata* picker) {
        (before == "choose" ? picker->BitBtnCanser : picker->BitBtnPost)->click();
    });
    QCOMPARE(pickFromList(companies, QString()), before == "choose");

    bool open = false;
    onPicker([&](TFrmgetdata* picker) {
        DBGrid* grid = picker->DBGrid1;
        const QModelIndex second = grid->model()->index(1, 0);
        if (how == "choose") {
            QTest::mouseClick(picker->BitBtnCanser, Qt::LeftButton);
        } else if (how == "double") {
            const QRect cell = grid->visualRect(second);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        } else if (how == "gridEnter") {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Return);
        } else if (how == "findEnter") {
            picker->EdtFind->setFocus();
            QTest::keyClick(picker->EdtFind, Qt::Key_Return);
            open = picker->isVisible();
            picker->BitBtnPost->click();
        } else if (how == "cancel") {
            picker->BitBtnPost->click();
        } else if (how == "close") {
            picker->close();
        }
    });
    QCOMPARE(pickFromList(companies, QString()), answer);
    QCOMPARE(open, stillOpenAfterFindBoxEnter);
    if (how == "double" || how == "gridEnter") QCOMPARE(currentCode(), QStringLiteral("1203"));
}

void TestLookupPicker::titleClickSortsAndFindStillSearchesCodes() {
    QStringList names;
    QString found;
    onPicker([&](TFrmgetdata* picker) {
        QHeaderView* header = picker->DBGrid1->horizontalHeader();
        QCOMPARE(picker->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(),
                 QString::fromUtf8("名稱"));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        for (int row = 0; row < picker->DBGrid1->model()->rowCount(); ++row)
            names << picker->DBGrid1->model()->index(row, 1).data().toString();
        typeIntoFindBox(picker, "2");
        found = currentCode();
        picker->BitBtnPost->click();
    });
    pickFromList(companies, QString());
    // Sorted by the Big5 bytes of the names, as the database orders them.
    const QStringList expected = {QString::fromUtf8("大同物流"), QString::fromUtf8("中興客運"),
                                  QString::fromUtf8("台塑貨運"), QString::fromUtf8("阿里山車行"),
                                  QString::fromUtf8("許厝港農會")};
    QCOMPARE(names, expected);
    QCOMPARE(found, QStringLiteral("2001"));
}

void TestLookupPicker::pickedValueByAnyCase() {
    onPicker([](TFrmgetdata* picker) {
        typeIntoFindBox(picker, "ABD-7");
        picker->BitBtnCanser->click();
    });
    QVERIFY(pickFromList(vehicles, QString()));
    QCOMPARE(PickedValue("CODE").toText().trimmed(), QStringLiteral("ABD-777"));
    QCOMPARE(PickedValue("Cust_ID").toText().trimmed(), QStringLiteral("1210"));
    QCOMPARE(PickedValue("NAME").toText(), QString::fromUtf8("大同物流"));
    QVERIFY(PickedValue("price").isNull()); // not a column of this list
}

void TestLookupPicker::emptyList() {
    int rows = -1;
    onPicker([&](TFrmgetdata* picker) {
        rows = picker->DBGrid1->model()->rowCount();
        picker->BitBtnCanser->click();
    });
    QVERIFY(pickFromList(lookupLists::gift, QStringLiteral("G")));
    QCOMPARE(rows, 0);
    QVERIFY(PickedValue("CODE").isNull());
    QCOMPARE(PickedValue("CODE").toText(), QString());
}

QTEST_MAIN(TestLookupPicker)
#include "tst_lookup_picker.moc"
