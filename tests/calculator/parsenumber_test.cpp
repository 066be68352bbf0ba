#include <cmath>
#include <cstddef>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "calculator/numbertext.h"

namespace {

using calculator::OverflowError;
using namespace std::string_view_literals;

// Most cases read as on a locale whose separator is the full stop, which adds nothing to the
// "." and "," always read.
double parseNumber(std::string_view text) {
    return calculator::parseNumber(text, ".");
}

struct ParseCase {
    std::string_view text;
    double expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" -> " << c.expected;
}

class ParseNumberReads : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberReads, TheLeadingNumber) {
    const ParseCase& c = GetParam();
    EXPECT_EQ(parseNumber(c.text), c.expected) << "text: \"" << c.text << '"';
}

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTrueMin = std::numeric_limits<double>::denorm_min();

const ParseCase kSigns[] = {
    {"-3.25", -3.25}, {"+7", 7},     {"-", 0},        {"+", 0},  {"--5", 0},
    {"+-5", 0},       {"-+5", 0},    {"- 5", -5},     {"5-", 5}, {"-0", 0},
    {"-.5", -0.5},    {"-,5", -0.5}, {"+0.25", 0.25},
};
INSTANTIATE_TEST_SUITE_P(Signs, ParseNumberReads, testing::ValuesIn(kSigns));

const ParseCase kBlanks[] = {
    {"", 0},
    {"   ", 0},
    {"   42   ", 42},
    {"4 2", 42},
    {"  1 615 abc", 1615},
    {"\t1\t2\n3", 123},
    {"1 . 5 e 3", 1500},
    {"- 1 , 5", -1.5},
    {"1\r2", 1},       // a carriage return is not a blank: it ends the number
    {"1\v2", 1},       // neither is a vertical tab
    {"\n\n-\t8", -8},  // blanks before the sign too
};
INSTANTIATE_TEST_SUITE_P(Blanks, ParseNumberReads, testing::ValuesIn(kBlanks));

const ParseCase kNonBreakingSpaces[] = {
    {"1\u00A0615,5", 1615.5},
    {"1\u202F615", 1615},
    {"\u00A0\u00A07", 7},
    {"1\u00A0000\u00A0000", 1000000},
    {"2,\u202F5", 2.5},
    {"1\u2009 2", 1},  // a thin space is not removed
    {"1\xC2"
     "2",
     1},  // a lone lead byte is an ordinary character
    {"1\xC2 \xA0"
     "2",
     1},  // removing the blank does not make a no-break space
    {"1\xE2\x80"
     "5",
     1},  // an incomplete U+202F
};
INSTANTIATE_TEST_SUITE_P(NonBreakingSpaces, ParseNumberReads,
                         testing::ValuesIn(kNonBreakingSpaces));

const ParseCase kJunk[] = {
    {"12kg", 12},
    {"12abc", 12},
    {"abc12", 0},
    {"abc", 0},
    {".", 0},
    {",", 0},
    {".5", 0.5},
    {"5.", 5},
    {"0", 0},
    {"0.0", 0},
    {"000", 0},
    {"007", 7},
    {"0x10", 0},
    {"inf", 0},
    {"-inf", 0},
    {"infinity", 0},
    {"nan", 0},
    {"NaN", 0},
    {"$5", 0},
    {"1e5x", 1e5},
    {"5%", 5},
    {"3.7.1", 3.7},
    {"1/2", 1},
    {"\0"
     "5"sv,
     0},  // a NUL byte is an ordinary character
};
INSTANTIATE_TEST_SUITE_P(Junk, ParseNumberReads, testing::ValuesIn(kJunk));

const ParseCase kDecimalCommas[] = {
    {"2,5", 2.5},   {"3,7", 3.7}, {"1,2,3", 1.2},      {"1.2,3", 1.2},   {"1,2.3", 1.2},
    {",5", 0.5},    {"1,", 1},    {"0,1", 0.1},        {"-2,75", -2.75}, {"1,5e2", 150},
    {"1,5D2", 150}, {"1,,5", 1},  {"1 615,5", 1615.5},
};
INSTANTIATE_TEST_SUITE_P(DecimalCommas, ParseNumberReads, testing::ValuesIn(kDecimalCommas));

const ParseCase kExponents[] = {
    {"1e3", 1000},   {"1.5E3", 1500},  {"1e", 1},          {"1e+", 1},           {"1e-", 1},
    {"2E-3", 0.002}, {"1d3", 1000},    {"1D-2", 0.01},     {"1e+05", 1e5},       {"1ee3", 1},
    {"1e3.5", 1000}, {"1e3e4", 1000},  {"e5", 0},          {".e5", 0},           {"-e5", 0},
    {"0e999999", 0}, {"1E308", 1e308}, {"1e-320", 1e-320}, {"5e-1", 0.5},        {"1E0", 1},
    {"1e+-3", 1},    {"1x3", 1},       {"1e0003", 1000},   {"12345e-4", 1.2345},
};
INSTANTIATE_TEST_SUITE_P(Exponents, ParseNumberReads, testing::ValuesIn(kExponents));

