#pragma once

// The designs of a form's buttons and labels, and the factories that create them.

#include <QObject>
#include <QWidget>

#include <array>
#include <cstddef>
#include <optional>

#include "windows/forms/colours.h"
#include "windows/forms/commandbutton.h"
#include "windows/forms/fonts.h"
#include "windows/forms/label.h"
#include "windows/forms/units.h"

namespace forms {

// A command button as a form lays it out. Without a font it takes its parent's.
struct ButtonDesign {
    const char* name;  // the control's name, also its object name
    const char* caption;
    TwipsRect place;
    ButtonStyle style = ButtonStyle::Standard;
    ColourCode background = colour::buttonFace;
    std::optional<FontDesign> font = std::nullopt;
};

// Creates the designed button on parent: named, captioned, placed, styled and coloured.
CommandButton* createButton(const ButtonDesign& design, QWidget& parent);

// A button of a form and the form's handler of its click.
template <typename Form>
struct ButtonRow {
    ButtonDesign design;
    void (Form::*onClick)();
};

// Creates the buttons in order (which is also their tab order) and connects each click to its
// handler; returns them in that order.
template <typename Form, std::size_t N>
std::array<CommandButton*, N> createButtons(const ButtonRow<Form> (&rows)[N], Form& form,
                                            QWidget& parent) {
    std::array<CommandButton*, N> buttons{};
    for (std::size_t index = 0; index < N; ++index) {
        buttons[index] = createButton(rows[index].design, parent);
        QObject::connect(buttons[index], &QPushButton::clicked, &form, rows[index].onClick);
    }
    return buttons;
}

// A form's message or title label: centred, plain text, on the button face. With a room, a
// caption that does not fit the place at the label's font may grow the label into it.
struct LabelDesign {
    const char* name;
    const char* text;
    TwipsRect place;
    std::optional<FontDesign> font = std::nullopt;
    bool wordWrap = false;
    std::optional<TwipsRect> room = std::nullopt;
};

Label* createLabel(const LabelDesign& design, QWidget& parent);

}  // namespace forms
