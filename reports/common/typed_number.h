// Numbers as the office types them into an entry field: a decimal number with "." as the
// point, blanks around it ignored.
#pragma once

#include <QString>
#include <optional>

// The number `text` stands for; none for an empty text, words, or "nan" and "inf", which
// no litre, price or rate can be.
std::optional<double> typedNumber(const QString& text);
