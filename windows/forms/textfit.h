#pragma once

// Fitting a label's text whole into the space it may use: at its own font where that fits,
// otherwise at the largest smaller size at which the text, wrapped as it is drawn, fits.

#include <QFont>
#include <QSize>
#include <QString>

class QPaintDevice;

namespace forms {

// The smallest pixel size text is shrunk to (6 pt at 96 dots per inch). With Arial's
// metrics every message the program composes fits at 10 pixels or more; the floor leaves
// room for a wider substitute font.
inline constexpr int kSmallestFittedPixelSize = 8;

// Where a text may go: the control's own place and the larger room it may grow into (the
// same width, the same top, taller), and the flags it is drawn with (alignment, word wrap).
struct TextSpace {
    QSize place;
    QSize room;
    int flags = 0;
};

// How a text is drawn: the font, and whether it needs the room rather than the place.
struct TextFit {
    QFont font;
    bool needsRoom = false;
};

// Whether the text at the font, laid out with the flags in a rectangle of the given size,
// stays wholly inside it. Metrics are those of the device (a widget) when one is given.
bool fitsWhole(const QString& text, const QFont& font, int flags, QSize size,
               const QPaintDevice* device);

// The text at `font` when it fits the place. Otherwise the largest pixel size, from the
// font's own down to kSmallestFittedPixelSize, at which it fits the place or else the room
// (the place first at each size, so a one-line text shrinks without the control growing).
// Should nothing fit, the floor size in the room.
TextFit fitText(const QString& text, const QFont& font, const TextSpace& space,
                const QPaintDevice* device);

}  // namespace forms
