#include "invoice/invoice_trial.h"

#include "app/data_module.h"
#include "app/progress.h"
#include "db/db_error.h"
#include "db/input_refused.h"
#include "invoice/roc_month.h"
#include "reports/common/number_mask.h"

#include <algorithm>

const char* const tin010CreateStatement =
    "create table tIN010 (island char(2),gun_no char(2),tran_time timestamptz, invoice_tp "
    "varchar(1),tax_type varchar(3),inv_amt float8 DEFAULT 0,tax float8 DEFAULT 0, uid "
    "varchar(8),invoice varchar(10),void int2 DEFAULT 0,tdate varchar(05), PRIMARY KEY "
    "(invoice) )";

namespace {

const char* const duplicatesStatement =
    "select t.* from (select count(invoice) as cnt,invoice from tran where "
    "DATE_PART('year',tran_time)=:ME01 and DATE_PART('month',tran_time)>=:ME02 and "
    "DATE_PART('month',tran_time)<=:ME03 and prt_invoice = '-1' and invoice<>'' group by "
    "invoice) t where t.cnt > 1 order by t.invoice";

// The issued invoices of the months that lie in an active range filed under the end month,
// all ranges in one statement: an invoice that two overlapping ranges hold comes twice and
// breaks the table's key, as it would range by range. Each row gets the code of its month as
// it is written, as updating the rows of each month afterwards would give it.
const char* const fillStatement =
    "insert into tIN010 (island,gun_no,tran_time,invoice_tp,tax_type,   inv_amt,tax,uid,invoice,"
    "void,tdate) select island,gun_no,tran_time,invoice_tp,tax_type,inv_amt,tax,    case when "
    "uid='00000000' then '' else uid end ,invoice,void, case when "
    "DATE_PART('month',tran_time)=:M1 then :Mdate1 else :Mdate2 end from tran, (select "
    "inv_start::text as MIn1, inv_end::text as MIn2 From inv_range Where inv_date=:MShift2   and "
    "void = '0') r where DATE_PART('year',tran_time)=:ME01 and DATE_PART('month',tran_time)>=:ME02 "
    "and DATE_PART('month',tran_time)<=:ME03 and invoice>=r.MIn1 and invoice<=r.MIn2 and "
    "prt_invoice = '-1'";

const char* const summaryStatement = "SELECT invoice_tp,void,count(invoice) as cnt,sum(inv_amt) "
                                     "as amt FROM tin010 group by invoice_tp, void";

const char* const adjustmentStatement =
    "SELECT count(invoice) as cnt,sum(inv_amt) as amt FROM tin010 where invoice_tp='2' and "
    "void='0' and inv_amt > :ME05 and uid='' and tax_type='TX'";

const QString figures = QStringLiteral("###,###,##0");

// A whole number as the screen takes one: an optional sign and digits, within 32 bits.
bool wholeNumber(const QString& text, qint64* value) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok) *value = number;
    return ok;
}

struct CheckedParams {
    MonthField start, end;
    bool adjust = false;
    qint64 adjustment = 0;
};

CheckedParams checked(const InvoiceTrialParams& p) {
    const QString months = QStringLiteral("起迄年月 錯誤...");
    CheckedParams c;
    if (!parseMonthField(p.start, c.start)) throw InputRefused(months, QStringLiteral("e01"));
    if (!parseMonthField(p.end, c.end)) throw InputRefused(months, QStringLiteral("e02"));
    if (c.start.yearText != c.end.yearText) throw InputRefused(months, QStringLiteral("e02"));
    const int span = c.end.month - c.start.month;
    if (span != 0 && span != 1) throw InputRefused(months, QStringLiteral("e02"));
    const QString form = p.form.trimmed();
    if (!form.isEmpty() && form != QLatin1String("2") && form != QLatin1String("3"))
        throw InputRefused(QStringLiteral("發票型式 錯誤..."), QStringLiteral("e03"));
    const QString threshold = p.threshold.trimmed();
    if (!threshold.isEmpty()) {
        qint64 over = 0;
        if (!wholeNumber(threshold, &over) || !wholeNumber(p.adjustment.trimmed(), &c.adjustment) ||
            over <= c.adjustment)
            throw InputRefused(QStringLiteral("金額 調整金額 錯誤..."), QStringLiteral("e04"));
        c.adjust = true;
    }
    return c;
}

struct Group {
    QString form;
    qint64 voided = 0;
    qint64 count = 0;
    double amount = 0;
};

