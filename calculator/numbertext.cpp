#include "calculator/numbertext.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
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

// Long entries are mostly digits, and a text of ten megabytes should take milliseconds: digit
// runs are scanned eight bytes at a time. A word is loaded with memcpy, so alignment does not
// matter, and the tests below look at every byte alike, so byte order does not either.
constexpr std::size_t kWordSize = sizeof(std::uint64_t);

std::uint64_t loadWord(const char* bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, kWordSize);
    return word;
}

bool isEightDigits(std::uint64_t word) {
    return (((word + 0x4646'4646'4646'4646u) | (word - 0x3030'3030'3030'3030u)) &
            0x8080'8080'8080'8080u) == 0;
}

bool isEightZeros(std::uint64_t word) {
    return word == 0x3030'3030'3030'3030u;
}

// The length of the run of decimal digits at the start of `text`.
std::size_t digitRunLength(std::string_view text) {
    std::size_t length = 0;
    while (length + kWordSize <= text.size() && isEightDigits(loadWord(text.data() + length))) {
        length += kWordSize;
    }
    while (length < text.size() && isDecimalDigit(text[length])) {
        ++length;
    }
    return length;
}

// The number of '0' at the start of `text`.
std::size_t leadingZeros(std::string_view text) {
    std::size_t count = 0;
    while (count + kWordSize <= text.size() && isEightZeros(loadWord(text.data() + count))) {
        count += kWordSize;
    }
    while (count < text.size() && text[count] == '0') {
        ++count;
    }
    return count;
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

constexpr std::array<double, 23> kExactPowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// mantissa * 10^scale when one multiplication or division gives it correctly rounded: an
// integer up to 2^53 and a power of ten up to 10^22 are both exact doubles.
std::optional<double> exactProduct(std::uint64_t mantissa, std::int64_t scale) {
    constexpr std::uint64_t kLargestExactInteger = std::uint64_t{1} << 53;
    if (mantissa > kLargestExactInteger || scale < -22 || scale > 22) {
        return std::nullopt;
    }
    const auto value = static_cast<double>(mantissa);
    return scale >= 0 ? value * kExactPowersOfTen[static_cast<std::size_t>(scale)]
                      : value / kExactPowersOfTen[static_cast<std::size_t>(-scale)];
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

// Reads "[digits][(.|,)digits]"; the first point or comma is the decimal point, the next one
// ends the number.
void readMantissa(EntryCursor& cursor, DecimalNumber& number) {
    for (auto run = cursor.takeDigitRun(); !run.empty(); run = cursor.takeDigitRun()) {
        number.addIntegerDigits(run);
    }
    if (!cursor.take('.', ',')) {
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

// The first digits as an integer, if there are few enough for it to be exact.
std::optional<std::uint64_t> smallMantissa(const DecimalNumber& number) {
    constexpr std::size_t kMaxExactDigits = 19;  // below 10^19: always fits 64 bits
    if (number.digitCount > kMaxExactDigits || number.sticky) {
        return std::nullopt;
    }
    std::uint64_t mantissa = 0;
    for (std::size_t i = 0; i < number.digitCount; ++i) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(number.digits[i] - '0');
    }
    return mantissa;
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
    std::optional<double> magnitude;
    if (const auto mantissa = smallMantissa(number)) {
        magnitude = exactProduct(*mantissa, scale);
    }
    return withSign(number.negative,
                    magnitude ? *magnitude : convertRounded(number, pointExponent, scale));
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

// The common entry, read the short way: the whole text is one plain number ("2", "-3.25",
// "1,5e3") with at most 19 significant digits and an exponent of at most four digits, and its
// value is an exact product. Anything else (a blank, trailing text, "&H", more digits, a
// marker without digits) gives nullopt and is read by readDecimal, which this only mirrors.
std::optional<double> readPlainNumber(std::string_view text) {
    constexpr int kMaxDigits = 19;
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '+' || *p == '-')) {
        ++p;
    }
    std::uint64_t mantissa = 0;
    int significantDigits = 0;
    bool hasDigits = false;
    std::int64_t scale = 0;
    auto addDigit = [&](char c) {
        hasDigits = true;
        if (significantDigits > 0 || c != '0') {
            ++significantDigits;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        }
    };
    for (; p != end && isDecimalDigit(*p) && significantDigits < kMaxDigits; ++p) {
        addDigit(*p);
    }
    if (p != end && (*p == '.' || *p == ',')) {
        for (++p; p != end && isDecimalDigit(*p) && significantDigits < kMaxDigits; ++p) {
            addDigit(*p);
            --scale;
        }
    }
    if (!hasDigits) {
        return std::nullopt;
    }
    if (p != end && isExponentMarker(*p)) {
        ++p;
        const bool negativeExponent = p != end && *p == '-';
        if (p != end && (*p == '+' || *p == '-')) {
            ++p;
        }
        const char* const digits = p;
        std::int64_t exponent = 0;
        for (; p != end && isDecimalDigit(*p) && p - digits < 4; ++p) {
            exponent = exponent * 10 + (*p - '0');
        }
        if (p == digits) {
            return std::nullopt;
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (p != end) {
        return std::nullopt;
    }
    const std::optional<double> magnitude = exactProduct(mantissa, scale);
    if (!magnitude) {
        return std::nullopt;
    }
    return withSign(negative, *magnitude);
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

[[maybe_unused]] RoundedDecimal fromFifteenDigits(std::uint64_t digits, bool negative,
                                                  int exponent) {
    RoundedDecimal rounded;
    rounded.negative = negative;
    rounded.exponent = exponent;
    std::to_chars(rounded.digits.data(), rounded.digits.data() + rounded.digits.size(), digits);
    rounded.dropTrailingZeros();
    return rounded;
}

// The short way for the values the calculator shows most, magnitudes from 1E-5 up to 1E15:
// with value = m * 2^-s (m below 2^53, s from 3 to 69) and E = floor(log10 |value|),
// |value| * 10^(14 - E) = m * 10^(14 - E) / 2^s, whose numerator fits in 128 bits. Its integer
// part has 15 digits and the remainder decides the rounding (half to even, as the C library
// rounds). Other magnitudes give nullopt, and so does every value where the compiler has no
// 128-bit integers (the library's rounding then serves all values).
std::optional<RoundedDecimal> roundTo15DigitsExactly(double value) {
#if defined(__SIZEOF_INT128__)
    __extension__ using Uint128 = unsigned __int128;
    static constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
        std::array<std::uint64_t, 20> powers{};
        std::uint64_t power = 1;
        for (std::uint64_t& entry : powers) {
            entry = power;
            power *= 10;  // wraps once, after the last entry
        }
        return powers;
    }();
    constexpr std::uint64_t kSmallest15Digits = kPowersOfTen[14];
    constexpr std::uint64_t kPast15Digits = kPowersOfTen[15];
    constexpr int kSmallestExponent = -5;
    constexpr int kLargestExponent = 14;

    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    if (biasedExponent == 0) {
        return std::nullopt;  // subnormal: far below 1E-5
    }
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = biasedExponent - 1075;  // |value| = mantissa * 2^binaryExponent
    // 2^n <= |value| < 2^(n+1), so floor(n * log10 2) is E or E - 1.
    const int n = binaryExponent + 52;
    int exponent = (n * 78913) >> 18;  // floor(n * log10 2) for |n| below 2^11
    if (exponent < kSmallestExponent || exponent > kLargestExponent) {
        return std::nullopt;
    }
    const int shift = -binaryExponent;  // from 3 (below 1E15) to 69 (from 1E-5)
    const auto scaled = [&](int e) {
        return Uint128{mantissa} * kPowersOfTen[static_cast<std::size_t>(kLargestExponent - e)];
    };
    Uint128 numerator = scaled(exponent);
    if ((numerator >> shift) >= kPast15Digits) {
        ++exponent;
        if (exponent > kLargestExponent) {
            return std::nullopt;
        }
        numerator = scaled(exponent);
    }
    auto digits = static_cast<std::uint64_t>(numerator >> shift);
    const Uint128 remainder = numerator & ((Uint128{1} << shift) - 1);
    const Uint128 half = Uint128{1} << (shift - 1);
    if (remainder > half || (remainder == half && (digits & 1) != 0)) {
        ++digits;
    }
    if (digits == kPast15Digits) {  // 999999999999999.5 became 1000000000000000
        digits = kSmallest15Digits;
        ++exponent;
    }
    return fromFifteenDigits(digits, negative, exponent);
#else
    static_cast<void>(value);
    return std::nullopt;
#endif
}

// Any other finite non-zero value.
RoundedDecimal roundTo15DigitsByLibrary(double value) {
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

// A rendered number in three parts: the sign and integer digits, the fraction digits (the
// separator stands before them when there are any), and the exponent ("E+15") if any. Each
// part is short, so all three are laid out in one small buffer and copied once.
class NumberText {
public:
    void head(char c) { buffer_[headEnd_++] = c; }
    void head(const char* first, std::size_t count) { headEnd_ = copy(first, count, headEnd_); }
    void headZeros(std::size_t count) { headEnd_ = fill('0', count, headEnd_); }

    void fraction(const char* first, std::size_t count) {
        fractionEnd_ = copy(first, count, fractionStart());
    }
    void fractionZerosThen(std::size_t zeros, const char* first, std::size_t count) {
        fractionEnd_ = copy(first, count, fill('0', zeros, fractionStart()));
    }

    void exponent(int value) {
        std::size_t at = fractionEnd();
        buffer_[at++] = 'E';
        buffer_[at++] = value < 0 ? '-' : '+';
        const int magnitude = std::abs(value);
        if (magnitude < 10) {
            buffer_[at++] = '0';
        }
        at = static_cast<std::size_t>(
            std::to_chars(buffer_.data() + at, buffer_.data() + buffer_.size(), magnitude).ptr -
            buffer_.data());
        exponentEnd_ = at;
    }

    std::string joinedWith(std::string_view separator) const {
        const std::size_t fractionLength = fractionEnd() - fractionStart();
        const std::size_t exponentLength = exponentEnd() - fractionEnd();
        const std::size_t separatorLength = fractionLength > 0 ? separator.size() : 0;
        std::string text(headEnd_ + separatorLength + fractionLength + exponentLength, '\0');
        char* out = text.data();
        out = std::copy_n(buffer_.data(), headEnd_, out);
        out = std::copy_n(separator.data(), separatorLength, out);
        std::copy_n(buffer_.data() + fractionStart(), fractionLength + exponentLength, out);
        return text;
    }

private:
    // The parts: head from 0, fraction from kFractionStart, exponent right after the fraction.
    static constexpr std::size_t kFractionStart = 24;

    std::size_t fractionStart() const { return kFractionStart; }
    std::size_t fractionEnd() const { return fractionEnd_ ? fractionEnd_ : kFractionStart; }
    std::size_t exponentEnd() const { return exponentEnd_ ? exponentEnd_ : fractionEnd(); }

    std::size_t copy(const char* first, std::size_t count, std::size_t at) {
        std::copy_n(first, count, buffer_.data() + at);
        return at + count;
    }
    std::size_t fill(char c, std::size_t count, std::size_t at) {
        std::fill_n(buffer_.data() + at, count, c);
        return at + count;
    }

    // Head: sign and at most 15 digits. Fraction: at most 3 zeros and 15 digits, then
    // "E", sign and at most 3 exponent digits.
    std::array<char, kFractionStart + 24> buffer_;
    std::size_t headEnd_ = 0;
    std::size_t fractionEnd_ = 0;
    std::size_t exponentEnd_ = 0;
};

// Fixed notation is used for rounded magnitudes from 1E-4 up to, not including, 1E15.
constexpr int kSmallestFixedExponent = -4;
constexpr int kLargestFixedExponent = 14;

NumberText layOut(const RoundedDecimal& rounded) {
    NumberText text;
    if (rounded.negative) {
        text.head('-');
    }
    const char* const digits = rounded.digits.data();
    const std::size_t count = rounded.digitCount;
    if (rounded.exponent < kSmallestFixedExponent || rounded.exponent > kLargestFixedExponent) {
        text.head(digits[0]);
        text.fraction(digits + 1, count - 1);
        text.exponent(rounded.exponent);
    } else if (rounded.exponent < 0) {
        text.head('0');
        text.fractionZerosThen(static_cast<std::size_t>(-rounded.exponent - 1), digits, count);
    } else {
        const auto integerDigits = static_cast<std::size_t>(rounded.exponent) + 1;
        const std::size_t written = std::min(integerDigits, count);
        text.head(digits, written);
        text.headZeros(integerDigits - written);
        text.fraction(digits + written, count - written);
    }
    return text;
}

std::string renderNonFinite(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    return value < 0 ? "-inf" : "inf";
}

}  // namespace

double parseNumber(std::string_view text) {
    if (const auto plain = readPlainNumber(text)) {
        return *plain;
    }
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
    const std::optional<RoundedDecimal> rounded = roundTo15DigitsExactly(value);
    return layOut(rounded ? *rounded : roundTo15DigitsByLibrary(value))
        .joinedWith(decimalSeparator);
}

std::string renderCount(std::int16_t count) {
    std::array<char, 8> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), count);
    return {text.data(), written.ptr};
}

}  // namespace calculator
