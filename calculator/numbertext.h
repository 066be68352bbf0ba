#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace calculator {

// Raised when a number leaves the range the calculator can hold: an entry beyond the
// double range, a sum that would overflow, or one entry more than the count can take.
// Whoever raises it leaves every value it was about to change untouched.
class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// The numeric value of the leading number in an entry text (UTF-8).
// Blanks, tabs, line feeds and non-breaking spaces are removed first, wherever they stand.
// Then: an optional sign, digits, at most one decimal point ("." or ",", whichever comes
// first), an optional exponent ("E", "e", "D" or "d", optional sign, digits). "&H" and "&O"
// introduce hexadecimal and octal integers. Text without a leading number reads as 0.
// Throws OverflowError for a number beyond the double range or a too long "&H"/"&O" value.
// Locale-independent and linear in the length of the text.
double parseNumber(std::string_view text);

// A double as message text: rounded to 15 significant digits, the shortest form, the given
// decimal separator, exponent notation from 1E15 up and below 1E-4, never "-0".
std::string renderNumber(double value, std::string_view decimalSeparator);

// The count of entered numbers as message text: plain decimal digits.
std::string renderCount(std::int16_t count);

}  // namespace calculator
