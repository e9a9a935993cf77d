#include "reports/business/br040_build.h"

#include "app/data_module.h"
#include "app/product_codes.h"
#include "app/progress.h"
#include "db/connection.h"
#include "db/input_refused.h"
#include "db/query.h"
#include "reports/business/br030_build.h"
#include "reports/common/business_day.h"
#include "reports/common/date_basis.h"
#include "reports/common/work_table.h"

#include <map>

namespace {

const char* const createStatement =
    "create TEMPORARY table tBR040 (shift varchar(7),tdate varchar(10),iqty2 decimal(18,0) "
    "DEFAULT '0',  iqty3 decimal(18,0) DEFAULT '0',iqty5 decimal(18,0) DEFAULT '0', iqty8 "
    "decimal(18,0) DEFAULT '0',oqty2 decimal(18,2) DEFAULT '0.00', oqty3 decimal(18,2) DEFAULT "
    "'0.00',oqty5 decimal(18,2) DEFAULT '0.00', oqty8 decimal(18,2) DEFAULT '0.00',oqtyt "
    "decimal(18,2) DEFAULT '0.00', oamtt decimal(18,0) DEFAULT '0',samt decimal(18,0) DEFAULT "
    "'0', wamt decimal(18,0) DEFAULT '0',tamt decimal(18,0) DEFAULT '0', ticket decimal(18,0) "
    "DEFAULT '0',sign decimal(18,0) DEFAULT '0', credit decimal(18,0) DEFAULT '0',car "
    "decimal(18,0) DEFAULT '0', credit1 decimal(18,0) DEFAULT '0',test decimal(18,0) DEFAULT "
    "'0', disamt decimal(18,0) DEFAULT '0',cash decimal(18,0) DEFAULT '0') ";

// A figure as the day's sums hold it, to four decimals.
Decimal valueOf(Query& q, const char* column) {
    return Decimal::fromColumn(q.field(QString::fromLatin1(column)).value(), 4);
}

// What a decimal(18,0) column keeps, and a decimal(18,2) one.
Decimal whole(Decimal v) {
    return v.rounded(0);
}
Decimal hundredths(Decimal v) {
    return v.rounded(2);
}

// Opens `sql` on `q` over the range's business-day keys.
void openRange(Query& q, const QString& sql, const QString& first, const QString& last) {
    q.close();
    q.setSql(sql);
    q.param(QStringLiteral("MShift1")).setText(first);
    q.param(QStringLiteral("MShift2")).setText(last);
    q.open();
}

Br040Day newDay(const QString& key) {
    Br040Day day;
    day.shift = key;
    day.tdate = key.left(3) + QLatin1Char('/') + key.mid(3, 2) + QLatin1Char('/') + key.mid(5, 2);
    return day;
}

// The columns of tBR040 in the order of the insert below, and their values in a day.
const char* const columns = "shift,tdate,iqty2,iqty3,iqty5,iqty8,oqty2,oqty3,oqty5,oqty8,oqtyt,"
                            "oamtt,samt,wamt,tamt,ticket,sign,credit,car,credit1,test,disamt,cash";

QStringList figures(const Br040Day& d) {
    QStringList list;
    for (const Decimal& v : d.received)
        list << v.toText();
    for (const Decimal& v : d.sold)
        list << v.toText();
    for (const Decimal& v :
         {d.soldTotal, d.fuelSales, d.goods, d.carWash, d.revenue, d.tickets, d.charges,
          d.bankCards, d.fleetCard, d.jieliCard, d.tests, d.discounts, d.cash})
        list << v.toText();
    return list;
}

// Writes the days with one statement.
void insertDays(Query& work, const QList<Br040Day>& days) {
    if (days.isEmpty()) return;
    QString sql = QStringLiteral("insert into tBR040 (%1) values ").arg(QLatin1String(columns));
    for (qsizetype i = 0; i < days.size(); ++i)
        sql += QStringLiteral("%1(:MShift%2,:MDate%2,%3)")
                   .arg(i ? QStringLiteral(",") : QString())
                   .arg(i)
                   .arg(figures(days[i]).join(QLatin1Char(',')));
    work.close();
    work.setSql(sql);
    for (qsizetype i = 0; i < days.size(); ++i) {
        work.param(QStringLiteral("MShift%1").arg(i)).setText(days[i].shift);
        work.param(QStringLiteral("MDate%1").arg(i)).setText(days[i].tdate);
    }
    work.execute();
}

void addTo(Br040Day& sum, const Br040Day& d) {
    for (std::size_t p = 0; p < 4; ++p) {
        sum.received[p] += d.received[p];
        sum.sold[p] += d.sold[p];
    }
    sum.soldTotal += d.soldTotal;
    sum.fuelSales += d.fuelSales;
    sum.goods += d.goods;
    sum.carWash += d.carWash;
    sum.revenue += d.revenue;
    sum.tickets += d.tickets;
    sum.charges += d.charges;
    sum.bankCards += d.bankCards;
    sum.fleetCard += d.fleetCard;
    sum.jieliCard += d.jieliCard;
    sum.tests += d.tests;
    sum.discounts += d.discounts;
    sum.cash += d.cash;
}

} // namespace

