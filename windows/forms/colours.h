#pragma once

// Colour codes as the forms store them, the system colours, resolving a code to colours, and
// the colour a control keeps and shows again whenever the palette changes.

#include <QColor>
#include <QPalette>

#include <cstdint>

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

// The colour code a control was given and the roles it paints it with. The code is kept as
// given and resolved afresh against the application's palette each time it is shown, so a
// control that shows it again on every palette change (isPaletteChange) follows the desktop's
// theme as a fresh start under that theme would, and an explicit colour stays as chosen.
class ControlColour {
public:
    constexpr ControlColour(ColourCode code, ColourRoles roles) : code_(code), roles_(roles) {}

    ColourCode code() const { return code_; }
    void setCode(ColourCode code) { code_ = code; }

    // The code's colours under the application's current palette.
    ResolvedColour resolved() const;

    // Puts the resolved colours into the control's roles. An unchanged palette is not set
    // again, so a control may call this from its own palette-change event without recursion.
    void showOn(QWidget& control) const;

    // Gives the control back the palette it inherits (the system look).
    static void showNoneOn(QWidget& control);

private:
    ColourCode code_;
    ColourRoles roles_;
};

// Whether the event says that the control's or the application's palette changed: the
// moment for a control to show its colour again.
bool isPaletteChange(const QEvent& event);

}  // namespace forms
