#include "reports/common/rounding.h"

#include <charconv>
#include <cmath>
#include <string>

double roundHalfAway(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    // The shortest text that reads back as `value` is the number the user means.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (written.ec != std::errc()) return value;
    std::string text(buffer, written.ptr);
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    const std::size_t point = text.find('.');
    std::string digits = point == std::string::npos ? text : text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (fraction.size() <= std::size_t(decimals)) return value;
    const bool up = fraction[std::size_t(decimals)] >= '5';
    digits += fraction.substr(0, std::size_t(decimals));
    if (up) {
        int i = int(digits.size()) - 1;
        while (i >= 0 && digits[std::size_t(i)] == '9')
            digits[std::size_t(i--)] = '0';
        if (i < 0)
            digits.insert(0, "1");
        else
            ++digits[std::size_t(i)];
    }
    if (decimals > 0) digits.insert(digits.size() - std::size_t(decimals), ".");
    double rounded = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), rounded);
    return negative ? -rounded : rounded;
}
