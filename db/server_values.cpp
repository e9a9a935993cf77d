#include "db/server_values.h"

#include "db/text_codec.h"

#include <charconv>

namespace {

// Type oids of the server's built-in types (pg_type.dat).
enum : PgOid {
    BoolOid = 16,
    NameOid = 19,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    TextOid = 25,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    BpcharOid = 1042,
    VarcharOid = 1043,
    DateOid = 1082,
    TimeOid = 1083,
    TimestampOid = 1114,
    TimestamptzOid = 1184,
    NumericOid = 1700,
};

int digits(const char* p, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 10 + (p[i] - '0');
    return v;
}

bool allDigits(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9') return false;
    return true;
}

// "yyyy-MM-dd" (DateStyle ISO).
QDate parseDate(const char* p, int size) {
    if (size < 10 || !allDigits(p, 4) || p[4] != '-' || !allDigits(p + 5, 2) || p[7] != '-' ||
        !allDigits(p + 8, 2))
        return {};
    return QDate(digits(p, 4), digits(p + 5, 2), digits(p + 8, 2));
}

// "HH:mm:ss[.ffffff]"; sets *used to the characters read.
QTime parseTime(const char* p, int size, int* used) {
    if (size < 8 || !allDigits(p, 2) || p[2] != ':' || !allDigits(p + 3, 2) || p[5] != ':' ||
        !allDigits(p + 6, 2))
        return {};
    int i = 8, msec = 0;
    if (i < size && p[i] == '.') {
        int scale = 100;
        for (++i; i < size && p[i] >= '0' && p[i] <= '9'; ++i) {
            msec += (p[i] - '0') * scale;
            scale /= 10;
        }
    }
    *used = i;
    return QTime(digits(p, 2), digits(p + 3, 2), digits(p + 6, 2), msec);
}

Value parseTimestamp(const char* p, int size, bool withZone) {
    const QDate date = parseDate(p, size);
    int used = 0;
    const QTime time = size > 11 ? parseTime(p + 11, size - 11, &used) : QTime();
    if (!date.isValid() || !time.isValid()) return Value(QString::fromLatin1(p, size));
    if (!withZone) return Value(Timestamp{date, time});
    // "+08", "+05:30", "-03:30:45" after the time.
    const char* z = p + 11 + used;
    const int rest = size - 11 - used;
    if (rest < 3 || (z[0] != '+' && z[0] != '-')) return Value(Timestamp{date, time});
    int offset = digits(z + 1, 2) * 3600;
    if (rest >= 6 && z[3] == ':') offset += digits(z + 4, 2) * 60;
    if (rest >= 9 && z[6] == ':') offset += digits(z + 7, 2);
    if (z[0] == '-') offset = -offset;
    return Value(Timestamp{date, time, true, offset});
}

} // namespace

FieldKind fieldKindOf(PgOid type) {
    switch (type) {
    case BpcharOid:
    case VarcharOid:
    case TextOid:
    case NameOid:
        return FieldKind::Text;
    case Int2Oid:
        return FieldKind::SmallInt;
    case Int4Oid:
    case OidOid:
        return FieldKind::Integer;
    case Int8Oid:
        return FieldKind::BigInt;
    case Float4Oid:
    case Float8Oid:
        return FieldKind::Float;
    case NumericOid:
        return FieldKind::Decimal;
    case BoolOid:
        return FieldKind::Boolean;
    case DateOid:
        return FieldKind::Date;
    case TimeOid:
        return FieldKind::Time;
    case TimestampOid:
    case TimestamptzOid:
        return FieldKind::DateTime;
    default:
        return FieldKind::Other;
    }
}

Value valueFromServer(const char* text, int size, const Column& column, const TextCodec& codec) {
    switch (column.kind) {
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::BigInt: {
        qint64 v = 0;
        std::from_chars(text, text + size, v);
        return Value(v);
    }
    case FieldKind::Float:
    case FieldKind::Decimal: {
        // from_chars ignores the process locale and reads "NaN" and "Infinity" as well.
        double v = 0;
        std::from_chars(text, text + size, v);
        return Value(v);
    }
    case FieldKind::Boolean:
        return Value::boolean(size > 0 && text[0] == 't');
    case FieldKind::Date: {
        const QDate d = parseDate(text, size);
        return d.isValid() ? Value(d) : Value(QString::fromLatin1(text, size));
    }
    case FieldKind::Time: {
        int used = 0;
        const QTime t = parseTime(text, size, &used);
        return t.isValid() ? Value(t) : Value(QString::fromLatin1(text, size));
    }
    case FieldKind::DateTime:
        return parseTimestamp(text, size, column.type == TimestamptzOid);
    case FieldKind::Text:
    case FieldKind::Other:
        break;
    }
    return Value(codec.decode(text, size));
}
