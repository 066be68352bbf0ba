// FormSurface: filling the client area with its colour.

#include "windows/forms/formsurface.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

namespace forms {

void FormSurface::setBackground(ColourCode code) {
    background_ = code;
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
    const ResolvedColour colour = resolveColour(background_, QApplication::palette());
    QPainter(this).fillRect(event->rect(), colour.background);
}

}  // namespace forms
