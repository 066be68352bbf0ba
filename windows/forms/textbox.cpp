// TextBox: the line edit's border, colour and length.

#include "windows/forms/textbox.h"

#include <QPainter>

#include <limits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace forms {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
    setFrame(false);  // the border is the form's, drawn over the line edit's own panel
    setAppearance(appearance_);
    background_.showOn(*this);
}

void TextBox::clearEntry() {
#if defined(__GLIBC__)
    const bool large = text().size() >= (1 << 20);
#endif
    setText(QString());  // unlike clear(), leaves nothing to undo
#if defined(__GLIBC__)
    if (large) {
        malloc_trim(0);  // a freed entry of megabytes otherwise stays with the process
    }
#endif
}

void TextBox::setBackground(ColourCode code) {
    background_.setCode(code);
    background_.showOn(*this);
}

void TextBox::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    const int border = borderWidth(appearance_);
    setTextMargins(border, border, border, border);
    update();
}

bool TextBox::event(QEvent* event) {
    const bool handled = QLineEdit::event(event);
    if (isPaletteChange(*event)) {
        background_.showOn(*this);
    }
    return handled;
}

void TextBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    drawBorder(painter, rect(), palette(), appearance_);
}

}  // namespace forms
