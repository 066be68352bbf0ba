#pragma once

// Putting a property value (a background colour code or a border appearance) onto a control.

#include <variant>

#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"

class QWidget;

namespace forms {

// A property value; its type says which property it sets: a ColourCode the background, an
// Appearance the border of a text box.
using PropertyValue = std::variant<ColourCode, Appearance>;

// The dynamic property under which every control keeps the colour code last given to it as
// its background, whether or not the control shows it.
inline constexpr char kBackgroundProperty[] = "backgroundColour";

// Sets a property of a control the way the forms show it: a background goes to the palette
// roles of the control's kind (or the surface's fill) resolved from the application palette,
// unless the control is a standard-style button, which only keeps it. An appearance goes to a
// text box; any other control refuses it with std::invalid_argument.
void applyProperty(QWidget& control, const PropertyValue& value);

// Shows the control's stored background, or, for a standard-style button, leaves the
// system look.
void showBackground(QWidget& control);

}  // namespace forms
