#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calculator/calculatorstate.h"

namespace calculator {

// Found by GoogleTest through the argument's namespace, so that a failure shows both fields.
inline void PrintTo(const CommandResult& r, std::ostream* os) {
    *os << "{\"" << r.labelText << "\", clearEntry=" << (r.clearEntry ? "true" : "false") << '}';
}

}  // namespace calculator

namespace {

using calculator::CalculatorState;
using calculator::CommandResult;
using calculator::OverflowError;

const CommandResult kCleared{"", true};
const CommandResult kNothingEntered{"Nic jsi nezadal!", false};
const CommandResult kNoNumbersForAverage{"Zatím jsi nezadal žádná čísla!", false};
const CommandResult kNoNumbersYet{"Žádné číslo jsi ještě nezadal!", false};

CommandResult shown(std::string text) {
    return {std::move(text), false};
}

// Everything the four questions tell of the state: the count, the last number and the sum
// (through the averages). Compared as a whole, so that a test sees any of them change.
std::vector<CommandResult> answersOf(CalculatorState& state) {
    return {state.showCount(), state.showLast(), state.showAverage(),
            state.showIntermediateAverage()};
}

void addAll(CalculatorState& state, const std::vector<std::string_view>& entries) {
    for (const std::string_view entry : entries) {
        ASSERT_EQ(state.addNumber(entry), kCleared) << "entry \"" << entry << '"';
    }
}

void expectFreshStartAnswers(CalculatorState& state) {
    EXPECT_EQ(state.showAverage(), kNoNumbersForAverage);
    EXPECT_EQ(state.showCount(), kNoNumbersYet);
    EXPECT_EQ(state.showLast(), kNoNumbersYet);
    EXPECT_EQ(state.showIntermediateAverage(), kNoNumbersYet);
}

// Fresh start --------------------------------------------------------------------------------

TEST(FreshStart, EveryQuestionSaysNothingWasEntered) {
    CalculatorState state(",");
    expectFreshStartAnswers(state);
}

// Adding -------------------------------------------------------------------------------------

class RejectedEntry : public testing::TestWithParam<std::string_view> {};

TEST_P(RejectedEntry, SaysNothingWasEnteredAndKeepsTheEntry) {
    CalculatorState state(",");
    EXPECT_EQ(state.addNumber(GetParam()), kNothingEntered);
    expectFreshStartAnswers(state);
}

TEST_P(RejectedEntry, LeavesTheTotalsAndTheLastNumberAlone) {
    CalculatorState state(",");
    addAll(state, {"5"});
    const std::vector<CommandResult> before = answersOf(state);
    EXPECT_EQ(state.addNumber(GetParam()), kNothingEntered);
    EXPECT_EQ(answersOf(state), before);
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 5."));
}

const std::string_view kRejectedEntries[] = {"",  "0",  "0.0", "0,0",    "abc", "-",
                                             ".", "  ", "-0",  "1e-400", "&H0", "&X1"};
INSTANTIATE_TEST_SUITE_P(Entries, RejectedEntry, testing::ValuesIn(kRejectedEntries));

TEST(Adding, AnAcceptedEntryClearsLabelAndEntry) {
    CalculatorState state(",");
    EXPECT_EQ(state.addNumber("2"), kCleared);
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 1."));
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 2."));
}

TEST(Adding, NegativeNumbersCountLikeAnyOther) {
    CalculatorState state(",");
    addAll(state, {"-4", "-2"});
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 2."));
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je -3."));
}

TEST(Adding, ReadsADecimalCommaAsAPoint) {
    CalculatorState state(",");
    addAll(state, {"2,5", "3,7"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 3,1."));
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 3,7."));
}

TEST(Adding, ReadsDigitGroupsSeparatedByNoBreakSpaces) {
    CalculatorState state(",");
    addAll(state, {"1\u00A0615,5"});
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 1615,5."));
}

// Command sequences --------------------------------------------------------------------------

TEST(Sequence, TwoAndThreeAverageTwoAndAHalfWithAComma) {
    CalculatorState state(",");
    addAll(state, {"2", "3"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 2,5."));
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 2."));
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 3."));
    EXPECT_EQ(state.showIntermediateAverage(), shown("Meziprůměr je 2,5."));
}

TEST(Sequence, TwoAndThreeAverageTwoAndAHalfWithAFullStop) {
    CalculatorState state(".");
    addAll(state, {"2", "3"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 2.5."));
    EXPECT_EQ(state.showIntermediateAverage(), shown("Meziprůměr je 2.5."));
}

TEST(Sequence, ReadsAndWritesAMultiByteSeparator) {
    CalculatorState state("\u066B");
    addAll(state, {"1", "2\u066B5"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 1\u066B75."));
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 2\u066B5."));
}

TEST(Sequence, FiveAndMinusFiveAverageZero) {
    CalculatorState state(",");
    addAll(state, {"5", "-5"});
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 2."));
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 0."));
}

TEST(Sequence, ThirdsAreRoundedToFifteenDigits) {
    CalculatorState state(",");
    addAll(state, {"1", "1", "0,5"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 0,833333333333333."));
    addAll(state, {"1e15"});
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 1E+15."));
}

TEST(Sequence, ARejectedEntryAfterAcceptedOnesKeepsTheLastAcceptedNumber) {
    CalculatorState state(",");
    addAll(state, {"5"});
    EXPECT_EQ(state.addNumber(""), kNothingEntered);
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 5."));
}

TEST(Sequence, TheRunningAverageFollowsEveryEntry) {
    CalculatorState state(",");
    addAll(state, {"1"});
    EXPECT_EQ(state.showIntermediateAverage(), shown("Meziprůměr je 1."));
    addAll(state, {"2"});
    EXPECT_EQ(state.showIntermediateAverage(), shown("Meziprůměr je 1,5."));
}

TEST(Sequence, OnlyAddingAndResettingClearTheEntry) {
    CalculatorState state(",");
    addAll(state, {"4"});
    EXPECT_FALSE(state.showAverage().clearEntry);
    EXPECT_FALSE(state.showCount().clearEntry);
    EXPECT_FALSE(state.showLast().clearEntry);
    EXPECT_FALSE(state.showIntermediateAverage().clearEntry);
    EXPECT_FALSE(state.addNumber("x").clearEntry);
    EXPECT_TRUE(state.resetAll().clearEntry);
}

// Reset --------------------------------------------------------------------------------------

TEST(Reset, ReturnsEveryCommandToItsFreshStartAnswer) {
    CalculatorState state(",");
    addAll(state, {"2", "3"});
    state.showAverage();
    state.showIntermediateAverage();
    EXPECT_EQ(state.resetAll(), kCleared);
    expectFreshStartAnswers(state);
}

TEST(Reset, StartsANewAverage) {
    CalculatorState state(",");
    addAll(state, {"100", "200"});
    state.resetAll();
    addAll(state, {"1", "2"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 1,5."));
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 2."));
}

TEST(Reset, OnAFreshStateChangesNothing) {
    CalculatorState state(",");
    EXPECT_EQ(state.resetAll(), kCleared);
    expectFreshStartAnswers(state);
}

// Overflow: the command raises OverflowError and every field stays as it was ----------------

struct OverflowCase {
    std::string_view name;
    std::vector<std::string_view> before;
    std::string_view entry;
};

void PrintTo(const OverflowCase& c, std::ostream* os) {
    *os << c.name;
}

class OverflowingEntry : public testing::TestWithParam<OverflowCase> {};

TEST_P(OverflowingEntry, LeavesEveryFieldAsItWas) {
    CalculatorState state(",");
    addAll(state, GetParam().before);
    const std::vector<CommandResult> before = answersOf(state);

    EXPECT_THROW(state.addNumber(GetParam().entry), OverflowError);

    EXPECT_EQ(answersOf(state), before);
}

TEST_P(OverflowingEntry, LetsTheUserCarryOn) {
    CalculatorState state(".");
    addAll(state, GetParam().before);
    EXPECT_THROW(state.addNumber(GetParam().entry), OverflowError);

    addAll(state, {"1"});
    EXPECT_EQ(state.showLast(), CommandResult({"Poslední zadané číslo je 1.", false}));
}

const OverflowCase kOverflows[] = {
    {"SumBeyondTheLargestDouble", {"1.7e308"}, "1.7e308"},
    {"SumBelowTheMostNegativeDouble", {"-1.7e308"}, "-1.7e308"},
    {"SumOfSeveralLargeNumbers", {"9e307", "-1e307", "9e307"}, "9e307"},
    {"EntryBeyondTheDoubleRange", {"2", "3"}, "1e400"},
    {"NegativeEntryBeyondTheDoubleRange", {"2"}, "-1e309"},
    {"HexadecimalBeyond32Bits", {"2"}, "&H100000000"},
    {"OctalBeyond32Bits", {"2"}, "&O40000000000"},
    {"EntryOutOfRangeOnAFreshStart", {}, "1e400"},
};
INSTANTIATE_TEST_SUITE_P(Overflow, OverflowingEntry, testing::ValuesIn(kOverflows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CountLimit, Takes32767NumbersAndRejectsOneMore) {
    CalculatorState state(",");
    for (int i = 0; i < 32767; ++i) {
        ASSERT_EQ(state.addNumber("1"), kCleared) << "number " << i + 1;
    }
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 32767."));
    const std::vector<CommandResult> before = answersOf(state);

    EXPECT_THROW(state.addNumber("2"), OverflowError);

    EXPECT_EQ(answersOf(state), before);
    // A rejected entry is still answered as usual, and reset makes room again.
    EXPECT_EQ(state.addNumber("0"), kNothingEntered);
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 1."));
    state.resetAll();
    addAll(state, {"2"});
    EXPECT_EQ(state.showCount(), shown("Počet zadaných čísel je 1."));
}

TEST(CountLimit, AnOverflowingEntryAtTheLimitIsReportedAndChangesNothing) {
    CalculatorState state(",");
    for (int i = 0; i < 32767; ++i) {
        ASSERT_EQ(state.addNumber("1"), kCleared);
    }
    const std::vector<CommandResult> before = answersOf(state);
    EXPECT_THROW(state.addNumber("1e400"), OverflowError);
    EXPECT_THROW(state.addNumber("1.7976931348623157e308"), OverflowError);
    EXPECT_EQ(answersOf(state), before);
}

TEST(LargeNumbers, TheLargestFiniteSumIsStillAccepted) {
    CalculatorState state(",");
    addAll(state, {"8.988465674311579e307", "8.988465674311579e307"});
    EXPECT_EQ(state.showAverage(), shown("Průměr zadaných čísel je 8,98846567431158E+307."));
    EXPECT_EQ(state.showLast(), shown("Poslední zadané číslo je 8,98846567431158E+307."));
}

}  // namespace