const ParseCase kRadixIntegers[] = {
    {"&H10", 16},
    {"&h10", 16},
    {"&O17", 15},
    {"&o17", 15},
    {"&Hff", 255},
    {"&HFFFF", -1},
    {"&H7FFF", 32767},
    {"&H8000", -32768},
    {"&O177777", -1},
    {"&O100000", -32768},
    {"&H10000", 65536},
    {"&O200000", 65536},
    {"&H7FFFFFFF", 2147483647},
    {"&H80000000", -2147483648.0},
    {"&HFFFFFFFF", -1},
    {"&O37777777777", -1},
    {"&H0000000000FFFF", -1},  // leading zeros do not count toward the size
    {"&O00000000000000000017", 15},
    {"&H", 0},
    {"&O", 0},
    {"&O8", 0},
    {"&O78", 7},
    {"&HFG", 15},
    {"&H1.5", 1},
    {"& H 1 0", 16},
    {"  &HFFFF  ", -1},
    {"-&H10", 0},  // no sign before "&H"
    {"&X10", 0},
    {"&", 0},
    {"&10", 0},
};
INSTANTIATE_TEST_SUITE_P(RadixIntegers, ParseNumberReads, testing::ValuesIn(kRadixIntegers));

// The largest double written out exactly, and the integer just below the halfway point
// between it and 2^1024.
constexpr std::string_view kMaxDigits =
    "17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955863"
    "27668781715404589535143824642343213268894641827684675467035375169860499105765512820762454900"
    "90389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177"
    "180919299881250404026184124858368";
constexpr std::string_view kBelowHalfwayPastMax =
    "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797"
    "75872070963302864166928879109465555478519404026306574886715058206819089020007083836762738548"
    "45817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711"
    "559699508093042880177904174497791";

const ParseCase kRangeEdges[] = {
    {"1.7976931348623157e308", kMax},
    {"-1.7976931348623157e308", -kMax},
    {"1.7976931348623158e308", kMax},
    {kMaxDigits, kMax},
    {kBelowHalfwayPastMax, kMax},
    {"4.9406564584124654e-324", kTrueMin},
    {"2.5e-324", kTrueMin},
    {"2.4e-324", 0},
    {"1e-324", 0},
    {"1e-400", 0},
    {"-1e-400", 0},
    {"2.2250738585072014e-308", std::numeric_limits<double>::min()},
    {"0.000000000000000000000000000000000000001e-270", 1e-309},
    {"100000000000000000000000000000000000000e270", 1e308},
    {"9007199254740993", 9007199254740992.0},  // halfway: ties to even
    {"9007199254740995", 9007199254740996.0},
    {"123456789012345678901234567890", 123456789012345678901234567890.0},
    {"0.1", 0.1},
    {"0.3", 0.3},
    {"1.2345678901234567890123", 1.2345678901234567890123},
};
INSTANTIATE_TEST_SUITE_P(RangeEdges, ParseNumberReads, testing::ValuesIn(kRangeEdges));

// Out of range -------------------------------------------------------------------------------

class ParseNumberRejects : public testing::TestWithParam<std::string_view> {};

TEST_P(ParseNumberRejects, AsOverflow) {
    const std::string_view text = GetParam();
    EXPECT_THROW(parseNumber(text), OverflowError) << "text: \"" << text << '"';
}

const std::string_view kOutOfRange[] = {
    "1e400",
    "-1e400",
    "1e309",
    "1.8e308",
    "1.7976931348623159e308",
    "17976931348623158079372897140530341507993413271003782693617377898044496829276475094664901797"
    "75872070963302864166928879109465555478519404026306574886715058206819089020007083836762738548"
    "45817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711"
    "559699508093042880177904174497792",  // exactly halfway past the largest double
    "0.1e310",
    "1D400",
    "&H100000000",
    "&HFFFFFFFFF",
    "&O40000000000",
    "&H123456789ABCDEF0123",
    "&h 1 0000 0000",
};
INSTANTIATE_TEST_SUITE_P(OutOfRange, ParseNumberRejects, testing::ValuesIn(kOutOfRange));

TEST(ParseNumber, NeverGivesANegativeZero) {
    for (const std::string_view text : {"-0", "-0.0", "-0e5", "-1e-400", "-0,000"}) {
        const double value = parseNumber(text);
        EXPECT_EQ(value, 0) << text;
        EXPECT_FALSE(std::signbit(value)) << text;
    }
}

