// One column of a result as the server describes it, and the kinds of value the program
// tells apart.
#pragma once

#include <QString>

using PgOid = unsigned int;

enum class FieldKind {
    Text,     // char(n), varchar(n), text
    SmallInt, // smallint
    Integer,  // integer
    BigInt,   // bigint
    Float,    // real, double precision
    Decimal,  // numeric
    Boolean,
    Date,
    Time,
    DateTime, // timestamp with or without time zone
    Other,    // anything else, kept as text
};

inline bool isNumericKind(FieldKind k) {
    return k == FieldKind::SmallInt || k == FieldKind::Integer || k == FieldKind::BigInt ||
           k == FieldKind::Float || k == FieldKind::Decimal;
}

struct Column {
    QString name; // as the server returns it, an alias included
    FieldKind kind = FieldKind::Other;
    PgOid type = 0;      // the server's type
    PgOid table = 0;     // table the column comes from, 0 for computed columns
    int tableColumn = 0; // its number in that table
    int size = 0;        // declared length of char(n)/varchar(n) in bytes, else 0
};

// The kind of values of server type `type`.
FieldKind fieldKindOf(PgOid type);
