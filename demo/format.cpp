#include "demo/format.h"

namespace demo {

namespace {

// Writes `value` (>= 0) as at least `width` digits ending just before `end`; returns the
// first character written.
char* writeDigits(char* end, quint64 value, int width) {
    char* p = end;
    do {
        *--p = char('0' + value % 10);
        value /= 10;
    } while (value != 0 || end - p < width);
    return p;
}

} // namespace

QString fixedText(qint64 units, int decimals) {
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    const bool negative = units < 0;
    const quint64 magnitude = negative ? 0 - quint64(units) : quint64(units);
    char* p;
    if (decimals == 0) {
        p = writeDigits(end, magnitude, 1);
    } else {
        quint64 scale = 1;
        for (int i = 0; i < decimals; ++i)
            scale *= 10;
        p = writeDigits(end, magnitude % scale, decimals);
        *--p = '.';
        p = writeDigits(p, magnitude / scale, 1);
    }
    if (negative) *--p = '-';
    return QString::fromLatin1(p, end - p);
}

QString businessDayKey(QDate day) {
    char buffer[7];
    writeDigits(buffer + 3, quint64(day.year() - 1911), 3);
    writeDigits(buffer + 5, quint64(day.month()), 2);
    writeDigits(buffer + 7, quint64(day.day()), 2);
    return QString::fromLatin1(buffer, 7);
}

QString rocMonthCode(int year, int month) {
    char buffer[5];
    writeDigits(buffer + 3, quint64(year - 1911), 3);
    writeDigits(buffer + 5, quint64(month), 2);
    return QString::fromLatin1(buffer, 5);
}

QString timestampPrefix(QDate day) {
    char buffer[11];
    writeDigits(buffer + 4, quint64(day.year()), 4);
    buffer[4] = '-';
    writeDigits(buffer + 7, quint64(day.month()), 2);
    buffer[7] = '-';
    writeDigits(buffer + 10, quint64(day.day()), 2);
    buffer[10] = ' ';
    return QString::fromLatin1(buffer, 11);
}

QString timestampText(const QString& prefix, int secondOfDay) {
    QString text(prefix.size() + 8, Qt::Uninitialized);
    QChar* out = text.data();
    for (QChar c : prefix)
        *out++ = c;
    const int parts[3] = {secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) *out++ = u':';
        *out++ = QChar(u'0' + parts[i] / 10);
        *out++ = QChar(u'0' + parts[i] % 10);
    }
    return text;
}

} // namespace demo
