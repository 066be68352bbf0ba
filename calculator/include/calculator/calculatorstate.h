#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "calculator/numbertext.h"

namespace calculator {

// What a command hands back to the window: the new text of the message label (empty clears
// it) and whether the entry box is to be emptied first.
struct CommandResult {
    std::string labelText;
    bool clearEntry = false;

    friend bool operator==(const CommandResult&, const CommandResult&) = default;
};

// The numbers the main window keeps while it is open, and the six commands its buttons and
// menu items run. A command that throws OverflowError leaves the state exactly as it was.
class CalculatorState {
public:
    // decimalSeparator: the user's locale decimal separator, used in every rendered number and
    // read as a decimal point in entries.
    explicit CalculatorState(std::string decimalSeparator);

    CommandResult addNumber(std::string_view entryText);
    CommandResult showAverage();
    CommandResult resetAll();
    CommandResult showCount() const;
    CommandResult showLast() const;
    CommandResult showIntermediateAverage();

private:
    // sumOfNumbers / numberCount; numberCount must not be 0. Throws OverflowError if the
    // quotient is not finite.
    double currentAverage() const;

    double lastNumber_ = 0;
    double sumOfNumbers_ = 0;
    std::int16_t numberCount_ = 0;
    double average_ = 0;
    double intermediateAverage_ = 0;
    std::string decimalSeparator_;
};

}  // namespace calculator
