#include "db/value.h"

#include "db/date_formats.h"
#include "db/db_error.h"

#include <QLocale>
#include <cmath>

namespace {

double roundHalfAway(double x) {
    return x < 0 ? -std::floor(-x + 0.5) : std::floor(x + 0.5);
}

bool readInteger(const QString& text, qint64* out) {
    bool ok = false;
    const QString t = text.trimmed();
    *out = t.startsWith(QLatin1Char('+')) ? t.mid(1).toLongLong(&ok) : t.toLongLong(&ok);
    return ok;
}

bool readDouble(const QString& text, double* out) {
    bool ok = false;
    *out = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

QDate readDate(const QString& text) {
    const QString t = text.trimmed();
    for (const char* f : {"yyyy/MM/dd", "yyyy-MM-dd", "yyyy/M/d", "yyyy-M-d"}) {
        QDate d = QDate::fromString(t, QLatin1String(f));
        if (d.isValid()) return d;
    }
    return {};
}

QTime readTime(const QString& text) {
    const QString t = text.trimmed();
    for (const char* f : {"HH:mm:ss", "HH:mm:ss.zzz", "H:mm:ss", "HH:mm", "H:mm"}) {
        QTime time = QTime::fromString(t, QLatin1String(f));
        if (time.isValid()) return time;
    }
    return {};
}

Value asNumber(const Value& v) {
    switch (v.type()) {
    case Value::Type::Integer:
    case Value::Type::Float:
    case Value::Type::Null:
        return v;
    case Value::Type::Boolean:
        return Value(qint64(v.toBool() ? 1 : 0));
    case Value::Type::Text: {
        qint64 i = 0;
        if (readInteger(v.toText(), &i)) return Value(i);
        return Value(v.toDouble());
    }
    default:
        throw DbError(QStringLiteral("「%1」不是數字，不能加減").arg(v.toText()));
    }
}

template <typename Op> Value arithmetic(const Value& a, const Value& b, Op op) {
    if (a.isNull() || b.isNull()) return {};
    const Value x = asNumber(a), y = asNumber(b);
    if (x.type() == Value::Type::Integer && y.type() == Value::Type::Integer)
        return Value(qint64(op(x.toInt(), y.toInt())));
    return Value(double(op(x.toDouble(), y.toDouble())));
}

} // namespace

QDateTime Timestamp::toQDateTime() const {
    return hasOffset ? QDateTime(date, time, Qt::OffsetFromUTC, offset) : QDateTime(date, time);
}

Value::Value(const QDateTime& dateTime) {
    if (dateTime.timeSpec() == Qt::LocalTime)
        v_ = Timestamp{dateTime.date(), dateTime.time(), false, 0};
    else
        v_ = Timestamp{dateTime.date(), dateTime.time(), true, dateTime.offsetFromUtc()};
}

QString formatNumber(double number) {
    if (std::isnan(number)) return QStringLiteral("NaN");
    if (std::isinf(number)) return number > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (number == 0) return QStringLiteral("0"); // also -0
    return QString::number(number, 'g', 15);
}

QString exactNumberText(double number) {
    if (std::isnan(number)) return QStringLiteral("NaN");
    if (std::isinf(number))
        return number > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (number == 0) return QStringLiteral("0");
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

QString Value::toText() const {
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Text:
        return std::get<QString>(v_);
    case Type::Integer:
        return QString::number(std::get<qint64>(v_));
    case Type::Float:
        return formatNumber(std::get<double>(v_));
    case Type::Boolean:
        return std::get<bool>(v_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Date:
        return std::get<QDate>(v_).toString(formats::dateFormat());
    case Type::Time:
        return std::get<QTime>(v_).toString(formats::timeFormat());
    case Type::DateTime: {
        const Timestamp& t = std::get<Timestamp>(v_);
        if (t.hasOffset) return t.toQDateTime().toLocalTime().toString(formats::dateTimeFormat());
        return t.date.toString(formats::dateFormat()) + QLatin1Char(' ') +
               t.time.toString(formats::timeFormat());
    }
    }
    return {};
}

qint64 Value::toInt() const {
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return std::get<qint64>(v_);
    case Type::Float: {
        const double d = std::get<double>(v_);
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
            throw DbError(QStringLiteral("「%1」超出整數範圍").arg(formatNumber(d)));
        return qint64(roundHalfAway(d));
    }
    case Type::Boolean:
        return std::get<bool>(v_) ? 1 : 0;
    case Type::Text: {
        qint64 i = 0;
        if (readInteger(std::get<QString>(v_), &i)) return i;
        throw DbError(QStringLiteral("「%1」不是有效的整數").arg(std::get<QString>(v_)));
    }
    default:
        throw DbError(QStringLiteral("「%1」不是整數").arg(toText()));
    }
}

double Value::toDouble() const {
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return double(std::get<qint64>(v_));
    case Type::Float:
        return std::get<double>(v_);
    case Type::Boolean:
        return std::get<bool>(v_) ? 1 : 0;
    case Type::Text: {
        double d = 0;
        if (readDouble(std::get<QString>(v_), &d)) return d;
        throw DbError(QStringLiteral("「%1」不是有效的數字").arg(std::get<QString>(v_)));
    }
    default:
        throw DbError(QStringLiteral("「%1」不是數字").arg(toText()));
    }
}

