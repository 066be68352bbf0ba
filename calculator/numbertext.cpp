#include "calculator/numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace calculator {

namespace {

// ---------------------------------------------------------------------------------------------
// Reading the entry text

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isExponentMarker(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// The length of the run of decimal digits at the start of `text`.
std::size_t digitRunLength(std::string_view text) {
    return static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), isDecimalDigit) -
                                    text.begin());
}

// The number of '0' at the start of `text`.
std::size_t leadingZeros(std::string_view text) {
    return std::min(text.find_first_not_of('0'), text.size());
}

// Walks the entry text one meaningful character at a time. Blanks, tabs, line feeds and the two
// no-break spaces (U+00A0, U+202F, written as digit-group separators) are skipped wherever
// they stand, which is the same as removing them from the whole text first. Any other byte,
// including a stray byte of a broken UTF-8 sequence, is an ordinary character.
class EntryCursor {
public:
    explicit EntryCursor(std::string_view text) : rest_(text) { skipIgnorable(); }

    // The current character, or '\0' at the end (no character of a number is '\0').
    char peek() const { return rest_.empty() ? '\0' : rest_.front(); }

    void advance() {
        rest_.remove_prefix(1);
        skipIgnorable();
    }

    // Moves past the current character if it is one of the given ones.
    bool take(char first, char second) {
        if (!rest_.empty() && (rest_.front() == first || rest_.front() == second)) {
            advance();
            return true;
        }
        return false;
    }

    // Moves past `word` if the text at the cursor starts with all of it.
    bool take(std::string_view word) {
        if (word.empty() || !rest_.starts_with(word)) {
            return false;
        }
        rest_.remove_prefix(word.size());
        skipIgnorable();
        return true;
    }

    // Moves past the decimal digits that stand next to each other at the cursor and returns
    // them; a blank or no-break space ends the run (the next run continues the number).
    std::string_view takeDigitRun() {
        const std::string_view run = rest_.substr(0, digitRunLength(rest_));
        rest_.remove_prefix(run.size());
        skipIgnorable();
        return run;
    }

private:
    void skipIgnorable() {
        for (std::size_t width = ignorableWidth(); width != 0; width = ignorableWidth()) {
            rest_.remove_prefix(width);
        }
    }

    std::size_t ignorableWidth() const {
        if (rest_.empty()) {
            return 0;
        }
        switch (rest_.front()) {
            case ' ':
            case '\t':
            case '\n':
                return 1;
            case '\xC2':  // U+00A0 NO-BREAK SPACE
                return rest_.starts_with("\xC2\xA0") ? 2 : 0;
            case '\xE2':  // U+202F NARROW NO-BREAK SPACE
                return rest_.starts_with("\xE2\x80\xAF") ? 3 : 0;
            default:
                return 0;
        }
    }

    std::string_view rest_;  // what is still to be read
};

// "&H" and "&O" integers ------------------------------------------------------------------

int digitValue(char c, int base) {
    int value = base;  // "not a digit" unless found below
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    }
    return value < base ? value : -1;
}

// A value that fits 16 bits is read as a signed 16-bit number ("&HFFFF" is -1), one that fits
// 32 bits as a signed 32-bit number ("&HFFFFFFFF" is -1); anything larger is out of range.
// Leading zeros do not count, and the digits are read until the first character that is not one.
double readRadixInteger(EntryCursor& cursor, int base) {
    constexpr std::uint64_t kMax32 = 0xFFFF'FFFFu;
    std::uint64_t value = 0;
    for (int digit = digitValue(cursor.peek(), base); digit >= 0;
         digit = digitValue(cursor.peek(), base)) {
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > kMax32) {
            throw OverflowError("the integer entered does not fit in 32 bits");
        }
        cursor.advance();
    }
    if (value <= 0xFFFFu) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Decimal numbers -------------------------------------------------------------------------

[[noreturn]] void throwOutOfRange() {
    throw OverflowError("the number entered is beyond the range of a double");
}

// A decimal number as read: value = (negative ? -1 : 1) * 0.DIGITS * 10^pointExponent, with
// DIGITS the significant digits (no leading zero). Only the first kMaxDigits are kept; any
// non-zero digit beyond them sets `sticky`, which is written as one more digit "1". Every
// halfway point between two doubles has at most 767 significant digits, so the kept digits
// plus the sticky digit round exactly like the full number would.
struct DecimalNumber {
    static constexpr std::size_t kMaxDigits = 780;

    bool negative = false;
    bool hasDigits = false;               // any digit at all in the mantissa, zeros included
    std::array<char, kMaxDigits> digits;  // only the first digitCount are set
    std::size_t digitCount = 0;
    bool sticky = false;
    std::int64_t pointExponent = 0;

