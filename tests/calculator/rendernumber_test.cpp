#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "calculator/numbertext.h"

namespace {

using calculator::renderCount;
using calculator::renderNumber;

// Every expectation is written with a decimal comma; the same digits must come out with any
// other separator in its place.
struct RenderCase {
    double value;
    std::string_view withComma;
};

void PrintTo(const RenderCase& c, std::ostream* os) {
    *os << c.value << " -> \"" << c.withComma << '"';
}

std::string withSeparator(std::string_view withComma, std::string_view separator) {
    std::string text;
    for (const char c : withComma) {
        if (c == ',') {
            text += separator;
        } else {
            text += c;
        }
    }
    return text;
}

// "," and "." as in most locales, and the Arabic decimal separator U+066B, two bytes in UTF-8.
const std::string_view kSeparators[] = {",", ".", "\u066B"};

class RenderNumberWrites : public testing::TestWithParam<RenderCase> {};

TEST_P(RenderNumberWrites, TheSameDigitsWithEverySeparator) {
    const RenderCase& c = GetParam();
    for (const std::string_view separator : kSeparators) {
        EXPECT_EQ(renderNumber(c.value, separator), withSeparator(c.withComma, separator))
            << "separator \"" << separator << '"';
    }
}

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTrueMin = std::numeric_limits<double>::denorm_min();

const RenderCase kPlainValues[] = {
    {2.5, "2,5"},
    {3, "3"},
    {-0.25, "-0,25"},
    {0, "0"},
    {-0.0, "0"},
    {0.5, "0,5"},
    {0.25, "0,25"},
    {-4, "-4"},
    {100, "100"},
    {123.456, "123,456"},
    {0.1, "0,1"},
    {1e14, "100000000000000"},
    {12345678.9, "12345678,9"},
    {-1615.5, "-1615,5"},
};
INSTANTIATE_TEST_SUITE_P(PlainValues, RenderNumberWrites, testing::ValuesIn(kPlainValues));

const RenderCase kRounding[] = {
    {1.0 / 3, "0,333333333333333"},
    {2.0 / 3, "0,666666666666667"},
    {-2.0 / 3, "-0,666666666666667"},
    {0.1 + 0.2, "0,3"},
    {1.000000000000005, "1,00000000000001"},
    {123456789012345.6, "123456789012346"},
    {999999999999999.0, "999999999999999"},
    {999999999999999.4, "999999999999999"},
    {99999.99999999999, "100000"},
    {0.000123456789012345678, "0,000123456789012346"},
    {9007199254740993.0, "9,00719925474099E+15"},
    // Exact halves round to the even neighbour.
    {100000000000000.5, "100000000000000"},
    {100000000000001.5, "100000000000002"},
    {12345678901234.25, "12345678901234,2"},
    {12345678901234.75, "12345678901234,8"},
    {-12345678901234.25, "-12345678901234,2"},
    {0.5, "0,5"},
    {1.0 / 7, "0,142857142857143"},
    {1e-5 * (1.0 / 3), "3,33333333333333E-06"},
    {0.00001 / 3 * 3, "1E-05"},
    {1.0 / 3 * 1e14, "33333333333333,3"},
    {2.0 / 3 * 1e14, "66666666666666,7"},
    {1.0 / 3 * 1e15, "333333333333333"},
    {1.0 / 3 * 1e16, "3,33333333333333E+15"},
};
INSTANTIATE_TEST_SUITE_P(Rounding, RenderNumberWrites, testing::ValuesIn(kRounding));

const RenderCase kExponents[] = {
    {1e15, "1E+15"},
    {-1e15, "-1E+15"},
    {999999999999999.5, "1E+15"},  // rounds up to 1E15, so exponent notation
    {1234567890123456.0, "1,23456789012346E+15"},
    {1e16, "1E+16"},
    {1.5e99, "1,5E+99"},
    {1e100, "1E+100"},
    {kMax, "1,79769313486232E+308"},
    {-kMax, "-1,79769313486232E+308"},
    {1e-4, "0,0001"},
    {-1e-4, "-0,0001"},
    {0.00012345, "0,00012345"},
    {9.999999999999999e-5, "0,0001"},  // rounds up to 1E-4, so fixed notation
    {9.99999999999991e-5, "9,99999999999991E-05"},
    {1e-5, "1E-05"},
    {1.5e-5, "1,5E-05"},
    {-1.5e-7, "-1,5E-07"},
    {1e-300, "1E-300"},
    {std::numeric_limits<double>::min(), "2,2250738585072E-308"},
    {kTrueMin, "4,94065645841247E-324"},
};
INSTANTIATE_TEST_SUITE_P(Exponents, RenderNumberWrites, testing::ValuesIn(kExponents));

TEST(RenderNumber, UsesALongSeparatorWhole) {
    EXPECT_EQ(renderNumber(2.5, " dec "), "2 dec 5");
    EXPECT_EQ(renderNumber(1.5e20, "::"), "1::5E+20");
    EXPECT_EQ(renderNumber(7, "::"), "7");
}

TEST(RenderNumber, WritesNonFiniteValuesPlainly) {
    EXPECT_EQ(renderNumber(std::numeric_limits<double>::infinity(), ","), "inf");
    EXPECT_EQ(renderNumber(-std::numeric_limits<double>::infinity(), ","), "-inf");
    EXPECT_EQ(renderNumber(std::numeric_limits<double>::quiet_NaN(), ","), "nan");
    EXPECT_EQ(renderNumber(-std::numeric_limits<double>::quiet_NaN(), ","), "nan");
}

// Rendering and parsing back with the same separator gives the value rounded to 15 digits: a
// number the user reads, typed back in, is the same number. The separators are those of
// Czech, English and Pashto locales and one of three bytes.
TEST(RenderNumber, ReadsBackAsTheRoundedValue) {
    const struct {
        double value;
        double rounded;
    } cases[] = {
        {2.5, 2.5},
        {1.0 / 3, 0.333333333333333},
        {2.0 / 3, 0.666666666666667},
        {123456789012345.0, 123456789012345.0},
        {-123456789012345.0, -123456789012345.0},
        {1234567890123456.0, 1.23456789012346e15},
        {-1.23456789012346e307, -1.23456789012346e307},
        {1e-5, 1e-5},
        {-1.5e-7, -1.5e-7},
        {kTrueMin, 4.94065645841247e-324},
    };
    for (const std::string_view separator : {",", ".", "\u066B", "\u2396"}) {
        for (const auto& c : cases) {
            const std::string text = renderNumber(c.value, separator);
            EXPECT_EQ(calculator::parseNumber(text, separator), c.rounded) << text;
        }
    }
}

TEST(RenderCount, WritesPlainDigits) {
    const struct {
        std::int16_t count;
        std::string_view text;
    } cases[] = {
        {0, "0"},         {1, "1"},   {7, "7"},           {1000, "1000"},
        {32767, "32767"}, {-1, "-1"}, {-32768, "-32768"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(renderCount(c.count), c.text);
    }
}

}  // namespace
