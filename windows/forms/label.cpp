// The forms' label: its background colour, and how a message label fits its caption.

#include "windows/forms/label.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

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

void Label::setRoom(const QRect& room) {
    place_ = geometry();
    room_ = room;
    fitCaption();
}

void Label::setCaption(const QString& caption) {
    setText(caption);
    fitCaption();
}

QFont Label::shownFont() const {
    return isShrunk() ? fit_.font : font();
}

int Label::textFlags() const {
    const int wrap = wordWrap() ? Qt::TextWordWrap : 0;
    return int(QStyle::visualAlignment(layoutDirection(), alignment())) | wrap;
}

// A new font (the form's, or the desktop's under it) changes what fits.
void Label::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitCaption();
    }
}

// A caption at the label's own font is drawn by QLabel itself; a shrunk one the same way,
// with the fitted font.
void Label::paintEvent(QPaintEvent* event) {
    if (!isShrunk()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(fit_.font);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, contentsRect(), textFlags(), option.palette, isEnabled(),
                          text(), foregroundRole());
}

void Label::fitCaption() {
    fittedCaption_ = text();
    if (room_.isEmpty()) {
        fit_ = {font(), false};
        return;
    }
    const QMargins margins = contentsMargins();
    const TextSpace space{place_.marginsRemoved(margins).size(),
                          room_.marginsRemoved(margins).size(), textFlags()};
    fit_ = fitText(fittedCaption_, font(), space, this);
    setGeometry(fit_.needsRoom ? room_ : place_);
}

// Only for the caption it was fitted to: text set past setCaption is drawn at the label's font.
bool Label::isShrunk() const {
    return fittedCaption_ == text() && fit_.font != font();
}

}  // namespace forms
