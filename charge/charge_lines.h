// The charge-account sales lines that the charge-customer reports read, and the discount a
// company gets on each of them: the pieces of SQL their builds share. The sale is `m`
// (tran), the line `d` (tran_detl) and the company `c` (cust_unit, left joined: null when the
// sale's company is not in cust_unit).
#pragma once

#include <QString>

class Connection;

namespace chargeLines {

// The conditions that keep live sales paid "903" or "904" and join each to its lines,
// beginning with "and " and ending in a blank.
QString liveChargeLinesSql();
// The discount per litre of the line, as numeric: the company's petrol rate `discount_g`
// for fuel (class "101") whose product id begins with "113F 12", its diesel rate
// `discount_d` for other fuel, 0 for other classes and for a company not found.
QString discountRateSql();
// The line's discount amount: the rate times its litres, worked out in decimal and rounded
// to a whole number, halves away from zero (0.5 on 45 L takes off 23).
QString lineDiscountSql();

// Makes the statements of the transaction now running on `cn` join a month of sales and
// lines by hashing. The date and shift conditions of the reports, on expressions, leave the
// planner guessing a row or two where a month holds tens of thousands; it would then look
// each line's masters up, or scan a whole table for each line, one by one. Throws DbError.
void preferHashJoins(Connection& cn);

} // namespace chargeLines
