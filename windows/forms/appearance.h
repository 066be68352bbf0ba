#pragma once

// A text box's border appearance (flat or sunken 3-D): its width and how it is drawn.

#include <cstdint>

class QPainter;
class QPalette;
class QRect;

namespace forms {

enum class Appearance : std::uint32_t {
    Flat = 0,      // a plain one-pixel line
    Sunken3D = 1,  // the two-pixel sunken edge of classic 3-D controls
};

// The width of the border a text box of this appearance draws inside its rectangle.
int borderWidth(Appearance appearance);

// Draws the border of the given appearance along the inside of rect: a flat border in the
// palette's text colour (the colour that contrasts with the box's own background), the 3-D
// edge in the palette's shadow and light shades.
void drawBorder(QPainter& painter, const QRect& rect, const QPalette& palette,
                Appearance appearance);

}  // namespace forms
