// TextBox: the line edit's border, colour and length.

#include "windows/forms/textbox.h"

#include <qdrawutil.h>
#include <QPainter>

#include <limits>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace forms {

namespace {

int borderWidth(Appearance appearance) {
    return appearance == Appearance::Flat ? 1 : 2;
}

// Along the inside of the box: a flat border in the text colour, the 3-D edge in the palette's
// shadow and light shades.
void drawBorder(QPainter& painter, const QRect& rect, const QPalette& palette,
                Appearance appearance) {
    if (appearance == Appearance::Flat) {
        qDrawPlainRect(&painter, rect, palette.color(QPalette::Text), 1);
    } else {
        qDrawWinPanel(&painter, rect, palette, true);
    }
}

}  // namespace

TextBox::TextBox(QWidget* parent) : Coloured(colour::windowBackground, kTextBoxRoles, parent) {
    setMaxLength(std::numeric_limits<int>::max());
    setFrame(false);  // the border is the form's, drawn over the line edit's own panel
    setAppearance(appearance_);
    showColour();
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

void TextBox::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    const int border = borderWidth(appearance_);
    setTextMargins(border, border, border, border);
    update();
}

void TextBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    drawBorder(painter, rect(), palette(), appearance_);
}

}  // namespace forms
