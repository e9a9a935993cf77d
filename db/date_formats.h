// The process-wide formats of every conversion between dates or times and text: dates
// "yyyy/MM/dd" (2012/03/05), times "HH:mm:ss" (24-hour clock).
#pragma once

#include <QString>

namespace formats {

// Sets the date and time formats to the station's standard. Start-up and every screen call
// it when they open; it may be called any number of times.
void applyProcessFormats();

// The current formats, in Qt's notation.
const QString& dateFormat();
const QString& timeFormat();
// Date and time joined by one blank.
QString dateTimeFormat();

} // namespace formats
