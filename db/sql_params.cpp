#include "db/sql_params.h"

#include "db/text_codec.h"

#include <cmath>

namespace {

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}
bool isNamePart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Index just past the quoted run that starts at `i` (a quote character `q`); a doubled quote
// stays inside. `backslashEscapes` for E'...' strings.
qsizetype skipQuoted(const QString& s, qsizetype i, QChar q, bool backslashEscapes) {
    for (++i; i < s.size(); ++i) {
        if (backslashEscapes && s[i] == QLatin1Char('\\')) {
            ++i;
        } else if (s[i] == q) {
            if (i + 1 < s.size() && s[i + 1] == q)
                ++i;
            else
                return i + 1;
        }
    }
    return s.size();
}

// At `i` a "$": a dollar-quote tag ($$ or $tag$) starts a string that ends at the same tag.
// Returns the index past it, or `i` + 1 when it is no tag ($1 and the like).
qsizetype skipDollarQuoted(const QString& s, qsizetype i) {
    qsizetype j = i + 1;
    while (j < s.size() && isNamePart(s[j]) && !(j == i + 1 && s[j].isDigit()))
        ++j;
    if (j >= s.size() || s[j] != QLatin1Char('$')) return i + 1;
    const QString tag = s.mid(i, j - i + 1);
    const qsizetype end = s.indexOf(tag, j + 1);
    return end < 0 ? s.size() : end + tag.size();
}

qsizetype skipBlockComment(const QString& s, qsizetype i) {
    int depth = 0;
    while (i < s.size()) {
        if (s[i] == QLatin1Char('/') && i + 1 < s.size() && s[i + 1] == QLatin1Char('*')) {
            ++depth;
            i += 2;
        } else if (s[i] == QLatin1Char('*') && i + 1 < s.size() && s[i + 1] == QLatin1Char('/')) {
            i += 2;
            if (--depth == 0) return i;
        } else {
            ++i;
        }
    }
    return i;
}

} // namespace

QList<ParamRef> findParams(const QString& s) {
    QList<ParamRef> refs;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
        if (c == QLatin1Char('\'')) {
            const bool escapes = i > 0 &&
                                 (s[i - 1] == QLatin1Char('E') || s[i - 1] == QLatin1Char('e')) &&
                                 (i < 2 || !isNamePart(s[i - 2]));
            i = skipQuoted(s, i, c, escapes);
        } else if (c == QLatin1Char('"')) {
            i = skipQuoted(s, i, c, false);
        } else if (c == QLatin1Char('$') && (i == 0 || !isNamePart(s[i - 1]))) {
            i = skipDollarQuoted(s, i);
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = s.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? s.size() : end + 1;
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            i = skipBlockComment(s, i);
        } else if (c == QLatin1Char(':') && next == QLatin1Char(':')) {
            i += 2; // a cast
        } else if (c == QLatin1Char(':') && !next.isNull() && isNameStart(next)) {
            qsizetype j = i + 1;
            while (j < s.size() && isNamePart(s[j]))
                ++j;
            refs.append({i, j - i, s.mid(i + 1, j - i - 1)});
            i = j;
        } else {
            ++i;
        }
    }
    return refs;
}

void appendQuotedBytes(QByteArray& out, const QByteArray& text, bool standardStrings) {
    out.reserve(out.size() + text.size() + 2);
    out.append('\'');
    for (char b : text) {
        if (b == '\'' || (!standardStrings && b == '\\')) out.append(b);
        out.append(b);
    }
    out.append('\'');
}

void appendLiteral(QByteArray& out, const Value& value, const TextCodec& codec,
                   bool standardStrings) {
    switch (value.type()) {
    case Value::Type::Null:
        out.append("NULL");
        return;
    case Value::Type::Integer:
    case Value::Type::Float: {
        const double d = value.toDouble();
        if (value.type() == Value::Type::Float && !std::isfinite(d)) {
            appendQuotedBytes(out, value.sqlText().toLatin1(), standardStrings);
            return;
        }
        const QByteArray digits = value.sqlText().toLatin1();
        if (digits.startsWith('-'))
            out.append('(').append(digits).append(')');
        else
            out.append(digits);
        return;
    }
    case Value::Type::Boolean:
        out.append(value.toBool() ? "TRUE" : "FALSE");
        return;
    default:
        appendQuotedBytes(out, codec.encode(value.sqlText()), standardStrings);
    }
}

QString quoteIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
