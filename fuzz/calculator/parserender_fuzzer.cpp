// Fuzzes the number text conversions and checks what must hold for every input:
//  - parseNumber gives a finite double (never a negative zero) or raises OverflowError, and
//    agrees with a plain reference reading built on strtod, under every separator alike;
//  - renderNumber's text always fits its grammar, under every separator alike, and is the
//    text printf writes for "%.15G";
//  - parsing renderNumber(x, separator) with the same separator gives back x rounded to 15
//    significant digits.
// The input is read as an entry text, and its first eight bytes also as a double.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "calculator/numbertext.h"

namespace {

using calculator::OverflowError;
using calculator::parseNumber;
using calculator::renderNumber;

[[noreturn]] void fail(const char* what, std::string_view detail) {
    std::fprintf(stderr, "property violated: %s\n  detail: \"%.*s\"\n", what,
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
}

void require(bool holds, const char* what, std::string_view detail) {
    if (!holds) {
        fail(what, detail);
    }
}

// A parse result: a value, or nullopt for OverflowError.
using Reading = std::optional<double>;

// The separators tried: a full stop (which adds nothing to "." and ","), a comma, the Arabic
// decimal separator of two bytes, and one of two characters.
constexpr std::string_view kSeparators[] = {".", ",", "\u066B", "::"};

Reading parseOrOverflow(std::string_view text, std::string_view separator) {
    try {
        return parseNumber(text, separator);
    } catch (const OverflowError&) {
        return std::nullopt;
    }
}

// Reference reading ------------------------------------------------------------------------

std::string withoutBlanks(std::string_view text) {
    static constexpr std::string_view kRemoved[] = {" ", "\t", "\n", "\u00A0", "\u202F"};
    std::string kept;
    std::size_t i = 0;
    while (i < text.size()) {
        bool removed = false;
        for (const std::string_view blank : kRemoved) {
            if (text.substr(i).starts_with(blank)) {
                i += blank.size();
                removed = true;
                break;
            }
        }
        if (!removed) {
            kept += text[i++];
        }
    }
    return kept;
}

Reading referenceRadix(std::string_view text) {
    const int base = (text[1] == 'H' || text[1] == 'h') ? 16 : 8;
    const std::string_view validDigits = base == 16 ? "0123456789ABCDEFabcdef" : "01234567";
    std::string_view digits = text.substr(2);
    digits = digits.substr(0, std::min(digits.size(), digits.find_first_not_of(validDigits)));
    digits.remove_prefix(std::min(digits.size(), digits.find_first_not_of('0')));
    if (digits.size() > 11) {
        return std::nullopt;
    }
    const unsigned long long value =
        digits.empty() ? 0 : std::strtoull(std::string(digits).c_str(), nullptr, base);
    if (value > 0xFFFF'FFFFull) {
        return std::nullopt;
    }
    if (value <= 0xFFFFull) {
        return static_cast<std::int16_t>(value);
    }
    return static_cast<std::int32_t>(value);
}

// The text with the first point, comma or whole separator made a full stop. Done before the
// blanks are removed: a separator broken up by a blank is no separator.
std::string withTheFirstPointAStop(std::string_view text, std::string_view separator) {
    const std::size_t stop = text.find('.');
    const std::size_t comma = text.find(',');
    const std::size_t other = separator.empty() ? std::string_view::npos : text.find(separator);
    std::string result(text);
    if (comma < stop && comma <= other) {
        result[comma] = '.';
    } else if (other < stop && other < comma) {
        result.replace(other, separator.size(), ".");
    }
    return result;
}

// strtod reads the same decimal grammar once the first point is a full stop, "D" has become
// "E", and the text is cut at the first character the grammar never uses, which also keeps
// strtod from reading "inf", "nan" and "0x..." on its own.
Reading referenceDecimal(std::string text) {
    for (char& c : text) {
        if (c == 'D' || c == 'd') {
            c = 'e';
        }
    }
    text = text.substr(0, text.find_first_not_of("0123456789+-.eE"));
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(value)) {
        return std::nullopt;
    }
    return value;
}

Reading referenceReading(std::string_view text, std::string_view separator) {
    const std::string kept = withoutBlanks(withTheFirstPointAStop(text, separator));
    if (kept.starts_with('&')) {
        if (kept.size() >= 2 && std::string_view("HhOo").find(kept[1]) != std::string_view::npos) {
            return referenceRadix(kept);
        }
        return 0.0;
    }
    return referenceDecimal(kept);
}

// Render grammar ---------------------------------------------------------------------------

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    return end - from;
}

