// Putting a property value onto a control, by the control's kind.

#include "windows/forms/properties.h"

#include <QApplication>
#include <QPushButton>

#include <stdexcept>

#include "windows/forms/commandbutton.h"
#include "windows/forms/formsurface.h"
#include "windows/forms/textbox.h"

namespace forms {

namespace {

// The palette roles a control of each kind paints its background and its text with, and
// whether it must be told to fill its background (labels are transparent otherwise).
struct BackgroundRoles {
    QPalette::ColorRole background;
    QPalette::ColorRole foreground;
    bool fillsBackground;
};

constexpr BackgroundRoles kButtonRoles{QPalette::Button, QPalette::ButtonText, false};
constexpr BackgroundRoles kLabelRoles{QPalette::Window, QPalette::WindowText, true};

BackgroundRoles backgroundRoles(const QWidget& control) {
    if (qobject_cast<const QPushButton*>(&control)) {
        return kButtonRoles;
    }
    return kLabelRoles;
}

ColourCode storedBackground(const QWidget& control) {
    return control.property(kBackgroundProperty).toUInt();
}

void setBackground(QWidget& control, ColourCode code) {
    if (auto* box = qobject_cast<TextBox*>(&control)) {
        box->setBackground(code);  // keeps its own code and resolves it again on palette changes
        return;
    }
    control.setProperty(kBackgroundProperty, code);
    showBackground(control);
}

void setAppearance(QWidget& control, Appearance appearance) {
    auto* box = qobject_cast<TextBox*>(&control);
    if (box == nullptr) {
        throw std::invalid_argument("only a text box has a border appearance");
    }
    box->setAppearance(appearance);
}

}  // namespace

void showBackground(QWidget& control) {
    const ResolvedColour colour = resolveColour(storedBackground(control), QApplication::palette());
    if (auto* surface = qobject_cast<FormSurface*>(&control)) {
        surface->setFill(colour.background);
        return;
    }
    if (auto* button = qobject_cast<CommandButton*>(&control);
        button && !showsBackground(button->buttonStyle())) {
        control.setPalette(QPalette());  // back to the inherited palette
        return;
    }
    const BackgroundRoles roles = backgroundRoles(control);
    QPalette palette = control.palette();
    palette.setColor(roles.background, colour.background);
    palette.setColor(roles.foreground, colour.foreground);
    control.setPalette(palette);
    if (roles.fillsBackground) {
        control.setAutoFillBackground(true);
    }
}

void applyProperty(QWidget& control, const PropertyValue& value) {
    if (const auto* code = std::get_if<ColourCode>(&value)) {
        setBackground(control, *code);
    } else {
        setAppearance(control, std::get<Appearance>(value));
    }
}

}  // namespace forms
