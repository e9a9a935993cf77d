// Named parameters in statement texts (":MShift") and the SQL literals that replace them.
#pragma once

#include "db/value.h"

#include <QByteArray>
#include <QList>
#include <QString>

class TextCodec;

// One ":name" reference in a statement text.
struct ParamRef {
    qsizetype start = 0;  // index of the colon
    qsizetype length = 0; // colon and name
    QString name;         // as written
};

// The parameter references of `sql` in text order. A colon inside a quoted string, a quoted
// identifier, a dollar-quoted string or a comment is not a parameter, nor is a double colon
// (a cast such as now()::date) or a colon not followed by a letter or "_".
QList<ParamRef> findParams(const QString& sql);

// Appends to `out` the SQL literal of `value`, in the bytes the server reads: NULL, a plain
// number (negative ones in parentheses, so "a-:x" never becomes a comment), or a quoted
// string whose quotes are doubled, and, when the server does not follow standard strings,
// whose backslash bytes are doubled too. The string bytes come from `codec`, so a Big5
// character whose second byte is a backslash (許, 功, 蓋) arrives unchanged. Throws DbError
// when the text cannot be encoded.
void appendLiteral(QByteArray& out, const Value& value, const TextCodec& codec,
                   bool standardStrings = true);

// Appends the quoted string literal of the bytes `text` (see appendLiteral).
void appendQuotedBytes(QByteArray& out, const QByteArray& text, bool standardStrings = true);

// "name" as an SQL identifier: in double quotes, inner quotes doubled.
QString quoteIdentifier(const QString& name);
