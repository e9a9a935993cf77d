// BR030 daily revenue summary: one business day's fuel sales of the four main products broken
// down by how they were paid, the goods and car-wash revenue, the income line, the month to
// date and the tank stock of the day (work table tBR030).
#pragma once

#include "reports/common/decimal.h"

#include <QString>
#include <array>
#include <optional>

class DataModule;
class Progress;
class Query;

// The screen's parameter texts as the user sees them.
struct Br030Params {
    QString date;                             // the business day, yyyy/MM/dd
    QString weather = QStringLiteral("晴天"); // printed as typed
};

// The four main fuels in the order the report prints them: 200 九二無鉛, 300 超級柴油,
// 500 九五無鉛, 800 九八無鉛.
constexpr int br030ProductCount = 4;
// The code a product prints under and names its labels with: 2, 3, 5 or 8.
int br030ProductCode(int product);
// The index of a product id among the four (trailing blanks ignored), -1 for any other.
int br030ProductOf(const QString& productId);

// The columns of the revenue grid, numbered as printed (there is no 09).
struct Br030Col {
    enum : int {
        Cash = 1,      // 現金: what is left of the sales after every other column
        Tickets = 2,   // 油票
        Charge = 3,    // 簽帳
        BankCard = 4,  // 刷卡
        Tests = 5,     // 試桶: pumped, not sold
        Fleet = 6,     // 車隊 card
        Jieli = 7,     // 捷利 card
        Discount = 8,  // 折讓金額, amount only
        Dispensed = 10 // 合計: the day's sales
    };
};

struct Br030Cell {
    qint64 amount = 0; // whole dollars
    Decimal quantity;  // litres
};

// Every figure of the printed page but the tank table.
struct Br030Figures {
    std::array<std::array<Br030Cell, 11>, br030ProductCount> cells{}; // [product][column]
    std::array<qint64, 11> totals{}; // 主油品合計: each column's amounts of the four products
    qint64 otherDeductions = 0;      // 其他折抵
    std::array<qint64, 11> subProduct{}; // 副品(洗)合計: columns 01, 03, 04 and 10
    // The income line.
    qint64 incomeCash = 0, fleetCard = 0, jieliCard = 0, mainIncome = 0, subIncome = 0, carWash = 0,
           totalIncome = 0;
    // The month to the day, tests left out, and its daily averages: litres to the hundredth,
    // dollars whole, each rounded once from the exact quotient.
    Decimal monthQuantity, monthAmount, averageQuantity, averageAmount;
    // The day's shift_05 sums as the data module's qy holds them; none where the sum is null.
    std::optional<qint64> goodsSales, productDiscount, bankCards, charges, tickets, passbook;

    // The litres the four products sold (本日發油量).
    Decimal dayQuantity() const;
    // The product's share of the day's sales amount in percent, to the hundredth; none when
    // the product sold nothing or the day's total is zero.
    std::optional<Decimal> share(int product) const;
};

// The texts of the title bands.
struct Br030Titles {
    QString station, date, weather;
};

struct Br030Report {
    Br030Titles titles;
    Br030Figures figures;
};

// Builds the day of `params.date` in one snapshot of the station database: the figures, the
// day's shift_05 sums left open on the data module's qy, and tBR030 (recreated through `work`)
// open on its qy1, ordered by tank. Throws DbError; InputRefused naming e01 for a date that
// is none.
Br030Report buildBr030(DataModule& dm, Query& work, const Br030Params& params, Progress& progress);
