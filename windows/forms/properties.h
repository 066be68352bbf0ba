#pragma once

// Putting a property value (a background colour code or a border appearance) onto a control.

#include <stdexcept>
#include <variant>

#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"

namespace forms {

// A property value; its type says which property it sets: a ColourCode the background, an
// Appearance the border of a text box.
using PropertyValue = std::variant<ColourCode, Appearance>;

// Whether a control of this type has a border appearance (only the text box has).
template <typename Control>
constexpr bool kHasAppearance = requires(Control& control) {
    control.setAppearance(Appearance::Flat);
};

// Sets the property the value names through the control's own setter. An appearance given to
// a control without one is refused with std::invalid_argument.
template <typename Control>
void applyProperty(Control& control, const PropertyValue& value) {
    if (const auto* code = std::get_if<ColourCode>(&value)) {
        control.setBackground(*code);
    } else if constexpr (kHasAppearance<Control>) {
        control.setAppearance(std::get<Appearance>(value));
    } else {
        throw std::invalid_argument("only a text box has a border appearance");
    }
}

}  // namespace forms
