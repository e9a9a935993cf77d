#include "invoice/invoice_media.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/copy_loader.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "invoice/invoice_blocks.h"
#include "invoice/media_file.h"
#include "invoice/roc_month.h"
#include "reports/common/number_mask.h"

const char* const tin020CreateStatement =
    "create TEMPORARY table tIN020 (tp varchar(1),tinv1 varchar(8),tinv2 varchar(10),  tinv3 "
    "varchar(03),tinv4 varchar(03),tinv5 varchar(10),tinv6 varchar(10),cnt decimal(3,0) DEFAULT "
    "'0')";

const char* const tin030CreateStatement =
    "create TEMPORARY table tIN030 (tp varchar(1),tyymm varchar(5),tinv1 varchar(08),  tinv2 "
    "varchar(10),amt float8 DEFAULT 0,tax float8 DEFAULT 0,type1 varchar(01),type2 varchar(01))";

namespace {

const char* const summaryRecords =
    "insert into tIN030 (tp, tyymm, tinv1, tinv2, amt, tax, type1, type2) select "
    "'2',tdate,substr(max(invoice),3,8) as tinvo2,min(invoice) as tinvo1,   sum(inv_amt) as "
    "amt,0,'1','A' from tin010 where invoice_tp='2' and void='0' and tax_type='TX' GROUP BY "
    "tdate,Date(tran_time),floor(to_number(substr(invoice,3,8),'99999999')/250) order by tinvo1";

const char* const blankRecords =
    "insert into tIN030 (tp, tyymm, tinv1, tinv2, amt, tax, type1, type2) select "
    "tp,:MYYMM,tinv6,tinv5,0,0,'D','A' from tIN020 where cnt > 0";

const char* const voidedRecords =
    "insert into tIN030 (tp, tyymm, tinv1, tinv2, amt, tax, type1, type2) select "
    "invoice_tp,tdate,uid,invoice,0,0,'F','' from tIN010 where void <> '0' order by invoice";

const char* const taxFreeRecords =
    "insert into tIN030 (tp, tyymm, tinv1, tinv2, amt, tax, type1, type2) select "
    "invoice_tp,tdate,uid,invoice,inv_amt,0,'3','' from tIN010 where tax_type = 'TF' order by "
    "invoice";

const char* const threePartRecords =
    "insert into tIN030 (tp, tyymm, tinv1, tinv2, amt, tax, type1, type2) select "
    "invoice_tp,tdate,uid,invoice,   case when uid='' then inv_amt else inv_amt-tax end as tamt,  "
    " case when uid='' then 0 else tax end as ttax,'1',''   from tIN010 where void = '0' and "
    "invoice_tp = '3' order by invoice";

const char* const recordGroups =
    "select tp,type1,count(tinv2) as cnt,sum(amt+tax) as tamt,   sum(amt) as amt,sum(tax) as tax "
    "from tin030 GROUP BY tp,type1 order BY tp,type1";

const QString figures = QStringLiteral("###,###,##0");

// The trial table must exist and hold the invoices of the fields' months: filed with the
// blank numbers of another month it would make a wrong return.
void checkTrialTable(Query& q, const QString& startCode, const QString& endCode) {
    q.setSql(QStringLiteral("select to_regclass('tin010') is not null as made"));
    q.open();
    if (!q.fieldAt(0).asBool())
        throw DbError(QStringLiteral("資料庫中沒有發票試算資料 (tIN010)：請先執行發票試算，"
                                     "再執行媒體轉檔"));
    q.close();
    q.setSql(QStringLiteral("select min(tdate) as first, max(tdate) as last from tIN010"));
    q.open();
    const QString first = q.field(QStringLiteral("first")).asText();
    const QString last = q.field(QStringLiteral("last")).asText();
    q.close();
    if (!first.isEmpty() && (first < startCode || last > endCode))
        throw DbError(QStringLiteral("上次發票試算的年月 (%1 至 %2) 與起迄年月 (%3 至 %4) 不符："
                                     "請先以起迄年月試算正確後，再執行媒體轉檔")
                          .arg(first, last, startCode, endCode));
}

// tIN020: one row per block of the end month's active ranges, the highest issued number of
// each looked up for all blocks at once and the rows copied in one go.
void fillBlockTable(Connection& cn, Query& q, const QString& endCode, Progress& progress) {
    q.setSql(QStringLiteral(
        "select * From inv_range Where inv_date=:MShift2   and void = '0' order by inv_start"));
    q.param(QStringLiteral("MShift2")).setText(endCode);
    q.open();
    QList<InvoiceBlock> blocks = blocksOfRanges(readRanges(q));
    q.close();
    findHighestIssued(cn, QStringLiteral("tIN010"), QStringLiteral("invoice"), blocks);
    CopyLoader loader(cn);
    const int table = loader.declare(QStringLiteral("tIN020"), {"tp", "tinv1", "tinv2", "tinv3",
                                                                "tinv4", "tinv5", "tinv6", "cnt"});
    for (const InvoiceBlock& b : blocks) {
        const QString highest = b.highest.isEmpty() ? QString() : b.highestDigits();
        const QString next = b.highest.isEmpty() ? b.firstNumber() : b.numberAfterHighest();
        loader.row(table, {b.form, b.key(), b.firstNumber(), highest, b.lastDigits(),
                           next.isEmpty() ? QString() : next, b.lastNumber().mid(2),
                           QString::number(b.blanks())});
        progress.step();
    }
    loader.finish();
}

// The result lines of the record table: the amounts and voided counts per form, then the
// number of records.
void showRecordGroups(Query& q, const ResultLines& lines) {
    q.setSql(QString::fromLatin1(recordGroups));
    q.open();
    lines(QString());
    lines(QStringLiteral("媒體轉檔資料"));
    qint64 total = 0;
    for (q.first(); !q.eof(); q.next()) {
        const qint64 count = q.field(QStringLiteral("cnt")).asInteger();
        total += count;
        const QString type1 = q.field(QStringLiteral("type1")).asText().trimmed();
        const QString form = q.field(QStringLiteral("tp")).asText().trimmed() == QLatin1String("2")
                                 ? QStringLiteral("二聯式發票")
                                 : QStringLiteral("三聯式發票");
        QString line;
        if (type1 == QLatin1String("1"))
            line = form + QStringLiteral("  發票金額 : ") +
                   formatMask(q.field(QStringLiteral("tamt")).asFloat(), figures);
        else if (type1 == QLatin1String("F"))
            line = form + QStringLiteral("  作廢張數 : ") + formatMask(double(count), figures);
        else
            continue; // blank numbers and tax-free invoices count in the total only
        lines(QString());
        lines(line);
    }
    q.close();
    lines(QString());
    lines(QStringLiteral("  轉檔筆數 : ") + QString::number(total));
}

QList<MediaRecord> readRecords(Query& q) {
    q.setSql(QStringLiteral("select * from tin030 order BY tp,tyymm,tinv2,type1"));
    q.open();
    QList<MediaRecord> records;
    records.reserve(q.recordCount());
    const int tp = q.fieldIndex(QStringLiteral("tp")),
              tyymm = q.fieldIndex(QStringLiteral("tyymm")),
              tinv1 = q.fieldIndex(QStringLiteral("tinv1")),
              tinv2 = q.fieldIndex(QStringLiteral("tinv2")),
              amt = q.fieldIndex(QStringLiteral("amt")), tax = q.fieldIndex(QStringLiteral("tax")),
              type1 = q.fieldIndex(QStringLiteral("type1")),
              type2 = q.fieldIndex(QStringLiteral("type2"));
    for (int row = 0; row < q.recordCount(); ++row)
        records.append({q.value(row, tp).toText(), q.value(row, tyymm).toText(),
                        q.value(row, tinv1).toText(), q.value(row, tinv2).toText(),
                        q.value(row, amt), q.value(row, tax), q.value(row, type1).toText(),
                        q.value(row, type2).toText()});
    q.close();
    return records;
}

} // namespace