bool Value::toBool() const {
    switch (type()) {
    case Type::Null:
        return false;
    case Type::Boolean:
        return std::get<bool>(v_);
    case Type::Integer:
    case Type::Float:
        return toDouble() != 0;
    case Type::Text: {
        const QString t = std::get<QString>(v_).trimmed().toLower();
        return t == "t" || t == "true" || t == "1" || t == "y" || t == "yes";
    }
    default:
        return true;
    }
}

QDate Value::toDate() const {
    switch (type()) {
    case Type::Date:
        return std::get<QDate>(v_);
    case Type::DateTime: {
        const Timestamp& t = std::get<Timestamp>(v_);
        return t.hasOffset ? t.toQDateTime().toLocalTime().date() : t.date;
    }
    case Type::Text: {
        const QString t = std::get<QString>(v_);
        QDate d = readDate(t.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty));
        if (d.isValid()) return d;
        throw DbError(QStringLiteral("「%1」不是有效的日期").arg(t));
    }
    case Type::Null:
        return {};
    default:
        throw DbError(QStringLiteral("「%1」不是日期").arg(toText()));
    }
}

QDateTime Value::toDateTime() const {
    switch (type()) {
    case Type::DateTime:
        return std::get<Timestamp>(v_).toQDateTime();
    case Type::Date:
        return QDateTime(std::get<QDate>(v_), QTime(0, 0));
    case Type::Text: {
        const QString t = std::get<QString>(v_).trimmed();
        const QString datePart = t.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        const QString timePart = t.section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty);
        const QDate d = readDate(datePart);
        const QTime time = timePart.isEmpty() ? QTime(0, 0) : readTime(timePart);
        if (d.isValid() && time.isValid()) return QDateTime(d, time);
        throw DbError(QStringLiteral("「%1」不是有效的日期時間").arg(t));
    }
    case Type::Null:
        return {};
    default:
        throw DbError(QStringLiteral("「%1」不是日期時間").arg(toText()));
    }
}

QTime Value::toTime() const {
    switch (type()) {
    case Type::Time:
        return std::get<QTime>(v_);
    case Type::DateTime: {
        const Timestamp& t = std::get<Timestamp>(v_);
        return t.hasOffset ? t.toQDateTime().toLocalTime().time() : t.time;
    }
    case Type::Text: {
        QTime t = readTime(std::get<QString>(v_));
        if (t.isValid()) return t;
        throw DbError(QStringLiteral("「%1」不是有效的時間").arg(std::get<QString>(v_)));
    }
    case Type::Null:
        return {};
    default:
        throw DbError(QStringLiteral("「%1」不是時間").arg(toText()));
    }
}

QString Value::sqlText() const {
    switch (type()) {
    case Type::Null:
        return {};
    case Type::Text:
        return std::get<QString>(v_);
    case Type::Integer:
        return QString::number(std::get<qint64>(v_));
    case Type::Float:
        return exactNumberText(std::get<double>(v_));
    case Type::Boolean:
        return std::get<bool>(v_) ? QStringLiteral("true") : QStringLiteral("false");
    case Type::Date:
        return std::get<QDate>(v_).toString(Qt::ISODate);
    case Type::Time: {
        const QTime t = std::get<QTime>(v_);
        return t.toString(t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
    }
    case Type::DateTime: {
        const Timestamp& t = std::get<Timestamp>(v_);
        QString text = t.date.toString(Qt::ISODate) + QLatin1Char(' ') +
                       t.time.toString(t.time.msec() ? QStringLiteral("HH:mm:ss.zzz")
                                                     : QStringLiteral("HH:mm:ss"));
        if (t.hasOffset) {
            text += QStringLiteral("%1%2:%3")
                        .arg(t.offset < 0 ? '-' : '+')
                        .arg(std::abs(t.offset) / 3600, 2, 10, QLatin1Char('0'))
                        .arg(std::abs(t.offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
        }
        return text;
    }
    }
    return {};
}

int Value::compare(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return int(!a.isNull()) - int(!b.isNull());
    if (a.isNumber() && b.isNumber()) {
        if (a.type() == Type::Integer && b.type() == Type::Integer) {
            const qint64 x = a.toInt(), y = b.toInt();
            return x < y ? -1 : x > y;
        }
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : x > y;
    }
    if (a.type() == b.type()) {
        switch (a.type()) {
        case Type::Boolean:
            return int(a.toBool()) - int(b.toBool());
        case Type::Date:
            return a.toDate() < b.toDate() ? -1 : a.toDate() > b.toDate();
        case Type::Time:
            return a.toTime() < b.toTime() ? -1 : a.toTime() > b.toTime();
        case Type::DateTime: {
            const Timestamp& x = std::get<Timestamp>(a.v_);
            const Timestamp& y = std::get<Timestamp>(b.v_);
            if (!x.hasOffset && !y.hasOffset) {
                if (x.date != y.date) return x.date < y.date ? -1 : 1;
                return x.time < y.time ? -1 : x.time > y.time;
            }
            return a.toDateTime() < b.toDateTime() ? -1 : a.toDateTime() > b.toDateTime();
        }
        default:
            break;
        }
    }
    const int c = QString::compare(a.toText(), b.toText());
    return c < 0 ? -1 : c > 0;
}

bool Value::operator==(const Value& other) const {
    if (isNumber() && other.isNumber()) return compare(*this, other) == 0;
    return v_ == other.v_;
}

Value operator+(const Value& a, const Value& b) {
    return arithmetic(a, b, [](auto x, auto y) { return x + y; });
}

Value operator-(const Value& a, const Value& b) {
    return arithmetic(a, b, [](auto x, auto y) { return x - y; });
}
