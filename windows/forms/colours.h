#pragma once

// Colour codes as the forms store them, the system colours, and resolving a code to colours.

#include <QColor>
#include <QPalette>

#include <cstdint>

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

}  // namespace forms
