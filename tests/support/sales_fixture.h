// Sales written straight into tran and tran_detl of the test pos_data, as the point-of-sale
// system records them: a header and its lines sharing island, gun and time.
#pragma once

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>

struct DemoOptions;

namespace fixture {

struct Line {
    QString product;
    QString cls;
    double price = 0, qty = 0, amt = 0;
};

struct Sale {
    QString time;               // "2024/05/07 10:00:00"
    QString shift;              // "1130507_1"
    QString car, company, card; // car_no, ref_no2, ref_no4; a null text writes NULL
    QString payment = QStringLiteral("903");
    QString mark = QStringLiteral("100");
    QList<Line> lines;
    QString island = QStringLiteral("01"), gun = QStringLiteral("01");
};

// Writes `sales` with one statement per table. Sales must differ in island, gun or time.
void insertSales(const QList<Sale>& sales);

// The product ids of the four fuels and a few others the tests sell.
inline const QString diesel = QStringLiteral("113F 51101001");
inline const QString u92 = QStringLiteral("113F 12092005");
inline const QString u95 = QStringLiteral("113F 12095001");
inline const QString u98 = QStringLiteral("113F 12098008");
inline const QString kerosene = QStringLiteral("114X 00000001"); // class 101, none of the four
inline const QString carWash = QStringLiteral("300A 00000001");  // class 102
inline const QString discountLine = QStringLiteral("131D000000001");

// Writes these products into product, with Chinese names.
void insertProducts();

// Recreates pos_data holding a generated demo station of `days` business days ending with
// `lastDay`, about `salesPerDay` sales a day.
void demoStation(quint64 seed, int days, int salesPerDay, const QDate& lastDay);
// Generates the demo station of `options` into the test pos_data as it stands (its tables
// empty), in one load.
void loadDemoStation(const DemoOptions& options);

} // namespace fixture

Q_DECLARE_METATYPE(fixture::Sale)
Q_DECLARE_METATYPE(QList<fixture::Sale>)