Br040Report buildBr040(DataModule& dm, Query& work, const Br040Params& params, Progress& progress) {
    const QString first = businessDayKey(checkedDay(params.start, "e01"));
    const QString last = businessDayKey(checkedDay(params.end, "e02"));
    Br040Report report;
    report.station = dm.settings.st_name;
    report.start = params.start;
    report.end = params.end;

    recreateWorkTable(work, QStringLiteral("tBR040"), QString::fromLatin1(createStatement));
    // The days' takings, tanks, goods and tests from one picture of the database.
    Transaction snapshot(dm.cn, Connection::Isolation::RepeatableRead);
    std::map<QString, Br040Day> days; // by business-day key, which sorts as the dates

    // Revenue.
    openRange(
        work,
        QStringLiteral(
            "select substr(shift,1,7) as shift,sum(oil_amt_2) as oamt,sum(goods_amt+diff_amt1) "
            "as swamt,   sum(tot_amt_2+diff_amt1) as tamt,sum(oil_disc) as disamt,"
            "sum(ticket_amt) as ticket,   sum(cdc1_amt) as credit,sum(cdc2_amt+credit_amt) as "
            "sign From shift_05 Where substr(shift,1,7)>=:MShift1   and "
            "substr(shift,1,7)<=:MShift2 Group by substr(shift,1,7) order by "
            "substr(shift,1,7) "),
        first, last);
    for (work.first(); !work.eof(); work.next()) {
        Br040Day day = newDay(work.field(QStringLiteral("shift")).asText());
        day.fuelSales = whole(valueOf(work, "oamt"));
        day.goods = whole(valueOf(work, "swamt"));
        day.revenue = whole(valueOf(work, "tamt"));
        day.discounts = whole(valueOf(work, "disamt"));
        day.tickets = whole(valueOf(work, "ticket"));
        day.bankCards = whole(valueOf(work, "credit"));
        day.charges = whole(valueOf(work, "sign"));
        days.insert_or_assign(day.shift, day);
        progress.step();
    }

    // Tanks: a day without takings still gets its row; several tanks of one product add up,
    // each as its column keeps it.
    openRange(work,
              QStringLiteral(
                  "select substr(m.shift,1,7) as shift,m.tank,sum(m.in_stock) as iqty,   "
                  "sum(m.sale) as oqty,d.productno From shift_03_tank as m, tank_data as d Where "
                  "substr(m.shift,1,7)>=:MShift1   and substr(m.shift,1,7)<=:MShift2   and "
                  "substr(m.tank,2,1)=d.tankno Group by substr(m.shift,1,7),m.tank,d.productno "
                  "order by substr(m.shift,1,7),m.tank "),
              first, last);
    for (work.first(); !work.eof(); work.next()) {
        const QString key = work.field(QStringLiteral("shift")).asText();
        auto at = days.find(key);
        if (at == days.end()) at = days.emplace(key, newDay(key)).first;
        const int p = br030ProductOf(work.field(QStringLiteral("productno")).asText());
        if (p >= 0) {
            Br040Day& day = at->second;
            day.received[std::size_t(p)] =
                whole(day.received[std::size_t(p)] + valueOf(work, "iqty"));
            day.sold[std::size_t(p)] = hundredths(day.sold[std::size_t(p)] + valueOf(work, "oqty"));
        }
        progress.step();
    }

    // Car wash and the card deductions, on the days that have a row.
    openRange(
        work,
        QStringLiteral(
            "select substr(shift,1,7) as shift,product_id,class,sum(amt) as amt From "
            "shift_06 Where substr(shift,1,7)>=:MShift1   and substr(shift,1,7)<=:MShift2   "
            "and ((class='102') or (class='132')) Group by substr(shift,1,7),product_id,class "
            "order by substr(shift,1,7),product_id "),
        first, last);
    for (work.first(); !work.eof(); work.next()) {
        progress.step();
        const auto at = days.find(work.field(QStringLiteral("shift")).asText());
        if (at == days.end()) continue;
        Br040Day& day = at->second;
        const QString product = work.field(QStringLiteral("product_id")).asText().trimmed();
        const Decimal amt = valueOf(work, "amt");
        if (product == products::Prod700LT) day.fleetCard = whole(day.fleetCard - amt);
        if (product == products::Prod700CT) day.jieliCard = whole(day.jieliCard - amt);
        if (work.field(QStringLiteral("class")).asText().trimmed() == QLatin1String("102")) {
            day.goods = whole(day.goods - amt);
            day.carWash = whole(day.carWash + amt);
        }
    }

    // Tests, on the days that have a row.
    openRange(work,
              QStringLiteral("select substr(shift,1,7) as shift,sum(test_amt+walk_amt) as amt From "
                             "shift_02_oil Where substr(shift,1,7)>=:MShift1   and "
                             "substr(shift,1,7)<=:MShift2 Group by substr(shift,1,7) order by "
                             "substr(shift,1,7) "),
              first, last);
    for (work.first(); !work.eof(); work.next()) {
        progress.step();
        const auto at = days.find(work.field(QStringLiteral("shift")).asText());
        if (at != days.end()) at->second.tests = whole(at->second.tests + valueOf(work, "amt"));
    }

    // The day totals, and the range's.
    for (auto& [key, day] : days) {
        Decimal sold;
        for (const Decimal& v : day.sold)
            sold += v;
        day.soldTotal = hundredths(sold);
        day.cash = whole(day.revenue - day.tickets - day.bankCards - day.charges - day.fleetCard -
                         day.jieliCard - day.discounts);
        report.days.append(day);
        addTo(report.totals, day);
        progress.step();
    }
    insertDays(work, report.days);
    work.close();
    dm.qy.close();
    dm.qy.setSql(QStringLiteral("select * from tBR040 order by tdate "));
    dm.qy.open();
    snapshot.commit();
    return report;
}
