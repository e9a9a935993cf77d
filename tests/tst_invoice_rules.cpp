// The rules of the invoice subsystem that need no database: the ROC month codes, the
// 250-number blocks of the invoice ranges and their blank numbers, and the fixed records of
// the media file with the values that do not fit them.
#include "db/db_error.h"
#include "invoice/invoice_blocks.h"
#include "invoice/media_file.h"
#include "invoice/roc_month.h"

#include <QTest>

namespace {

const MediaStation station{"123456789", "87654321"};

InvoiceBlock block(const QString& letters, qint64 index, const QString& highest = {}) {
    return {"2", letters, index, highest};
}

} // namespace

Q_DECLARE_METATYPE(InvoiceBlock)
Q_DECLARE_METATYPE(MediaRecord)

class TestInvoiceRules : public QObject {
    Q_OBJECT
private slots:
    void monthCodes_data();
    void monthCodes();
    void blocksOfRanges_data();
    void blocksOfRanges();
    void blankNumbersOfABlock_data();
    void blankNumbersOfABlock();
    void recordFields_data();
    void recordFields();
    void valueThatDoesNotFitRefusesTheRecord_data();
    void valueThatDoesNotFitRefusesTheRecord();
    void stationIdentityMustBeWhole();
};

void TestInvoiceRules::monthCodes_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("code"); // empty: not a month
    QTest::newRow("May 2024") << "2024/05"
                              << "11305";
    QTest::newRow("before 2011 the code begins with 0") << "2010/12"
                                                        << "09912";
    QTest::newRow("blanks around") << " 2024/06 "
                                   << "11306";
    QTest::newRow("month 13") << "2024/13"
                              << "";
    QTest::newRow("month 00") << "2024/00"
                              << "";
    QTest::newRow("month not a number") << "2024/ab"
                                        << "";
    QTest::newRow("one-digit month") << "2024/5"
                                     << "";
    QTest::newRow("year not a number") << "20x4/05"
                                       << "";
    QTest::newRow("before the ROC calendar") << "1911/12"
                                             << "";
    QTest::newRow("a date") << "2024/05/01"
                            << "";
}

void TestInvoiceRules::monthCodes() {
    QFETCH(QString, field);
    QFETCH(QString, code);
    MonthField m;
    QCOMPARE(parseMonthField(field, m), !code.isEmpty());
    if (!code.isEmpty()) QCOMPARE(m.rocCode(), code);
}

void TestInvoiceRules::blocksOfRanges_data() {
    QTest::addColumn<QStringList>("ranges"); // start, end, form, ...
    QTest::addColumn<QStringList>("blocks"); // key and form
    QTest::newRow("four blocks of a thousand numbers")
        << QStringList{"XY12345000", "XY12345999", "2"}
        << QStringList{"XY049380 2", "XY049381 2", "XY049382 2", "XY049383 2"};
    QTest::newRow("two ranges sharing a block give it once, with the first range's form")
        << QStringList{"AB00000000", "AB00000499", "2", "AB00000250", "AB00000749", "3"}
        << QStringList{"AB000000 2", "AB000001 2", "AB000002 3"};
    QTest::newRow("off the boundaries: rounded to the nearest block")
        << QStringList{"AB00000100", "AB00000399", "2"} << QStringList{"AB000000 2", "AB000001 2"};
    QTest::newRow("halves round up")
        << QStringList{"AB00000125", "AB00000374", "2"} << QStringList{"AB000001 2"};
    QTest::newRow("end before start: none")
        << QStringList{"AB00000500", "AB00000249", "2"} << QStringList{};
    QTest::newRow("the track's last block")
        << QStringList{"ZZ99999750", "ZZ99999999", "3"} << QStringList{"ZZ399999 3"};
}

void TestInvoiceRules::blocksOfRanges() {
    QFETCH(QStringList, ranges);
    QFETCH(QStringList, blocks);
    QList<InvoiceRange> list;
    for (qsizetype i = 0; i + 2 < ranges.size(); i += 3)
        list.append({ranges[i], ranges[i + 1], ranges[i + 2]});
    QStringList seen;
    for (const InvoiceBlock& b : ::blocksOfRanges(list))
        seen << b.key() + " " + b.form;
    QCOMPARE(seen, blocks);
}

void TestInvoiceRules::blankNumbersOfABlock_data() {
    QTest::addColumn<InvoiceBlock>("block");
    QTest::addColumn<int>("blanks");
    QTest::addColumn<QString>("firstBlank"); // last three digits (BR090's tinv6)
    QTest::addColumn<QString>("after");      // the media step's tinv5
    QTest::newRow("none issued") << block("XY", 49380) << 250 << "000"
                                 << "";
    QTest::newRow("XY12345100 issued") << block("XY", 49380, "XY12345100") << 149 << "101"
                                       << "XY12345101";
    QTest::newRow("the block's first number issued")
        << block("XY", 49381, "XY12345250") << 249 << "251"
        << "XY12345251";
    QTest::newRow("its last number issued: no blank, the next block's first number")
        << block("XY", 49380, "XY12345249") << 0 << "250"
        << "XY12345250";
    QTest::newRow("…999 issued: nothing after it in the block")
        << block("XY", 49383, "XY12345999") << 0 << ""
        << "";
}

