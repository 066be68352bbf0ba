#pragma once

// Colour codes as the forms store them, the system colours, resolving a code to colours, and
// the colour a control keeps and shows again whenever the palette changes.

#include <QColor>
#include <QPalette>

#include <cstdint>
#include <utility>

class QEvent;
class QWidget;

namespace forms {

// A colour as the forms store it: 0x00BBGGRR (red in the lowest byte) for an explicit colour,
// or kSystemColour plus an index for the user's current system colour of that index.
using ColourCode = std::uint32_t;

inline constexpr ColourCode kSystemColour = 0x80000000u;

constexpr ColourCode systemColour(std::uint32_t index) {
    return kSystemColour | index;
}

namespace colour {
inline constexpr ColourCode lightYellow = 0x0080FFFFu;  // red 255, green 255, blue 128
inline constexpr ColourCode windowBackground = systemColour(5);
inline constexpr ColourCode titleBarText = systemColour(9);
inline constexpr ColourCode buttonFace = systemColour(15);
}  // namespace colour

// What a colour code paints: the background itself and the colour of text drawn on it.
struct ResolvedColour {
    QColor background;
    QColor foreground;

    friend bool operator==(const ResolvedColour&, const ResolvedColour&) = default;
};

// System colours come from the given palette (the application's, for the windows). An
// explicit colour gets black or white text, whichever reads on it, so that text stays legible
// on light yellow under a dark palette too.
ResolvedColour resolveColour(ColourCode code, const QPalette& palette);

// The palette roles a kind of control paints a colour with: its background and its text.
struct ColourRoles {
    QPalette::ColorRole background;
    QPalette::ColorRole foreground;
};

inline constexpr ColourRoles kTextBoxRoles{QPalette::Base, QPalette::Text};
inline constexpr ColourRoles kButtonRoles{QPalette::Button, QPalette::ButtonText};
inline constexpr ColourRoles kLabelRoles{QPalette::Window, QPalette::WindowText};

// Puts the code's colours under the application's palette into the control's roles, or, with
// no code, gives it back the palette it inherits. A palette already in place is not set again,
// so that a control may do this from its own palette-change event.
void showColourOn(QWidget& control, const ColourCode* code, ColourRoles roles);

// Whether the event says that the control's or the application's palette changed: the
// moment for a control to show its colour again.
bool isPaletteChange(const QEvent& event);

// A control filled with a colour code of its own: the one way every control but the client area
// shows its colour. The code is kept as given and resolved afresh against the application's
// palette into the control's roles, when it is set and on every palette change, so a control
// follows the desktop's theme as a fresh start under that theme would, and an explicit colour
// stays as chosen. A control whose look does not show its colour keeps the inherited palette.
template <typename Widget>
class Coloured : public Widget {
public:
    template <typename... WidgetArgs>
    Coloured(ColourCode code, ColourRoles roles, WidgetArgs&&... args)
        : Widget(std::forward<WidgetArgs>(args)...), code_(code), roles_(roles) {}

    ColourCode background() const { return code_; }
    void setBackground(ColourCode code) {
        code_ = code;
        showColour();
    }

protected:
    virtual bool showsColour() const { return true; }

    void showColour() { showColourOn(*this, showsColour() ? &code_ : nullptr, roles_); }

    bool event(QEvent* event) override {
        const bool handled = Widget::event(event);
        if (isPaletteChange(*event)) {
            showColour();
        }
        return handled;
    }

private:
    ColourCode code_;
    ColourRoles roles_;
};

}  // namespace forms
