#include "calculator/numbertext.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <system_error>

namespace calculator {

namespace {

// ---------------------------------------------------------------------------------------------
// Reading the entry text

// Walks the entry text one meaningful byte at a time. Blanks, tabs, line feeds and the two
// non-breaking spaces (U+00A0, U+202F, written as digit-group separators) are skipped wherever
// they stand, which is the same as removing them from the whole text first. Any other byte,
// including a stray byte of a broken UTF-8 sequence, is an ordinary character.
class EntryCursor {
public:
    explicit EntryCursor(std::string_view text) : text_(text) { skipIgnorable(); }

    bool atEnd() const { return pos_ == text_.size(); }

    // The current character, or '\0' at the end (no character of a number is '\0').
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }

    void advance() {
        ++pos_;
        skipIgnorable();
    }

    // Moves past the current character if it is one of the given ones.
    bool take(char first, char second) {
        const char c = peek();
        if (!atEnd() && (c == first || c == second)) {
            advance();
            return true;
        }
        return false;
    }

private:
    void skipIgnorable() {
        for (;;) {
            const std::size_t width = ignorableWidthAt(pos_);
            if (width == 0) {
                return;
            }
            pos_ += width;
        }
    }

    std::size_t ignorableWidthAt(std::size_t at) const {
        const std::string_view rest = text_.substr(at);
        if (rest.empty()) {
            return 0;
        }
        switch (rest.front()) {
            case ' ':
            case '\t':
            case '\n':
                return 1;
            case '\xC2':  // U+00A0 NO-BREAK SPACE
                return rest.starts_with("\xC2\xA0") ? 2 : 0;
            case '\xE2':  // U+202F NARROW NO-BREAK SPACE
                return rest.starts_with("\xE2\x80\xAF") ? 3 : 0;
            default:
                return 0;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

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

    void addSignificantDigit(char c) {
        if (digitCount < kMaxDigits) {
            digits[digitCount++] = c;
        } else if (c != '0') {
            sticky = true;
        }
    }
};

// The exponent as typed is clamped here: far beyond the double range either way, and small
// enough that adding the count of mantissa digits cannot overflow.
constexpr std::int64_t kExponentClamp = 1'000'000'000'000;

// Reads "[digits][(.|,)digits]"; the first point or comma is the decimal point, the next one
// ends the number.
void readMantissa(EntryCursor& cursor, DecimalNumber& number) {
    for (char c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
        number.hasDigits = true;
        if (c != '0' || !number.isZero()) {
            number.addSignificantDigit(c);
            ++number.pointExponent;
        }
        cursor.advance();
    }
    if (!cursor.take('.', ',')) {
        return;
    }
    for (char c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
        number.hasDigits = true;
        if (c == '0' && number.isZero()) {
            --number.pointExponent;
        } else {
            number.addSignificantDigit(c);
        }
        cursor.advance();
    }
}

// Reads "[(E|e|D|d)[+|-]digits]". A marker without digits adds nothing ("1e" is 1); the
// characters after the mantissa are then simply ignored like any other trailing text.
std::int64_t readExponent(EntryCursor& cursor) {
    const char marker = cursor.peek();
    if (marker != 'E' && marker != 'e' && marker != 'D' && marker != 'd') {
        return 0;
    }
    cursor.advance();
    bool negative = false;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        negative = cursor.peek() == '-';
        cursor.advance();
    }
    std::int64_t exponent = 0;
    for (char c = cursor.peek(); isDecimalDigit(c); c = cursor.peek()) {
        if (exponent < kExponentClamp) {
            exponent = exponent * 10 + (c - '0');
        }
        cursor.advance();
    }
    return negative ? -exponent : exponent;
}

constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Up to 15 digits and a power of ten up to 10^22 are both exact doubles, so one
// multiplication or division rounds the product correctly.
bool convertExactly(const DecimalNumber& number, std::int64_t scale, double& result) {
    if (number.digitCount > 15 || number.sticky || scale < -22 || scale > 22) {
        return false;
    }
    std::uint64_t mantissa = 0;
    for (std::size_t i = 0; i < number.digitCount; ++i) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(number.digits[i] - '0');
    }
    const auto value = static_cast<double>(mantissa);
    result = scale >= 0 ? value * kExactPowersOfTen[static_cast<std::size_t>(scale)]
                        : value / kExactPowersOfTen[static_cast<std::size_t>(-scale)];
    return true;
}

// Writes the digits as "DIGITS[1]e<scale>" and lets std::from_chars round it. libstdc++ reports
// both overflow and underflow as result_out_of_range and leaves the value alone; the decimal
// exponent tells which of the two it was.
double convertRounded(const DecimalNumber& number, std::int64_t pointExponent, std::int64_t scale) {
    std::array<char, DecimalNumber::kMaxDigits + 32> text{};
    std::size_t length = 0;
    for (std::size_t i = 0; i < number.digitCount; ++i) {
        text[length++] = number.digits[i];
    }
    if (number.sticky) {
        text[length++] = '1';
        --scale;
    }
    text[length++] = 'e';
    char* const end = text.data() + text.size();
    const auto written = std::to_chars(text.data() + length, end, scale);
    double value = 0;
    const auto parsed = std::from_chars(text.data(), written.ptr, value);
    if (parsed.ec == std::errc::result_out_of_range) {
        if (pointExponent > 0) {
            throw OverflowError("the number entered is beyond the range of a double");
        }
        return 0;
    }
    if (parsed.ec != std::errc{} || !std::isfinite(value)) {
        throw OverflowError("the number entered is beyond the range of a double");
    }
    return value;
}

// 0.DIGITS * 10^e is at least 10^(e-1) and below 10^e: above 10^309 every value is too large
// for a double, below 10^-324 every value rounds to zero.
constexpr std::int64_t kLargestPointExponent = 309;
constexpr std::int64_t kSmallestPointExponent = -323;

double toDouble(const DecimalNumber& number, std::int64_t exponent) {
    if (number.isZero()) {
        return 0;
    }
    const std::int64_t pointExponent = number.pointExponent + exponent;
    if (pointExponent > kLargestPointExponent) {
        throw OverflowError("the number entered is beyond the range of a double");
    }
    if (pointExponent < kSmallestPointExponent) {
        return 0;
    }
    const std::int64_t scale = pointExponent - static_cast<std::int64_t>(number.digitCount);
    double magnitude = 0;
    if (!convertExactly(number, scale, magnitude)) {
        magnitude = convertRounded(number, pointExponent, scale);
    }
    if (magnitude == 0) {
        return 0;  // never a negative zero
    }
    return number.negative ? -magnitude : magnitude;
}

double readDecimal(EntryCursor& cursor) {
    DecimalNumber number;
    if (cursor.peek() == '+' || cursor.peek() == '-') {
        number.negative = cursor.peek() == '-';
        cursor.advance();
    }
    readMantissa(cursor, number);
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
    bool negative = false;
    std::array<char, 15> digits{};
    std::size_t digitCount = 0;
    int exponent = 0;

    std::string_view significant() const { return {digits.data(), digitCount}; }
};

RoundedDecimal roundTo15Digits(double value) {
    // "-d.ddddddddddddde+ddd" at most: 22 characters.
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::scientific, 14);
    const char* p = text.data();
    RoundedDecimal rounded;
    if (*p == '-') {
        rounded.negative = true;
        ++p;
    }
    for (; p != written.ptr && *p != 'e'; ++p) {
        if (*p != '.') {
            rounded.digits[rounded.digitCount++] = *p;
        }
    }
    while (rounded.digitCount > 1 && rounded.digits[rounded.digitCount - 1] == '0') {
        --rounded.digitCount;
    }
    ++p;  // past 'e'
    const bool negativeExponent = *p == '-';
    ++p;  // past the exponent's sign, always written
    int exponent = 0;
    for (; p != written.ptr; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    rounded.exponent = negativeExponent ? -exponent : exponent;
    return rounded;
}

// Fixed notation is used for rounded magnitudes from 1E-4 up to, not including, 1E15.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 14;

void appendFixed(std::string& out, const RoundedDecimal& rounded, std::string_view separator) {
    const std::string_view digits = rounded.significant();
    if (rounded.exponent < 0) {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-rounded.exponent - 1), '0');
        out += digits;
        return;
    }
    const auto integerDigits = static_cast<std::size_t>(rounded.exponent) + 1;
    if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
        return;
    }
    out += digits.substr(0, integerDigits);
    out += separator;
    out += digits.substr(integerDigits);
}

