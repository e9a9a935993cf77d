// BR080 gift detail and statistics: the gifts (class 104 lines) handed out with the sales of
// a date range, line by line or summed per day and gift, and the total of each gift. Read
// straight from tran and tran_detl, no work table.
#pragma once

#include <QString>

class DataModule;
class Progress;

// The screen's parameter texts as the user sees them.
struct Br080Params {
    QString start, end;                       // yyyy/MM/dd
    QString gift;                             // one gift product id, empty for all
    QString mode = QStringLiteral("1:明細");  // "1:明細" detail, "2:統計" statistics
    QString order = QStringLiteral("1:日期"); // "1:日期" by date, "2:贈品" by gift
    QString pageBreak = QStringLiteral("N");  // "Y": each group on a page of its own
    QString basis = QStringLiteral("1:交班日期");

    bool detail() const { return mode.startsWith(QLatin1Char('1')); }
    bool byDate() const { return order.startsWith(QLatin1Char('1')); }
};

// The texts the printed layout's title band shows.
struct Br080Titles {
    QString station;
    Br080Params params;
};

// Opens the layout's rows on the data module's qy and the totals per gift on its qy1, both
// in one snapshot. Throws DbError, and InputRefused for a date text that is no date.
Br080Titles buildBr080(DataModule& dm, const Br080Params& params, Progress& progress);
