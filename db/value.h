// A column value as the program sees it: null, text, a whole or a floating-point number, a
// truth value, a date, a time or a date and time. Keeps null and the number/text distinction.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <variant>

// A date and time as the server keeps it: naive (timestamp, the station's wall clock) or with
// its offset from UTC (timestamp with time zone). Cheap to make from the server's text.
struct Timestamp {
    QDate date;
    QTime time;
    bool hasOffset = false;
    int offset = 0; // seconds east of UTC
    // The same moment as a QDateTime: local time when naive.
    QDateTime toQDateTime() const;
    bool operator==(const Timestamp& o) const {
        return date == o.date && time == o.time && hasOffset == o.hasOffset && offset == o.offset;
    }
};

class Value {
public:
    enum class Type { Null, Text, Integer, Float, Boolean, Date, Time, DateTime };

    Value() = default;
    Value(const QString& text) : v_(text) {}
    Value(const char* text) : v_(QString::fromUtf8(text)) {}
    Value(int number) : v_(qint64(number)) {}
    Value(qint64 number) : v_(number) {}
    Value(double number) : v_(number) {}
    Value(const QDate& date) : v_(date) {}
    Value(const QTime& time) : v_(time) {}
    Value(const QDateTime& dateTime);
    Value(const Timestamp& timestamp) : v_(timestamp) {}
    static Value boolean(bool b) {
        Value v;
        v.v_ = b;
        return v;
    }

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const { return type() == Type::Integer || type() == Type::Float; }
    bool isText() const { return type() == Type::Text; }

    // The text shown for the value: empty for null, numbers plainly ("12", "40.25", up to 15
    // significant digits), dates and times in the process-wide formats, "True"/"False".
    QString toText() const;
    // Null is 0. Text must be a whole number; a floating-point number is rounded, halves
    // away from zero. Throws DbError for text that is not a whole number.
    qint64 toInt() const;
    // Null is 0. Text must be a number with "." as the decimal point. Throws DbError otherwise.
    double toDouble() const;
    // Null is false; numbers are true when not 0; text "t", "true", "1", "y", "yes" is true.
    bool toBool() const;
    // Text is read as "yyyy/MM/dd" or "yyyy-MM-dd". Throws DbError for what is no date.
    QDate toDate() const;
    // Text is read as a date, optionally followed by a blank and a time. Throws DbError.
    QDateTime toDateTime() const;
    // Text is read as "HH:mm:ss" or "HH:mm". Throws DbError.
    QTime toTime() const;

    // The text the server reads back as exactly this value, for literals in written rows:
    // numbers in their shortest exact form, dates and times in ISO form, truth values
    // "true"/"false". Empty for null.
    QString sqlText() const;

    // Sorting order: null first, then by value; numbers compare as numbers whatever their
    // type; texts by their Unicode code units. Returns -1, 0 or 1.
    static int compare(const Value& a, const Value& b);

    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }

    // Arithmetic of generic values: number with number is a number (whole when both are
    // whole), null with anything is null, text is read as a number first (DbError if not).
    friend Value operator+(const Value& a, const Value& b);
    friend Value operator-(const Value& a, const Value& b);

    const std::variant<std::monostate, QString, qint64, double, bool, QDate, QTime, Timestamp>&
    raw() const {
        return v_;
    }

private:
    std::variant<std::monostate, QString, qint64, double, bool, QDate, QTime, Timestamp> v_;
};

// Numbers as text: whole numbers plainly, others with up to 15 significant digits and no
// trailing zeros (1234.5), the way the station's screens and exports show them.
QString formatNumber(double number);

// The shortest text that reads back as exactly `number` ("0.1", "1e+20", "NaN").
QString exactNumberText(double number);
