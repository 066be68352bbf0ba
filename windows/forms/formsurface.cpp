// FormSurface: filling the client area with its colour.

#include "windows/forms/formsurface.h"

#include <QPaintEvent>
#include <QPainter>

namespace forms {

void FormSurface::setFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void FormSurface::paintEvent(QPaintEvent* event) {
    if (fill_.isValid()) {
        QPainter(this).fillRect(event->rect(), fill_);
    }
}

}  // namespace forms