// ["-"] integer [separator fraction] ["E" ("+"|"-") exponent], where
//  - fixed form: integer is "0" or has no leading zero; a value below 1 has at most three
//    zeros after the separator (it is at least 1E-4); at most 15 integer digits;
//  - exponent form: integer is one digit 1-9, exponent at least two digits, no needless
//    leading zero, at least 15 or at most -5;
//  - the fraction is not empty and does not end in "0"; at most 15 significant digits.
void checkGrammar(std::string_view text, std::string_view separator, double value) {
    require(text != "-0", "never \"-0\"", text);
    std::size_t pos = 0;
    if (text.starts_with('-')) {
        require(value < 0, "a sign only before a negative value", text);
        pos = 1;
    } else {
        require(!(value < 0), "a negative value starts with \"-\"", text);
    }
    const std::size_t integerDigits = countDigits(text, pos);
    require(integerDigits >= 1, "digits before anything else", text);
    const std::string_view integer = text.substr(pos, integerDigits);
    pos += integerDigits;
    require(integer == "0" || integer[0] != '0', "no leading zero", text);

    std::string_view fraction;
    if (text.substr(pos).starts_with(separator)) {
        pos += separator.size();
        const std::size_t fractionDigits = countDigits(text, pos);
        fraction = text.substr(pos, fractionDigits);
        pos += fractionDigits;
        require(!fraction.empty(), "digits after the separator", text);
        require(fraction.back() != '0', "no trailing zero in the fraction", text);
    }

    // Integer and fraction digits without leading zeros, and without the trailing zeros of a
    // whole number (they only place the point).
    std::string significant = std::string(integer) + std::string(fraction);
    significant.erase(0, std::min(significant.size(), significant.find_first_not_of('0')));
    if (fraction.empty()) {
        significant.erase(std::min(significant.size(), significant.find_last_not_of('0') + 1));
    }
    const std::size_t significantDigits = significant.size();
    require(significantDigits <= 15, "at most 15 significant digits", text);

    if (pos == text.size()) {
        require(integer.size() <= 15, "fixed notation below 1E15", text);
        if (integer == "0") {
            require(fraction.empty() || fraction.find_first_not_of('0') <= 3,
                    "fixed notation from 1E-4", text);
            require(fraction.empty() == (value == 0), "\"0\" only for zero", text);
        }
        return;
    }
    require(text[pos] == 'E', "\"E\" after the digits", text);
    require(integer.size() == 1 && integer != "0", "one non-zero digit before the exponent", text);
    ++pos;
    require(pos < text.size() && (text[pos] == '+' || text[pos] == '-'), "a sign on the exponent",
            text);
    const bool negativeExponent = text[pos] == '-';
    ++pos;
    const std::size_t exponentDigits = countDigits(text, pos);
    require(exponentDigits >= 2 && pos + exponentDigits == text.size(),
            "at least two exponent digits, then the end", text);
    const std::string_view exponentText = text.substr(pos);
    require(exponentDigits == 2 || exponentText[0] != '0', "no needless exponent zero", text);
    const int exponent = std::atoi(std::string(exponentText).c_str());
    require(negativeExponent ? exponent >= 5 : exponent >= 15,
            "exponent notation only from 1E15 and below 1E-4", text);
}

// Render properties ------------------------------------------------------------------------

// x rounded to 15 significant digits by the C library, or nullopt when that rounding leaves
// the double range (only just below the largest double).
Reading roundedTo15Digits(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", value);
    errno = 0;
    const double rounded = std::strtod(text, nullptr);
    if (errno == ERANGE && std::isinf(rounded)) {
        return std::nullopt;
    }
    return rounded;
}

std::string replaced(std::string_view text, char from, std::string_view to) {
    std::string out;
    for (const char c : text) {
        if (c == from) {
            out += to;
        } else {
            out += c;
        }
    }
    return out;
}

void checkRender(double value) {
    if (!std::isfinite(value)) {
        const std::string text = renderNumber(value, ",");
        require(text == (std::isnan(value) ? "nan"
                         : value < 0       ? "-inf"
                                           : "inf"),
                "non-finite values written plainly", text);
        return;
    }
    const std::string text = renderNumber(value, ".");
    if (value != 0) {
        // "%.15G" follows the same rules: 15 digits, no trailing zeros, exponent form below
        // 1E-4 and from 1E15 with at least two exponent digits.
        char reference[40];
        std::snprintf(reference, sizeof reference, "%.15G", value);
        require(text == reference, "the same text as printf's %.15G", text);
    }
    const Reading expected = roundedTo15Digits(value);
    for (const std::string_view separator : kSeparators) {
        const std::string other = renderNumber(value, separator);
        require(other == replaced(text, '.', separator), "the same digits under every separator",
                other);
        checkGrammar(other, separator, value);
        const Reading back = parseOrOverflow(other, separator);
        require(back.has_value() == expected.has_value(),
                "the rendered text overflows exactly when the rounded value does", other);
        require(!back || *back == *expected, "the rendered text reads back as the rounded value",
                other);
    }
}

void checkParse(std::string_view text, std::string_view separator) {
    const Reading reading = parseOrOverflow(text, separator);
    if (reading) {
        require(std::isfinite(*reading), "a finite result", text);
        require(*reading != 0 || !std::signbit(*reading), "never a negative zero", text);
    }
    const Reading reference = referenceReading(text, separator);
    require(reading.has_value() == reference.has_value(),
            "overflow exactly when the reference overflows", text);
    require(!reading || *reading == *reference, "the same value as the reference", text);
    if (reading) {
        checkRender(*reading);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const std::string_view separator : kSeparators) {
        checkParse(text, separator);
    }
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        checkRender(value);
    }
    return 0;
}
