#include "reports/common/rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

bool RoundedDecimal::isZero() const {
    return std::all_of(integer.begin(), integer.end(), [](char c) { return c == '0'; }) &&
           std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; });
}

RoundedDecimal roundDecimal(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 15);
    RoundedDecimal r;
    if (!std::isfinite(value)) value = 0;
    // The shortest text that reads back as `value` is the number the user means.
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    std::string text(buffer, written.ec == std::errc() ? written.ptr : buffer);
    if (text.empty()) text = "0";
    const std::size_t point = text.find('.');
    std::string digits = point == std::string::npos ? text : text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    const bool up =
        fraction.size() > std::size_t(decimals) && fraction[std::size_t(decimals)] >= '5';
    fraction.resize(std::size_t(decimals), '0');
    std::string all = digits + fraction;
    if (up) {
        int i = int(all.size()) - 1;
        while (i >= 0 && all[std::size_t(i)] == '9')
            all[std::size_t(i--)] = '0';
        if (i < 0)
            all.insert(0, "1");
        else
            ++all[std::size_t(i)];
    }
    r.integer = all.substr(0, all.size() - std::size_t(decimals));
    r.fraction = all.substr(all.size() - std::size_t(decimals));
    const std::size_t firstDigit = r.integer.find_first_not_of('0');
    r.integer = firstDigit == std::string::npos ? "0" : r.integer.substr(firstDigit);
    r.negative = value < 0 && !r.isZero();
    return r;
}

double roundHalfAway(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const RoundedDecimal r = roundDecimal(value, decimals);
    std::string text = (r.negative ? "-" : "") + r.integer;
    if (!r.fraction.empty()) text += "." + r.fraction;
    double rounded = 0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}