void appendExponential(std::string& out, const RoundedDecimal& rounded,
                       std::string_view separator) {
    const std::string_view digits = rounded.significant();
    out += digits.front();
    if (digits.size() > 1) {
        out += separator;
        out += digits.substr(1);
    }
    out += 'E';
    out += rounded.exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(rounded.exponent);
    if (magnitude < 10) {
        out += '0';
    }
    std::array<char, 8> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), magnitude);
    out.append(text.data(), written.ptr);
}

std::string renderNonFinite(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    return value < 0 ? "-inf" : "inf";
}

}  // namespace

double parseNumber(std::string_view text) {
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
    return readDecimal(cursor);
}

std::string renderNumber(double value, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) {
        return renderNonFinite(value);
    }
    if (value == 0) {
        return "0";  // negative zero too
    }
    const RoundedDecimal rounded = roundTo15Digits(value);
    std::string out;
    out.reserve(32 + decimalSeparator.size());
    if (rounded.negative) {
        out += '-';
    }
    if (rounded.exponent >= kSmallestFixedExponent && rounded.exponent <= kLargestFixedExponent) {
        appendFixed(out, rounded, decimalSeparator);
    } else {
        appendExponential(out, rounded, decimalSeparator);
    }
    return out;
}

std::string renderCount(std::int16_t count) {
    std::array<char, 8> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), count);
    return {text.data(), written.ptr};
}

}  // namespace calculator
