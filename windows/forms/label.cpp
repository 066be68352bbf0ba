// Label: its background colour.

#include "windows/forms/label.h"

namespace forms {

Label::Label(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAutoFillBackground(true);
    background_.showOn(*this);
}

void Label::setBackground(ColourCode code) {
    background_.setCode(code);
    background_.showOn(*this);
}

bool Label::event(QEvent* event) {
    const bool handled = QLabel::event(event);
    if (isPaletteChange(*event)) {
        background_.showOn(*this);
    }
    return handled;
}

}  // namespace forms
