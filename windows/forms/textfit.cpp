// Fitting a label's text whole into the space it may use.

#include "windows/forms/textfit.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QRect>

#include <algorithm>

namespace forms {

namespace {

QFontMetrics metricsOf(const QFont& font, const QPaintDevice* device) {
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

QFont atPixelSize(const QFont& font, int pixelSize) {
    QFont sized(font);
    sized.setPixelSize(pixelSize);
    return sized;
}

}  // namespace

bool fitsWhole(const QString& text, const QFont& font, int flags, QSize size,
               const QPaintDevice* device) {
    const QRect area(QPoint(0, 0), size);
    return area.contains(metricsOf(font, device).boundingRect(area, flags, text));
}

TextFit fitText(const QString& text, const QFont& font, const TextSpace& space,
                const QPaintDevice* device) {
    if (fitsWhole(text, font, space.flags, space.place, device)) {
        return {font, false};
    }
    const int ownPixelSize = std::max(QFontInfo(font).pixelSize(), kSmallestFittedPixelSize);
    for (int pixelSize = ownPixelSize; pixelSize >= kSmallestFittedPixelSize; --pixelSize) {
        const QFont sized = atPixelSize(font, pixelSize);
        if (fitsWhole(text, sized, space.flags, space.place, device)) {
            return {sized, false};
        }
        if (fitsWhole(text, sized, space.flags, space.room, device)) {
            return {sized, true};
        }
    }
    return {atPixelSize(font, kSmallestFittedPixelSize), true};
}

}  // namespace forms
