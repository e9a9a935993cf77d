// The checks of a corrected oil receipt before it is saved, and the earliest business day
// that saved corrections touched, from which the tank stock must be recomputed.
#pragma once

#include <QString>

class Query;

// Refuses litres or a purchase price typed as something that is no number: InputRefused
// "數量欄位錯誤,請輸入數字..." for field DBEdit3, "進油單價欄位錯誤,請輸入數字..." for DBEdit4.
// An empty text passes: the field is saved as 0.
void checkReceiptFigures(const QString& litresText, const QString& priceText);

// Checks on `qy` that shift code `shift` has tank rows and that tank digit `tank` exists,
// both trimmed, and returns the product of that tank (its tank_data.productno). Throws
// InputRefused "班別錯誤,請重新輸入..." for field DBEdit1 or "油槽錯誤,請重新輸入..." for DBEdit2;
// DbError when a statement fails. Leaves `qy` open.
QString checkReceiptShiftAndTank(Query& qy, const QString& shift, const QString& tank);

// The lower, as text, of the business-day key `earliest` and the day of shift code `shift`
// (its first seven characters); `earliest` when those name no day.
QString earlierKey(const QString& earliest, const QString& shift);