void TestInvoiceRules::blankNumbersOfABlock() {
    QFETCH(InvoiceBlock, block);
    QFETCH(int, blanks);
    QFETCH(QString, firstBlank);
    QFETCH(QString, after);
    QCOMPARE(block.blanks(), blanks);
    QCOMPARE(block.firstBlankDigits(), firstBlank);
    if (!block.highest.isEmpty()) QCOMPARE(block.numberAfterHighest(), after);
}

void TestInvoiceRules::recordFields_data() {
    QTest::addColumn<MediaRecord>("record");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("three-part with buyer")
        << MediaRecord{"3", "11306", "12345678", "QQ00000007", 2000.0, 100.0, "1", ""}
        << "35" "123456789" "0000042" "11306" "12345678" "87654321" "QQ00000007" "000000002000" "1" "0000000100" "       " " " " ";
    QTest::newRow("amount rounded half away from zero, tax 0.4 to 0")
        << MediaRecord{"2", "11306", "", "XY12345006", 1234.5, 0.4, "3", ""}
        << "32" "123456789" "0000042" "11306" "        " "87654321" "XY12345006" "000000001235" "3" "0000000000" "       " " " " ";
    QTest::newRow("no amount at all")
        << MediaRecord{"2", "11306", "12345249", "XY12345101", Value(), Value(), "D", "A"}
        << "32" "123456789" "0000042" "11306" "12345249" "87654321" "XY12345101" "000000000000" "D" "0000000000" "       " "A" " ";
    QTest::newRow("a form that is neither: two blanks")
        << MediaRecord{"9", "11306", "", "XY12345006", 1.0, 0.0, "3", ""}
        << "  " "123456789" "0000042" "11306" "        " "87654321" "XY12345006" "000000000001" "3" "0000000000" "       " " " " ";
    QTest::newRow("largest amount and tax")
        << MediaRecord{"3", "11306", "", "QQ00000007", 999999999999.0, 9999999999.0, "1", ""}
        << "35" "123456789" "0000042" "11306" "        " "87654321" "QQ00000007" "999999999999" "1" "9999999999" "       " " " " ";
    // clang-format on
}

// Positions as the tax office reads them, serial 42.
void TestInvoiceRules::recordFields() {
    QFETCH(MediaRecord, record);
    QFETCH(QString, text);
    const QByteArray line = mediaRecordText(record, 42, station);
    QCOMPARE(line.size(), 81);
    QCOMPARE(QString::fromLatin1(line), text);
}

void TestInvoiceRules::valueThatDoesNotFitRefusesTheRecord_data() {
    QTest::addColumn<MediaRecord>("record");
    QTest::addColumn<QString>("says");
    QTest::newRow("negative amount")
        << MediaRecord{"3", "11306", "", "QQ00000007", -100.0, 0.0, "1", ""}
        << QString::fromUtf8("發票 QQ00000007 的銷售額「-100」是負數");
    QTest::newRow("13 digits of amount")
        << MediaRecord{"3", "11306", "", "QQ00000007", 1e12, 0.0, "1", ""}
        << QString::fromUtf8("的銷售額「1000000000000」超過 12 位數");
    QTest::newRow("11 digits of tax")
        << MediaRecord{"3", "11306", "", "QQ00000007", 1.0, 1e10, "1", ""}
        << QString::fromUtf8("的稅額「10000000000」超過 10 位數");
    QTest::newRow("negative tax") << MediaRecord{"3", "11306", "", "QQ00000007", 1.0, -1.0, "1", ""}
                                  << QString::fromUtf8("的稅額「-1」是負數");
    QTest::newRow("buyer of seven digits")
        << MediaRecord{"3", "11306", "1234567", "QQ00000007", 1.0, 0.0, "1", ""}
        << QString::fromUtf8("的買受人統一編號「1234567」不是 8 位數字");
    QTest::newRow("invoice number too short")
        << MediaRecord{"3", "11306", "", "QQ0000007", 1.0, 0.0, "1", ""}
        << QString::fromUtf8(
               "發票 QQ0000007 的發票號碼「QQ0000007」不是兩個大寫英文字母加八位數字");
    QTest::newRow("small letters") << MediaRecord{"3", "11306", "", "qq00000007", 1.0, 0.0, "1", ""}
                                   << QString::fromUtf8("的發票號碼「qq00000007」");
    QTest::newRow("month code of four digits")
        << MediaRecord{"3", "1136", "", "QQ00000007", 1.0, 0.0, "1", ""}
        << QString::fromUtf8("的年月「1136」不是五位數字");
}

void TestInvoiceRules::valueThatDoesNotFitRefusesTheRecord() {
    QFETCH(MediaRecord, record);
    QFETCH(QString, says);
    try {
        mediaRecordText(record, 1, station);
        QFAIL("a record was made of a value that does not fit");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(says), qPrintable(e.message()));
    }
}

void TestInvoiceRules::stationIdentityMustBeWhole() {
    const QList<MediaRecord> none;
    QCOMPARE(mediaFileContent(none, station), QByteArray());
    QVERIFY_THROWS_EXCEPTION(DbError, mediaFileContent(none, {"12345678", "87654321"}));
    QVERIFY_THROWS_EXCEPTION(DbError, mediaFileContent(none, {"123456789", ""}));
    QVERIFY_THROWS_EXCEPTION(DbError, mediaFileContent(none, {"123456789", "8765432X"}));
}

QTEST_MAIN(TestInvoiceRules)
#include "tst_invoice_rules.moc"
