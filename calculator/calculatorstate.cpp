#include "calculator/calculatorstate.h"

#include <cmath>
#include <limits>
#include <utility>

namespace calculator {

namespace {

// The message texts, exactly as the user reads them.
constexpr std::string_view kNothingEntered = "Nic jsi nezadal!";
constexpr std::string_view kNoNumbersForAverage = "Zatím jsi nezadal žádná čísla!";
constexpr std::string_view kNoNumbersYet = "Žádné číslo jsi ještě nezadal!";
constexpr std::string_view kAveragePrefix = "Průměr zadaných čísel je ";
constexpr std::string_view kCountPrefix = "Počet zadaných čísel je ";
constexpr std::string_view kLastNumberPrefix = "Poslední zadané číslo je ";
constexpr std::string_view kIntermediateAveragePrefix = "Meziprůměr je ";
constexpr std::string_view kSuffix = ".";

CommandResult showText(std::string_view text) {
    return {std::string(text), false};
}

CommandResult showValue(std::string_view prefix, const std::string& value) {
    std::string text;
    text.reserve(prefix.size() + value.size() + kSuffix.size());
    text += prefix;
    text += value;
    text += kSuffix;
    return {std::move(text), false};
}

// The label is cleared and so is the entry box.
CommandResult clearBoth() {
    return {std::string(), true};
}

}  // namespace

CalculatorState::CalculatorState(std::string decimalSeparator)
    : decimalSeparator_(std::move(decimalSeparator)) {}

// Everything that can fail is checked before any field changes, so an OverflowError leaves
// the totals as they were and the user can carry on.
CommandResult CalculatorState::addNumber(std::string_view entryText) {
    const double number = parseNumber(entryText, decimalSeparator_);
    if (number == 0) {
        return showText(kNothingEntered);
    }
    const double sum = sumOfNumbers_ + number;
    if (!std::isfinite(sum)) {
        throw OverflowError("the sum of the numbers entered is beyond the range of a double");
    }
    if (numberCount_ == std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError("no more numbers can be counted");
    }
    lastNumber_ = number;
    sumOfNumbers_ = sum;
    ++numberCount_;
    return clearBoth();
}

CommandResult CalculatorState::showAverage() {
    if (numberCount_ == 0) {
        return showText(kNoNumbersForAverage);
    }
    average_ = currentAverage();
    return showValue(kAveragePrefix, renderNumber(average_, decimalSeparator_));
}

// intermediateAverage is worked out afresh before every use, so it is left as it is.
CommandResult CalculatorState::resetAll() {
    lastNumber_ = 0;
    sumOfNumbers_ = 0;
    numberCount_ = 0;
    average_ = 0;
    return clearBoth();
}

CommandResult CalculatorState::showCount() const {
    if (numberCount_ == 0) {
        return showText(kNoNumbersYet);
    }
    return showValue(kCountPrefix, renderCount(numberCount_));
}

CommandResult CalculatorState::showLast() const {
    if (numberCount_ == 0) {
        return showText(kNoNumbersYet);
    }
    return showValue(kLastNumberPrefix, renderNumber(lastNumber_, decimalSeparator_));
}

CommandResult CalculatorState::showIntermediateAverage() {
    if (numberCount_ == 0) {
        return showText(kNoNumbersYet);
    }
    intermediateAverage_ = currentAverage();
    return showValue(kIntermediateAveragePrefix,
                     renderNumber(intermediateAverage_, decimalSeparator_));
}

// With a finite sum and at least one number the quotient is always finite; the check keeps it
// that way should either ever change.
double CalculatorState::currentAverage() const {
    const double quotient = sumOfNumbers_ / static_cast<double>(numberCount_);
    if (!std::isfinite(quotient)) {
        throw OverflowError("the average is beyond the range of a double");
    }
    return quotient;
}

}  // namespace calculator
