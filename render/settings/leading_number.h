#pragma once

#include <string_view>

namespace tidepool {

// The value of a field: the leading decimal number of its text. Leading blanks are skipped, then
// an optional sign, digits with at most one decimal point, and an optional exponent (e or E, an
// optional sign, digits). A text that does not start with such a number reads as 0. Numbers too
// large for a double read as infinity with their sign.
double LeadingNumber(std::string_view text);

} // namespace tidepool
