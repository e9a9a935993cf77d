#include "invoice/invoice_blocks.h"

#include "db/connection.h"
#include "db/db_error.h"
#include "db/query.h"

#include <QHash>
#include <QSet>

namespace {

constexpr qint64 blockSize = 250;

bool isLetter(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Two letters and eight digits.
bool isInvoiceNumber(const QString& number) {
    if (number.size() != 10 || !isLetter(number[0]) || !isLetter(number[1])) return false;
    for (qsizetype i = 2; i < 10; ++i)
        if (!isDigit(number[i])) return false;
    return true;
}

QString digits(qint64 number, int width) {
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

// The nearest block to `number`, halves up.
qint64 nearestBlock(qint64 number) {
    return (2 * number + blockSize) / (2 * blockSize);
}

} // namespace

QString InvoiceBlock::key() const {
    return letters + digits(index, 6);
}

QString InvoiceBlock::firstNumber() const {
    return letters + digits(index * blockSize, 8);
}

QString InvoiceBlock::lastNumber() const {
    return letters + digits(index * blockSize + blockSize - 1, 8);
}

int InvoiceBlock::blanks() const {
    if (highest.isEmpty()) return int(blockSize);
    return lastDigits().toInt() - highestDigits().toInt();
}

QString InvoiceBlock::firstBlankDigits() const {
    if (highest.isEmpty()) return firstDigits();
    const int next = highestDigits().toInt() + 1;
    return next > 999 ? QString() : digits(next, 3);
}

QString InvoiceBlock::numberAfterHighest() const {
    const QString last3 = firstBlankDigits();
    return last3.isEmpty() ? QString() : prefix() + last3;
}

QList<InvoiceRange> readRanges(Query& ranges) {
    QList<InvoiceRange> list;
    for (ranges.first(); !ranges.eof(); ranges.next())
        list.append({ranges.field(QStringLiteral("inv_start")).asText().trimmed(),
                     ranges.field(QStringLiteral("inv_end")).asText().trimmed(),
                     ranges.field(QStringLiteral("code")).asText().trimmed()});
    return list;
}

QList<InvoiceBlock> blocksOfRanges(const QList<InvoiceRange>& ranges) {
    QList<InvoiceBlock> blocks;
    QSet<QString> given;
    for (const InvoiceRange& r : ranges) {
        if (!isInvoiceNumber(r.start) || !isInvoiceNumber(r.end))
            throw DbError(QStringLiteral("發票字軌範圍 %1 - %2 的號碼不是兩個英文字母加八位數字，"
                                         "無法計算空白發票")
                              .arg(r.start, r.end));
        const qint64 first = nearestBlock(r.start.mid(2).toLongLong());
        const qint64 end = nearestBlock(r.end.mid(2).toLongLong() + 1);
        for (qint64 k = first; k < end; ++k) {
            InvoiceBlock b{r.form, r.start.left(2), k, {}};
            if (given.contains(b.key())) continue;
            given.insert(b.key());
            blocks.append(b);
        }
    }
    return blocks;
}

void findHighestIssued(Connection& cn, const QString& table, const QString& column,
                       QList<InvoiceBlock>& blocks) {
    if (blocks.isEmpty()) return;
    // Block numbers are letters and digits only (blocksOfRanges checked them), so they are
    // written into the statement as they stand.
    QString values;
    values.reserve(blocks.size() * 28);
    for (const InvoiceBlock& b : blocks) {
        if (!values.isEmpty()) values += QLatin1Char(',');
        values += QStringLiteral("('%1','%2')").arg(b.firstNumber(), b.lastNumber());
    }
    Query q(cn);
    q.setSql(QStringLiteral("select b.lo, max(t.%1) as invo from (values %2) as b(lo, hi) join %3 "
                            "t on t.%1 >= b.lo and t.%1 <= b.hi group by b.lo")
                 .arg(column, values, table));
    q.open();
    QHash<QString, QString> highest;
    for (q.first(); !q.eof(); q.next())
        highest.insert(q.fieldAt(0).asText(), q.fieldAt(1).asText());
    for (InvoiceBlock& b : blocks) {
        const QString number = highest.value(b.firstNumber());
        if (number.isEmpty()) continue;
        if (!isInvoiceNumber(number))
            throw DbError(QStringLiteral("發票號碼「%1」不是兩個英文字母加八位數字，無法計算"
                                         "空白發票")
                              .arg(number));
        b.highest = number;
    }
}