// The counts and amounts per invoice form and void mark: the two-part groups first, valid
// before voided, whatever order the server's grouping gave them.
QStringList summaryLines(Query& q) {
    QList<Group> groups;
    for (q.first(); !q.eof(); q.next())
        groups.append({q.field(QStringLiteral("invoice_tp")).asText().trimmed(),
                       q.field(QStringLiteral("void")).asInteger(),
                       q.field(QStringLiteral("cnt")).asInteger(),
                       q.field(QStringLiteral("amt")).asFloat()});
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return a.form != b.form ? a.form < b.form : a.voided < b.voided;
    });
    QStringList lines;
    for (const Group& g : groups) {
        const QString form = g.form == QLatin1String("2") ? QStringLiteral("二聯式發票")
                                                          : QStringLiteral("三聯式發票");
        lines << QString();
        if (g.voided == 0)
            lines << form + QStringLiteral("  有效張數 : ") + formatMask(double(g.count), figures) +
                         QStringLiteral("  發票金額 : ") + formatMask(g.amount, figures);
        else
            lines << form + QStringLiteral("  作廢張數 : ") + formatMask(double(g.count), figures);
    }
    return lines;
}

} // namespace

TrialOutcome runInvoiceTrial(DataModule& dm, const InvoiceTrialParams& params, Progress& progress,
                             const ResultLines& lines) {
    const CheckedParams p = checked(params);
    const QString startCode = p.start.rocCode(), endCode = p.end.rocCode();
    progress.resetCounter();
    auto step = [&progress](const char* label) {
        progress.setLabel(QString::fromUtf8(label));
        progress.step();
    };
    auto setMonths = [&p](Query& q) {
        q.param(QStringLiteral("ME01")).setText(p.start.yearText);
        q.param(QStringLiteral("ME02")).setText(p.start.monthText);
        q.param(QStringLiteral("ME03")).setText(p.end.monthText);
    };

    // One snapshot and all or nothing: the table the media step files from is either the
    // previous trial's or this one's, never a part of it.
    Transaction transaction(dm.cn, Connection::Isolation::RepeatableRead);
    Query q(dm.cn);

    step("檢查發票是否重複?");
    q.setSql(QString::fromLatin1(duplicatesStatement));
    setMonths(q);
    q.open();
    if (!q.isEmpty()) {
        lines(QStringLiteral(" "));
        for (q.first(); !q.eof(); q.next())
            lines(QStringLiteral("發票重複 : ") + q.field(QStringLiteral("invoice")).asText());
        return TrialOutcome::Duplicates;
    }

    step("建立發票資料檔");
    q.close();
    q.setSql(QStringLiteral("drop table IF EXISTS tIN010"));
    q.execute();
    q.setSql(QString::fromLatin1(tin010CreateStatement));
    q.execute();
    q.setSql(QString::fromLatin1(fillStatement));
    setMonths(q);
    q.param(QStringLiteral("MShift2")).setText(endCode);
    q.param(QStringLiteral("M1")).setText(p.start.monthText);
    q.param(QStringLiteral("Mdate1")).setText(startCode);
    q.param(QStringLiteral("Mdate2")).setText(endCode);
    try {
        q.execute();
    } catch (const DbError& e) {
        if (e.sqlState() != QLatin1String("23505")) throw;
        throw DbError(QStringLiteral("同一個發票號碼落在兩個有效的發票字軌範圍內 (inv_range 的"
                                     "範圍重疊)，試算未完成，上次的試算資料維持原狀。\n") +
                          e.message(),
                      e.sqlState(), e.code());
    }
    progress.step();
    step("變更年月發票資料檔");

    step("試算發票資料檔");
    q.setSql(QString::fromLatin1(summaryStatement));
    q.open();
    QStringList result = summaryLines(q);

    if (p.adjust) {
        step("試算發票調整金額");
        q.close();
        q.setSql(QString::fromLatin1(adjustmentStatement));
        q.param(QStringLiteral("ME05")).setText(params.threshold.trimmed());
        q.open();
        QString count = QStringLiteral("0"), amount = count, adjustment = count;
        if (!q.field(QStringLiteral("amt")).isNull()) {
            const qint64 n = q.field(QStringLiteral("cnt")).asInteger();
            count = formatMask(double(n), figures);
            amount = formatMask(q.field(QStringLiteral("amt")).asFloat(), figures);
            adjustment = formatMask(double(n * p.adjustment), figures);
        }
        result << QStringLiteral(" ")
               << QStringLiteral("調整有效發票筆數 : ") + count + QStringLiteral("  發票金額 : ") +
                      amount + QStringLiteral("  調整金額 : ") + adjustment;
    }
    q.close();
    transaction.commit();
    for (const QString& line : result)
        lines(line);
    return TrialOutcome::Done;
}
