// CommandButton: its caption, its style and the graphical face; captions shown as written.

#include "windows/forms/commandbutton.h"

#include <qdrawutil.h>
#include <QPaintEvent>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace forms {

QString literalCaption(const QString& caption) {
    return QString(caption).replace(u'&', QStringLiteral("&&"));
}

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : Coloured(colour::buttonFace, kButtonRoles, literalCaption(caption), parent) {
    // The forms have no default button: Enter and Esc press nothing.
    setAutoDefault(false);
    setDefault(false);
    setAccessibleName(caption);
}

void CommandButton::setButtonStyle(ButtonStyle style) {
    style_ = style;
    showColour();
    update();
}

bool CommandButton::showsColour() const {
    return style_ == ButtonStyle::Graphical;
}

void CommandButton::paintEvent(QPaintEvent* event) {
    if (showsColour()) {
        paintGraphical();
    } else {
        QPushButton::paintEvent(event);
    }
}

// qDrawWinButton draws a classic raised edge two pixels wide; the caption sits inside it and
// the focus rectangle two pixels further in, clear of the edge.
constexpr int kRaisedEdgeWidth = 2;
constexpr int kFocusInset = kRaisedEdgeWidth + 2;

void CommandButton::paintGraphical() {
    QStylePainter painter(this);
    const QBrush face = palette().brush(QPalette::Button);
    qDrawWinButton(&painter, rect(), palette(), isDown(), &face);

    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = rect().marginsRemoved(
        QMargins(kRaisedEdgeWidth, kRaisedEdgeWidth, kRaisedEdgeWidth, kRaisedEdgeWidth));
    painter.drawControl(QStyle::CE_PushButtonLabel, option);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect =
            rect().marginsRemoved(QMargins(kFocusInset, kFocusInset, kFocusInset, kFocusInset));
        focus.backgroundColor = face.color();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace forms