InvoiceMediaResult runInvoiceMedia(DataModule& dm, const InvoiceMediaParams& params,
                                   Progress& progress, const ResultLines& lines) {
    MonthField start, end;
    if (!parseMonthField(params.start, start))
        throw InputRefused(QStringLiteral("起迄年月 錯誤..."), QStringLiteral("e01"));
    if (!parseMonthField(params.end, end))
        throw InputRefused(QStringLiteral("起迄年月 錯誤..."), QStringLiteral("e02"));
    const QString startCode = start.rocCode(), endCode = end.rocCode();
    const MediaStation station{dm.settings.tax_id.trimmed(), dm.settings.uid.trimmed()};
    checkMediaStation(station);
    const QString path = params.file.isEmpty() ? defaultMediaFilePath(station.uid) : params.file;
    progress.resetCounter();
    auto step = [&progress](const char* label) {
        progress.setLabel(QString::fromUtf8(label));
        progress.step();
    };

    // The trial table may be rebuilt by another station meanwhile: read one snapshot of it.
    Transaction transaction(dm.cn, Connection::Isolation::RepeatableRead);
    Query q(dm.cn);
    checkTrialTable(q, startCode, endCode);

    step("建立空白發票資料檔");
    q.setSql(QStringLiteral("drop table IF EXISTS tIN020"));
    q.execute();
    q.setSql(QString::fromLatin1(tin020CreateStatement));
    q.execute();
    fillBlockTable(dm.cn, q, endCode, progress);

    step("建立二聯式發票媒體暫存檔");
    q.setSql(QStringLiteral("drop table IF EXISTS tIN030"));
    q.execute();
    q.setSql(QString::fromLatin1(tin030CreateStatement));
    q.execute();
    q.setSql(QString::fromLatin1(summaryRecords));
    q.execute();

    step("建立空白發票媒體暫存檔");
    q.setSql(QString::fromLatin1(blankRecords));
    q.param(QStringLiteral("MYYMM")).setText(endCode);
    q.execute();

    step("建立作廢發票媒體暫存檔");
    q.setSql(QString::fromLatin1(voidedRecords));
    q.execute();

    step("建立免稅發票媒體暫存檔");
    q.setSql(QString::fromLatin1(taxFreeRecords));
    q.execute();

    step("建立三聯式發票媒體暫存檔");
    q.setSql(QString::fromLatin1(threePartRecords));
    q.execute();

    step("發票媒體轉檔資料");
    showRecordGroups(q, lines);
    const QList<MediaRecord> records = readRecords(q);
    transaction.commit();
    // Every period has at least the blank numbers of its ranges: a file without records
    // files nothing, and must not take the place of an older one.
    if (records.isEmpty())
        throw DbError(QStringLiteral("媒體檔未寫入：沒有任何記錄 (試算資料中沒有發票，%1 也沒有"
                                     "有效的發票字軌範圍)，原有的檔案維持原狀")
                          .arg(endCode));

    // Every record is made, and checked, before the file is touched.
    const QByteArray content = mediaFileContent(records, station, &progress);
    writeMediaFile(path, content);
    return {path, int(records.size())};
}
