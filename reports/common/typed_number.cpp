#include "reports/common/typed_number.h"

#include "db/db_error.h"
#include "db/value.h"

#include <cmath>

std::optional<double> typedNumber(const QString& text) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    try {
        // The same reading as a number field's, so what passes here the field takes.
        const double number = Value(text).toDouble();
        if (!std::isfinite(number)) return std::nullopt;
        return number;
    } catch (const DbError&) {
        return std::nullopt;
    }
}