    bool isZero() const { return digitCount == 0; }

    void addIntegerDigits(std::string_view run) {
        hasDigits = true;
        if (isZero()) {
            run.remove_prefix(leadingZeros(run));
        }
        pointExponent += static_cast<std::int64_t>(run.size());
        addSignificantDigits(run);
    }

    void addFractionDigits(std::string_view run) {
        hasDigits = true;
        if (isZero()) {
            const std::size_t zeros = leadingZeros(run);
            pointExponent -= static_cast<std::int64_t>(zeros);
            run.remove_prefix(zeros);
        }
        addSignificantDigits(run);
    }

private:
    void addSignificantDigits(std::string_view run) {
        const std::size_t kept = std::min(run.size(), kMaxDigits - digitCount);
        std::memcpy(digits.data() + digitCount, run.data(), kept);
        digitCount += kept;
        const std::string_view dropped = run.substr(kept);
        if (!sticky && leadingZeros(dropped) != dropped.size()) {
            sticky = true;
        }
    }
};

// The exponent as typed is clamped here: far beyond the double range either way, and small
// enough that adding the count of mantissa digits cannot overflow.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000;

// Reads "[digits][(.|,|separator)digits]"; the first point, comma or separator is the decimal
// point, the next one ends the number.
void readMantissa(EntryCursor& cursor, std::string_view separator, DecimalNumber& number) {
    for (auto run = cursor.takeDigitRun(); !run.empty(); run = cursor.takeDigitRun()) {
        number.addIntegerDigits(run);
    }
    if (!cursor.take('.', ',') && !cursor.take(separator)) {
        return;
    }
    for (auto run = cursor.takeDigitRun(); !run.empty(); run = cursor.takeDigitRun()) {
        number.addFractionDigits(run);
    }
}

// Reads "[(E|e|D|d)[+|-]digits]". A marker without digits adds nothing ("1e" is 1); the
// characters after the mantissa are then simply ignored like any other trailing text.
std::int64_t readExponent(EntryCursor& cursor) {
    if (!isExponentMarker(cursor.peek())) {
        return 0;
    }
    cursor.advance();
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }
    std::int64_t exponent = 0;
    for (auto run = cursor.takeDigitRun(); !run.empty(); run = cursor.takeDigitRun()) {
        if (exponent == 0) {
            run.remove_prefix(leadingZeros(run));
        }
        for (std::size_t i = 0; i < run.size() && exponent < kExponentClamp; ++i) {
            exponent = exponent * 10 + (run[i] - '0');
        }
    }
    return negative ? -exponent : exponent;
}

// Writes the digits as "DIGITS[1]e<scale>" and lets std::from_chars round it. libstdc++ reports
// both overflow and underflow as result_out_of_range and leaves the value alone; the decimal
// exponent tells which of the two it was.
double convertRounded(const DecimalNumber& number, std::int64_t pointExponent, std::int64_t scale) {
    std::array<char, DecimalNumber::kMaxDigits + 32> text;
    char* end = std::copy_n(number.digits.data(), number.digitCount, text.data());
    if (number.sticky) {
        *end++ = '1';
        --scale;
    }
    *end++ = 'e';
    end = std::to_chars(end, text.data() + text.size(), scale).ptr;
    double value = 0;
    const auto parsed = std::from_chars(text.data(), end, value);
    if (parsed.ec == std::errc::result_out_of_range) {
        if (pointExponent > 0) {
            throwOutOfRange();
        }
        return 0;
    }
    if (parsed.ec != std::errc{} || !std::isfinite(value)) {
        throwOutOfRange();
    }
    return value;
}

// 0.DIGITS * 10^e is at least 10^(e-1) and below 10^e: above 10^309 every value is too large
// for a double, below 10^-324 every value rounds to zero.
constexpr std::int64_t kLargestPointExponent = 309;
constexpr std::int64_t kSmallestPointExponent = -323;

double withSign(bool negative, double magnitude) {
    if (magnitude == 0) {
        return 0;  // never a negative zero
    }
    return negative ? -magnitude : magnitude;
}

double toDouble(const DecimalNumber& number, std::int64_t exponent) {
    if (number.isZero()) {
        return 0;
    }
    const std::int64_t pointExponent = number.pointExponent + exponent;
    if (pointExponent > kLargestPointExponent) {
        throwOutOfRange();
    }
    if (pointExponent < kSmallestPointExponent) {
        return 0;
    }
    const std::int64_t scale = pointExponent - static_cast<std::int64_t>(number.digitCount);
    return withSign(number.negative, convertRounded(number, pointExponent, scale));
}