TEST(ParseNumber, ReadsTheLocaleSeparatorAsADecimalPoint) {
    const struct {
        std::string_view text;
        std::string_view separator;
        double expected;
    } cases[] = {
        {"-\u066B5E+3", "\u066B", -500},
        {"2 \u066B 5", "\u066B", 2.5},  // blanks around it are removed
        {"1.2\u066B3", "\u066B", 1.2},  // whichever point comes first
        {"1\u066B2,3", "\u066B", 1.2},
        {"2\u066B5", ",", 2},  // another locale's separator ends the number
        {"2\xD9 \xAB"
         "5",
         "\u066B", 2},  // a blank inside the separator breaks it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(calculator::parseNumber(c.text, c.separator), c.expected)
            << "text: \"" << c.text << "\", separator: \"" << c.separator << '"';
    }
}

TEST(ParseNumber, DoesNotDependOnAnythingButTheText) {
    // The same text always reads the same, whatever was read before it.
    EXPECT_EQ(parseNumber("2,5"), 2.5);
    EXPECT_THROW(parseNumber("1e400"), OverflowError);
    EXPECT_EQ(parseNumber("2,5"), 2.5);
}

// Ten-megabyte texts: the parse is linear, so each of these is quick; the values check that
// the exponent and the digits beyond the kept ones are accounted for exactly.

constexpr std::size_t kTenMegabytes = 10'000'000;

std::string repeated(std::string_view piece, std::size_t totalSize) {
    std::string text;
    text.reserve(totalSize + piece.size());
    while (text.size() < totalSize) {
        text += piece;
    }
    return text;
}

// Each text is built only when its test runs: a table of ready-made texts would put all of
// them in memory in every test process.
struct LongCase {
    std::string_view name;
    std::string (*makeText)();
    double expected;
};

void PrintTo(const LongCase& c, std::ostream* os) {
    *os << c.name;
}

std::string zeros() {
    return std::string(kTenMegabytes, '0');
}
std::string nines() {
    return std::string(kTenMegabytes, '9');
}
std::string tenMegabyteExponent() {
    return std::to_string(kTenMegabytes);
}

const LongCase kLongCases[] = {
    {"ZerosAfterThePointThenADigit", [] { return "0." + zeros() + "1"; }, 0},
    {"ZerosAfterThePointMadeUpByTheExponent",
     [] { return "0." + zeros() + "1e" + tenMegabyteExponent(); }, 0.1},
    {"IntegerZerosTakenBackByTheExponent",
     [] { return "1" + zeros() + "e-" + tenMegabyteExponent(); }, 1},
    {"HugeNegativeExponent", [] { return "1e-" + nines(); }, 0},
    {"ZeroWithAHugeExponent", [] { return "0e" + nines(); }, 0},
    {"BlanksBeforeTheNumber", [] { return std::string(kTenMegabytes, ' ') + "42"; }, 42},
    {"NoBreakSpacesBeforeTheNumber", [] { return repeated("\u00A0", kTenMegabytes) + "7"; }, 7},
    {"NarrowNoBreakSpacesBetweenDigits",
     [] { return "1" + repeated("\u202F", kTenMegabytes) + "5"; }, 15},
    {"ManyDigitsAfterThePoint", [] { return "1." + repeated("2345678901", kTenMegabytes); },
     1.2345678901234567890},
    {"ManyIntegerDigits", [] { return repeated("1234567890", kTenMegabytes) + "e-10000200"; },
     1.2345678901234567890e-201},
    {"HalfwayPointExactly", [] { return "9007199254740993." + zeros(); }, 9007199254740992.0},
    // The digit far beyond the ones kept decides the rounding.
    {"HalfwayPointAndADigitFarBeyondIt", [] { return "9007199254740993." + zeros() + "1"; },
     9007199254740994.0},
    {"OnePlusHalfAnUlpAndADigitFarBeyondIt",
     [] { return "1.00000000000000011102230246251565404236316680908203125" + zeros() + "1"; },
     1.0000000000000002},
    {"JunkAfterTheNumber", [] { return "5" + repeated("kg", kTenMegabytes); }, 5},
    {"HexadecimalWithManyLeadingZeros", [] { return "&H" + zeros() + "FFFF"; }, -1},
};

class ParseNumberReadsLongText : public testing::TestWithParam<LongCase> {};

TEST_P(ParseNumberReadsLongText, Exactly) {
    EXPECT_EQ(parseNumber(GetParam().makeText()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(TenMegabytes, ParseNumberReadsLongText, testing::ValuesIn(kLongCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseNumberLongText, RejectsManyIntegerDigitsAsOverflow) {
    EXPECT_THROW(parseNumber("1" + std::string(kTenMegabytes, '0')), OverflowError);
}

TEST(ParseNumberLongText, RejectsAHugeExponentAsOverflow) {
    EXPECT_THROW(parseNumber("1e" + std::string(kTenMegabytes, '9')), OverflowError);
}

TEST(ParseNumberLongText, RejectsAHugeExponentAfterManyZerosAsOverflow) {
    EXPECT_THROW(parseNumber("0." + std::string(kTenMegabytes, '0') + "1e" + std::string(20, '9')),
                 OverflowError);
}

}  // namespace
