// Big5 at the database and file boundaries: every station character survives the round
// trip, and what Big5 cannot hold is refused instead of stored as "?".
#include "db/db_error.h"
#include "db/text_codec.h"

#include "reports/common/work_table.h"

#include <QTest>

class TestTextCodec : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void refusesWhatBig5CannotHold_data();
    void refusesWhatBig5CannotHold();
    void lossyEncodingKeepsGoing();
    void invalidBytesDecodeToReplacement();
    void utf8Connection();
    void fitToColumn_data();
    void fitToColumn();
    void refusalNamesTheCharacterAndLeavesTheCodecWhole_data();
    void refusalNamesTheCharacterAndLeavesTheCodecWhole();
};

void TestTextCodec::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("big5");
    QTest::newRow("ascii") << "113F 12092005" << QByteArray("113F 12092005");
    // Second byte 0x5C, the backslash: the classic Big5 trap.
    QTest::newRow("許功蓋") << QString::fromUtf8("許功蓋") << QByteArray::fromHex("b35ca55cbb5c");
    // ETEN extensions that IBM-950 lacks.
    QTest::newRow("碁銹裏") << QString::fromUtf8("碁銹裏") << QByteArray::fromHex("f9d6f9d7f9d8");
    QTest::newRow("euro") << QString::fromUtf8("€") << QByteArray::fromHex("a3e1");
    QTest::newRow("station name") << QString::fromUtf8("九二無鉛 超級柴油")
                                  << QByteArray::fromHex("a445a447b54cb95d20b657afc5aee3aa6f");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestTextCodec::roundTrip() {
    QFETCH(QString, text);
    QFETCH(QByteArray, big5);
    const TextCodec codec;
    QCOMPARE(codec.encode(text), big5);
    QCOMPARE(codec.decode(big5), text);
}

void TestTextCodec::refusesWhatBig5CannotHold_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("emoji") << QString::fromUtf8("加油😀站") << QString::fromUtf8("😀");
    QTest::newRow("simplified only") << QString::fromUtf8("汽车") << QString::fromUtf8("车");
    QTest::newRow("nul") << QString::fromLatin1("ab\0c", 4) << QString();
}

void TestTextCodec::refusesWhatBig5CannotHold() {
    QFETCH(QString, text);
    QFETCH(QString, named);
    try {
        (void)TextCodec().encode(text);
        QFAIL("encoded without complaint");
    } catch (const DbError& e) {
        QVERIFY2(e.message().contains(named), qPrintable(e.message()));
    }
}

void TestTextCodec::lossyEncodingKeepsGoing() {
    QCOMPARE(TextCodec().encodeLossy(QString::fromUtf8("A😀B")), QByteArray("A?B"));
}

void TestTextCodec::invalidBytesDecodeToReplacement() {
    // A text cut in the middle of a character (a too narrow column) keeps a visible mark.
    QCOMPARE(TextCodec().decode(QByteArray::fromHex("41b3")), QString("A") + QChar(0xFFFD));
    QCOMPARE(TextCodec().decode(QByteArray::fromHex("b35c41")), QString::fromUtf8("許A"));
}

void TestTextCodec::utf8Connection() {
    const TextCodec codec(TextCodec::Encoding::Utf8);
    const QString text = QString::fromUtf8("許厝港加油站");
    QCOMPARE(codec.encode(text), text.toUtf8());
    QCOMPARE(codec.decode(text.toUtf8()), text);
}

// A station text copied into a narrower work-table column is cut at the last whole character
// that fits: never half a Big5 character, which would garble the next column's bytes.
void TestTextCodec::fitToColumn_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("big5");
    QTest::addColumn<QString>("utf8");
    const QString oil = QString::fromUtf8("高級柴油(外購)"); // 14 bytes in Big5
    QTest::newRow("fits") << oil << 14 << oil << oil;
    QTest::newRow("name varchar(12)")
        << oil << 12 << QString::fromUtf8("高級柴油(外") << QString::fromUtf8("高級柴油(外購)");
    QTest::newRow("odd width keeps no half character")
        << QString::fromUtf8("許功蓋加油站") << 5 << QString::fromUtf8("許功")
        << QString::fromUtf8("許功蓋加油");
    QTest::newRow("ascii") << QString("113F 12092005") << 7 << QString("113F 12")
                           << QString("113F 12");
    QTest::newRow("empty") << QString() << 4 << QString() << QString();
    QTest::newRow("zero width") << oil << 0 << QString() << QString();
}

void TestTextCodec::fitToColumn() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, big5);
    QFETCH(QString, utf8);
    const TextCodec b(TextCodec::Encoding::Big5), u(TextCodec::Encoding::Utf8);
    QCOMPARE(::fitToColumn(text, width, b), big5);
    QVERIFY(b.encode(::fitToColumn(text, width, b)).size() <= width);
    QCOMPARE(::fitToColumn(text, width, u), utf8);
}

void TestTextCodec::refusalNamesTheCharacterAndLeavesTheCodecWhole_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("emoji after Latin")
        << QString::fromUtf8("update x set a = '😀'") << QString::fromUtf8("「😀」");
    QTest::newRow("simplified after traditional")
        << QString::fromUtf8("加油汽车") << QString::fromUtf8("「车」");
}

void TestTextCodec::refusalNamesTheCharacterAndLeavesTheCodecWhole() {
    QFETCH(QString, text);
    QFETCH(QString, named);
    const TextCodec codec;
    for (int round = 0; round < 2; ++round) {
        try {
            (void)codec.encode(text);
            QFAIL("encoded without complaint");
        } catch (const DbError& e) {
            QVERIFY2(e.message().endsWith(named), qPrintable(e.message()));
        }
        // The same codec goes on converting what Big5 holds, after a refusal or a lossy text.
        QCOMPARE(codec.encode(QString::fromUtf8("許功蓋")), QByteArray::fromHex("b35ca55cbb5c"));
        QCOMPARE(codec.encodeLossy(text).count('?'), 1);
        QCOMPARE(codec.encode(QString::fromUtf8("加油")), QByteArray::fromHex("a55baa6f"));
    }
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_text_codec.moc"
