// Drawing the borders of the two appearances.

#include "windows/forms/appearance.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QPalette>
#include <QRect>

#include <stdexcept>

namespace forms {

namespace {

void drawFlatBorder(QPainter& painter, const QRect& rect, const QPalette& palette) {
    qDrawPlainRect(&painter, rect, palette.color(QPalette::Text), 1);
}

void drawSunkenBorder(QPainter& painter, const QRect& rect, const QPalette& palette) {
    qDrawWinPanel(&painter, rect, palette, true);
}

struct BorderLook {
    int width;
    void (*draw)(QPainter&, const QRect&, const QPalette&);
};

// A switch over every appearance: one left out does not compile (-Wswitch).
BorderLook borderLook(Appearance appearance) {
    switch (appearance) {
        case Appearance::Flat:
            return {1, drawFlatBorder};
        case Appearance::Sunken3D:
            return {2, drawSunkenBorder};
    }
    throw std::invalid_argument("not a border appearance");
}

}  // namespace

int borderWidth(Appearance appearance) {
    return borderLook(appearance).width;
}

void drawBorder(QPainter& painter, const QRect& rect, const QPalette& palette,
                Appearance appearance) {
    borderLook(appearance).draw(painter, rect, palette);
}

}  // namespace forms
