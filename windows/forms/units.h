#pragma once

// Positions and sizes in twips, the forms' unit.

#include <QRect>

#include <stdexcept>

namespace forms {

// The forms measure in twips; at 96 dots per inch a logical pixel is 15 twips, and Qt's own
// scaling takes logical pixels on to high-DPI screens.
inline constexpr int kTwipsPerPixel = 15;

// Every position of both windows falls on a whole pixel. A value that does not is refused
// rather than rounded; in a constant expression that stops the build.
constexpr int pixelsFromTwips(int twips) {
    if (twips % kTwipsPerPixel != 0) {
        throw std::invalid_argument("twips value is not a whole number of pixels");
    }
    return twips / kTwipsPerPixel;
}

// A control's or window's place in twips, checked to be whole pixels when it is written: a
// rectangle off the pixel grid does not compile.
struct TwipsRect {
    consteval TwipsRect(int left, int top, int width, int height)
        : pixels(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                 pixelsFromTwips(height)) {}

    QRect pixels;
};

}  // namespace forms
