#pragma once

// The designs of a form's controls and menus, and the factories that create them from a form's
// design tables: its buttons, labels, entry box and menus.

#include <QFont>
#include <QKeyCombination>
#include <QMenuBar>
#include <QObject>
#include <QWidget>

#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "windows/forms/colours.h"
#include "windows/forms/commandbutton.h"
#include "windows/forms/label.h"
#include "windows/forms/textbox.h"
#include "windows/forms/units.h"

class QAction;
class QMenu;

namespace forms {

// The forms' fonts: Arial at a size, bold or not.
struct FontDesign {
    double pointSize;
    bool bold = false;
};

// Arial (Liberation Sans where Arial itself is not installed) at the given size.
QFont arial(const FontDesign& design);

// Puts a control at its place in its parent (a window at its place on the screen).
void place(QWidget& widget, const TwipsRect& twips);

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
    LabelKind kind = LabelKind::Caption;
};

Label* createLabel(const LabelDesign& design, QWidget& parent);

// A form's entry box. Its accessible name is what a screen reader calls it.
struct TextBoxDesign {
    const char* name;
    const char* accessibleName;
    TwipsRect place;
    FontDesign font;
    Qt::Alignment alignment;
    ColourCode background;
    Appearance appearance;
};

TextBox* createTextBox(const TextBoxDesign& design, QWidget& parent);

// A menu item of a form, with its shortcut (none by default) and the form's handler.
template <typename Form>
struct MenuItemRow {
    const char* name;
    const char* caption;
    void (Form::*onChoose)();
    QKeyCombination shortcut = {};
};

// A menu of a form's menu bar and its items, in order.
template <typename Form>
struct MenuRow {
    const char* name;
    const char* caption;
    std::span<const MenuItemRow<Form>> items;
};

// Adds a menu, or an item to a menu, named and captioned as written.
QMenu* addMenu(QMenuBar& bar, const char* name, const char* caption);
QAction* addMenuItem(QMenu& menu, const char* name, const char* caption, QKeyCombination shortcut);

// Creates the menus in order on the bar and connects each item to its handler.
template <typename Form>
void createMenus(std::span<const MenuRow<Form>> menus, QMenuBar& bar, Form& form) {
    for (const MenuRow<Form>& design : menus) {
        QMenu* menu = addMenu(bar, design.name, design.caption);
        for (const MenuItemRow<Form>& item : design.items) {
            QObject::connect(addMenuItem(*menu, item.name, item.caption, item.shortcut),
                             &QAction::triggered, &form, item.onChoose);
        }
    }
}

}  // namespace forms