double readDecimal(EntryCursor& cursor, std::string_view separator) {
    DecimalNumber number;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        number.negative = cursor.peek() == '-';
        cursor.advance();
    }
    readMantissa(cursor, separator, number);
    if (!number.hasDigits) {
        return 0;  // "", "-", ".", "abc", ".e5": no leading number
    }
    return toDouble(number, readExponent(cursor));
}

// ---------------------------------------------------------------------------------------------
// Writing numbers

// A finite non-zero double rounded to 15 significant digits: value = sign * D.DDD * 10^exponent,
// `digits` holding 1 to 15 digits without trailing zeros.
struct RoundedDecimal {
    static constexpr std::size_t kDigits = 15;

    bool negative = false;
    std::array<char, kDigits> digits;  // only the first digitCount are set
    std::size_t digitCount = 0;
    int exponent = 0;

    void dropTrailingZeros() {
        digitCount = kDigits;
        while (digitCount > 1 && digits[digitCount - 1] == '0') {
            --digitCount;
        }
    }
};

// A finite non-zero value, rounded by the library (half to even, as printf rounds).
RoundedDecimal roundTo15Digits(double value) {
    // std::to_chars writes "[-]d.ddddddddddddde(+|-)dd[d]": the digits and the exponent stand
    // at fixed places.
    std::array<char, 32> text;
    const char* const end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific,
                      static_cast<int>(RoundedDecimal::kDigits) - 1)
            .ptr;
    RoundedDecimal rounded;
    const char* p = text.data();
    rounded.negative = *p == '-';
    p += rounded.negative ? 1 : 0;
    rounded.digits[0] = p[0];
    std::copy_n(p + 2, RoundedDecimal::kDigits - 1, rounded.digits.data() + 1);
    rounded.dropTrailingZeros();
    p += RoundedDecimal::kDigits + 1;  // the digits and the point
    const bool negativeExponent = p[1] == '-';
    int exponent = 0;
    for (p += 2; p != end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    rounded.exponent = negativeExponent ? -exponent : exponent;
    return rounded;
}

// Fixed notation is used for rounded magnitudes from 1E-4 up to, not including, 1E15.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 14;

// "E", the exponent's sign and at least two digits: "E+15", "E-05", "E+308".
std::string exponentText(int exponent) {
    const int magnitude = std::abs(exponent);
    std::string text = exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) {
        text += '0';
    }
    text += std::to_string(magnitude);
    return text;
}

// Integer digits, then the separator and the fraction digits if there are any, then the
// exponent in exponent notation.
std::string layOut(const RoundedDecimal& rounded, std::string_view separator) {
    const std::string_view digits(rounded.digits.data(), rounded.digitCount);
    std::string integer;
    std::string fraction;
    std::string exponent;
    if (rounded.exponent < kSmallestFixedExponent || rounded.exponent > kLargestFixedExponent) {
        integer = digits.substr(0, 1);
        fraction = digits.substr(1);
        exponent = exponentText(rounded.exponent);
    } else if (rounded.exponent < 0) {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-rounded.exponent - 1), '0');
        fraction += digits;
    } else {
        const auto integerDigits = static_cast<std::size_t>(rounded.exponent) + 1;
        integer = digits.substr(0, integerDigits);
        integer.resize(integerDigits, '0');
        fraction = digits.substr(std::min(integerDigits, digits.size()));
    }
    std::string text = rounded.negative ? "-" : "";
    text += integer;
    if (!fraction.empty()) {
        text += separator;
        text += fraction;
    }
    text += exponent;
    return text;
}

std::string renderNonFinite(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    return value < 0 ? "-inf" : "inf";
}

}  // namespace

double parseNumber(std::string_view text, std::string_view decimalSeparator) {
    EntryCursor cursor(text);
    if (cursor.peek() == '&') {
        cursor.advance();
        if (cursor.take('H', 'h')) {
            return readRadixInteger(cursor, 16);
        }
        if (cursor.take('O', 'o')) {
            return readRadixInteger(cursor, 8);
        }
        return 0;
    }
    return readDecimal(cursor, decimalSeparator);
}

std::string renderNumber(double value, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) {
        return renderNonFinite(value);
    }
    if (value == 0) {
        return "0";  // negative zero too
    }
    return layOut(roundTo15Digits(value), decimalSeparator);
}

std::string renderCount(std::int16_t count) {
    std::array<char, 8> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), count);
    return {text.data(), written.ptr};
}

}  // namespace calculator
