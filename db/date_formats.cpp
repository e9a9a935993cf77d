#include "db/date_formats.h"

namespace formats {
namespace {

QString& date() {
    static QString value = QStringLiteral("yyyy/MM/dd");
    return value;
}

QString& time() {
    static QString value = QStringLiteral("HH:mm:ss");
    return value;
}

} // namespace

void applyProcessFormats() {
    date() = QStringLiteral("yyyy/MM/dd");
    time() = QStringLiteral("HH:mm:ss");
}

const QString& dateFormat() {
    return date();
}
const QString& timeFormat() {
    return time();
}
QString dateTimeFormat() {
    return date() + QLatin1Char(' ') + time();
}

} // namespace formats
