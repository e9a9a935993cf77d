// Sales with invoices and invoice ranges for the invoice tests, written into the test
// cluster's pos_data, and rows read back as texts.
#pragma once

#include "db/connection.h"
#include "db/query.h"
#include "support/test_database.h"

#include <QList>
#include <QStringList>

namespace invoicefix {

// A sale with its invoice. Each sale gets a nozzle of its own, so that sales at one moment
// stay apart.
struct Sale {
    QString time;    // "2024/05/07 10:00:00"
    QString invoice; // "XY12345100"
    QString form = QStringLiteral("2");
    double amount = 105, tax = 5;
    QString taxType = QStringLiteral("TX");
    QString buyer = QStringLiteral("00000000");
    int voided = 0;
    QString printed = QStringLiteral("-1");
};

inline QString quoted(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

inline void insertSales(const QList<Sale>& sales, const QString& database = "pos_data") {
    if (sales.isEmpty()) return;
    static int nozzle = 0;
    QString sql = QStringLiteral(
        "insert into tran (island, gun_no, tran_time, shift, tran_amt, inv_amt, tax, tax_type, "
        "an_mark, invoice, invoice_tp, uid, void, prt_invoice) values ");
    for (qsizetype i = 0; i < sales.size(); ++i) {
        const Sale& s = sales[i];
        ++nozzle;
        sql += QStringLiteral("%1(%2, %3, %4, '1130501_1', %5, %5, %6, %7, '000', %8, %9, %10, "
                              "%11, %12)")
                   .arg(i ? QStringLiteral(", ") : QString(),
                        quoted(QStringLiteral("%1").arg(nozzle / 90 % 90 + 1, 2, 10, QChar('0'))),
                        quoted(QStringLiteral("%1").arg(nozzle % 90 + 1, 2, 10, QChar('0'))),
                        quoted(s.time))
                   .arg(s.amount)
                   .arg(s.tax)
                   .arg(quoted(s.taxType), quoted(s.invoice), quoted(s.form), quoted(s.buyer))
                   .arg(s.voided)
                   .arg(quoted(s.printed));
    }
    testdb::admin(sql, database);
}

// An inv_range row.
inline void insertRange(const QString& month, const QString& start, const QString& end,
                        const QString& form = QStringLiteral("2"),
                        const QString& voided = QStringLiteral("0"),
                        const QString& database = "pos_data") {
    testdb::admin(QStringLiteral("insert into inv_range (inv_date, inv_start, inv_end, code, void) "
                                 "values (%1, %2, %3, %4, %5)")
                      .arg(quoted(month), quoted(start), quoted(end), quoted(form), quoted(voided)),
                  database);
}

// The rows of `sql` as texts, columns in result order.
inline QList<QStringList> rows(Connection& cn, const QString& sql) {
    Query q(cn);
    q.setSql(sql);
    q.open();
    QList<QStringList> list;
    for (q.first(); !q.eof(); q.next()) {
        QStringList row;
        for (int c = 0; c < q.fieldCount(); ++c)
            row << q.fieldAt(c).asText();
        list << row;
    }
    return list;
}

} // namespace invoicefix
