#include "render/settings/leading_number.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace tidepool {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

// Length of the leading number of s (after blanks), or 0 when there is none.
std::size_t numberLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t intEnd = skipDigits(s, i);
    std::size_t end = intEnd;
    bool digits = intEnd > i;
    if (end < s.size() && s[end] == '.') {
        std::size_t fracEnd = skipDigits(s, end + 1);
        digits = digits || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!digits)
        return 0;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t j = end + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        std::size_t expEnd = skipDigits(s, j);
        if (expEnd > j)
            end = expEnd;
    }
    return end;
}

} // namespace

double LeadingNumber(std::string_view text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return 0;
    text.remove_prefix(start);
    std::size_t length = numberLength(text);
    if (length == 0)
        return 0;
    std::string_view number = text.substr(0, length);
    bool negative = number.front() == '-';
    if (number.front() == '+' || negative)
        number.remove_prefix(1);
    // from_chars, unlike strtod, ignores the process locale, which the window sets from the
    // desktop and which may want a decimal comma.
    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        bool tiny = number.find("e-") != std::string_view::npos ||
                    number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

} // namespace tidepool
