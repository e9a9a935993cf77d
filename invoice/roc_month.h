// Month fields of the invoice screens ("yyyy/MM") and the ROC month codes the tax office and
// inv_range file invoices under: the year of the Republic-of-China calendar as three digits,
// then the month, so May 2024 is 11305.
#pragma once

#include <QString>

struct MonthField {
    int year = 0;                // 1912 to 2910, so that the ROC year has three digits
    int month = 0;               // 1 to 12
    QString yearText, monthText; // "2024", "05": the field's characters 1-4 and 6-7
    // The ROC month code, five digits.
    QString rocCode() const;
};

// The month in `text`: four digits, "/", two digits, blanks around ignored. Returns false
// for anything else, a month outside 1-12 or a year outside the three-digit ROC years, and
// then leaves `month` as it was.
bool parseMonthField(const QString& text, MonthField& month);

// The ROC month code of `year` and `month`: 2024 and 5 give "11305", 2010 and 12 "09912".
QString rocMonthCode(int year, int month);
