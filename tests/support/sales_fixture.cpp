#include "support/sales_fixture.h"

#include "app/progress.h"
#include "db/connection.h"
#include "db/copy_loader.h"
#include "demo/station_generator.h"
#include "support/test_database.h"

#include <QStringList>

namespace fixture {

namespace {

QString text(const QString& value) {
    if (value.isNull()) return QStringLiteral("NULL");
    return QLatin1Char('\'') + QString(value).replace('\'', "''") + QLatin1Char('\'');
}

QString number(double value) {
    return QString::number(value, 'g', 15);
}

} // namespace

void insertSales(const QList<Sale>& sales) {
    QStringList heads, lines;
    for (const Sale& s : sales) {
        double total = 0;
        int seq = 0;
        for (const Line& l : s.lines) {
            total += l.amt;
            lines << QStringLiteral("(%1, %2, %3, %4, %5, %6, %7, %8, %9, %10)")
                         .arg(text(s.island), text(s.gun), text(s.time))
                         .arg(++seq)
                         .arg(text(s.shift), text(l.product), text(l.cls))
                         .arg(number(l.price), number(l.qty), number(l.amt));
        }
        heads << QStringLiteral("(%1, %2, %3, %4, %5, %6, %7, %8, %9, %10)")
                     .arg(text(s.island), text(s.gun), text(s.time), text(s.shift), text(s.car),
                          text(s.company), text(s.card), text(s.payment), text(s.mark))
                     .arg(number(total));
    }
    if (!heads.isEmpty())
        testdb::admin("insert into tran (island, gun_no, tran_time, shift, car_no, ref_no2, "
                      "ref_no4, payment, an_mark, tran_amt) values " +
                          heads.join(", "),
                      "pos_data");
    if (!lines.isEmpty())
        testdb::admin("insert into tran_detl (island, gun_no, tran_time, seq, shift, product_id, "
                      "class, price, qty, amt) values " +
                          lines.join(", "),
                      "pos_data");
}

void insertProducts() {
    testdb::admin(QString::fromUtf8("insert into product (product_id, name, class, price) values "
                                    "('113F 51101001', '超級柴油', '101', 25), "
                                    "('113F 12092005', '九二無鉛', '101', 30), "
                                    "('113F 12095001', '九五無鉛', '101', 31), "
                                    "('113F 12098008', '九八無鉛', '101', 33), "
                                    "('114X 00000001', '煤油', '101', 20), "
                                    "('300A 00000001', '洗車', '102', 120), "
                                    "('131D000000001', '加油折扣', '131', 0)"),
                  "pos_data");
}

void demoStation(quint64 seed, int days, int salesPerDay, const QDate& lastDay) {
    testdb::recreate();
    DemoOptions options;
    options.seed = seed;
    options.days = days;
    options.salesPerDay = salesPerDay;
    options.lastDay = lastDay;
    loadDemoStation(options);
}

void loadDemoStation(const DemoOptions& options) {
    Connection cn;
    testdb::configure(cn);
    CopyLoader loader(cn);
    SilentProgress progress;
    generateDemoStation(options, loader, progress);
    loader.finish();
}

} // namespace fixture
