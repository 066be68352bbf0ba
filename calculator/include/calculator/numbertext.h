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
// Then: an optional sign, digits, at most one decimal point, an optional exponent ("E", "e",
// "D" or "d", optional sign, digits). The decimal point is ".", "," or the given decimal
// separator (the one renderNumber writes), whichever comes first; so every number the
// program shows reads back when typed. "&H" and "&O" introduce hexadecimal and octal
// integers. Text without a leading number reads as 0.
// Throws OverflowError for a number beyond the double range or a too long "&H"/"&O" value.
// Depends on nothing but its arguments, and is linear in the length of the text.
//
// In detail: "&H"/"&O" count only at the very start (no sign before them) and take hexadecimal
// or octal digits until the first other character; leading zeros do not count. A value that
// fits 16 bits is a signed 16-bit number ("&HFFFF" is -1), one that fits 32 bits a signed
// 32-bit number ("&H10000" is 65536, "&HFFFFFFFF" is -1). "&" followed by anything else reads
// as 0. A decimal number too small for a double reads as 0. The result is always finite and
// never a negative zero. The separator counts only where it stands whole, not broken up by a
// blank; an empty one, "." and "," add nothing to the two points always read.
double parseNumber(std::string_view text, std::string_view decimalSeparator);

// A double as message text: rounded to 15 significant digits, the shortest form, the given
// decimal separator, exponent notation from 1E15 up and below 1E-4, never "-0".
// The core never produces a non-finite value; should one arrive it is written "inf", "-inf"
// or "nan", which parseNumber reads as 0.
std::string renderNumber(double value, std::string_view decimalSeparator);

// The count of entered numbers as message text: plain decimal digits, "-" before a negative.
std::string renderCount(std::int16_t count);

}  // namespace calculator
