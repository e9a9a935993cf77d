#include "reports/common/number_mask.h"

#include "reports/common/rounding.h"

namespace {

bool isPlaceholder(QChar c) {
    return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
           c == QLatin1Char(',');
}

} // namespace

QString formatMask(double value, const QString& mask) {
    // Literal text before the first and after the last placeholder stays as it stands.
    qsizetype first = 0;
    while (first < mask.size() && !isPlaceholder(mask[first]))
        ++first;
    qsizetype last = mask.size();
    while (last > first && !isPlaceholder(mask[last - 1]))
        --last;
    const QString prefix = mask.left(first);
    const QString suffix = mask.mid(last);
    const QString picture = mask.mid(first, last - first);

    const qsizetype point = picture.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? picture : picture.left(point);
    const QString fractionPart = point < 0 ? QString() : picture.mid(point + 1);
    const bool grouping = integerPart.contains(QLatin1Char(','));
    int decimals = 0, minDecimals = 0;
    for (qsizetype i = 0; i < fractionPart.size(); ++i) {
        if (fractionPart[i] == QLatin1Char('0') || fractionPart[i] == QLatin1Char('#')) ++decimals;
        if (fractionPart[i] == QLatin1Char('0')) minDecimals = decimals;
    }
    // Zero-filled integer digits: every placeholder from the leftmost "0" on.
    int minIntegers = 0;
    bool seenZero = false;
    for (QChar c : integerPart) {
        if (c == QLatin1Char('0')) seenZero = true;
        if (seenZero && (c == QLatin1Char('0') || c == QLatin1Char('#'))) ++minIntegers;
    }

    const RoundedDecimal r = roundDecimal(value, decimals);
    if (r.isZero() && !mask.contains(QLatin1Char('0'))) return QString();

    QString digits = QString::fromStdString(r.integer);
    if (digits == QLatin1String("0")) digits.clear(); // shown only where a "0" asks for it
    while (digits.size() < minIntegers)
        digits.prepend(QLatin1Char('0'));
    if (grouping)
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, QLatin1Char(','));

    QString fraction = QString::fromStdString(r.fraction);
    while (fraction.size() > minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    QString text = prefix + digits;
    if (point >= 0 && (!fraction.isEmpty() || minDecimals > 0)) text += QLatin1Char('.') + fraction;
    text += suffix;
    return r.negative ? QLatin1Char('-') + text : text;
}
