// FormSurface: filling the client area with its colour.

#include "windows/forms/formsurface.h"

#include <QPaintEvent>
#include <QPainter>

namespace forms {

void FormSurface::setBackground(ColourCode code) {
    background_.setCode(code);
    update();
}

bool FormSurface::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (isPaletteChange(*event)) {
        update();
    }
    return handled;
}

void FormSurface::paintEvent(QPaintEvent* event) {
    QPainter(this).fillRect(event->rect(), background_.resolved().background);
}

}  // namespace forms
