#pragma once

// The forms' label: plain text on a background colour of its own, which follows the palette.
// A message label with room to grow shows every message whole, never cut off and never elided.

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

#include "windows/forms/colours.h"

namespace forms {

// What a label is to a screen reader: a caption, which it reads when it comes to it, or the
// window's message label, which tells it of each message as the message appears. A label is
// made one or the other and stays so whatever it shows.
enum class LabelKind { Caption, Message };

// A form's label. It fills its rectangle with its background colour (a plain label is
// transparent) and shows that colour again whenever the palette changes.
class Label : public Coloured<QLabel> {
    Q_OBJECT
public:
    explicit Label(const QString& text, QWidget* parent = nullptr,
                   LabelKind kind = LabelKind::Caption);

    LabelKind kind() const { return kind_; }

    // Lets the label grow from its place (where it stands now) into `room` (in its parent:
    // the same left, top and width, taller) for a caption that does not fit its place at its
    // font. Without a room the label keeps its place and its font whatever the caption.
    void setRoom(const QRect& room);

    // The one way to give the label a message: sets its text and fits it, at the label's font
    // in its place when the caption fits there on one line; otherwise at the largest font,
    // down to a floor, at which the whole caption fits the place or the room, wrapped as it is
    // drawn. The text itself is the caption unchanged, which is also what a screen reader
    // reads, and a message label tells a screen reader of every message.
    void setCaption(const QString& caption);

    // The flags the text is laid out with: its alignment and word wrap.
    int textFlags() const;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QLabel::setText;  // a message goes through setCaption, which fits it

    void fitCaption();

    const LabelKind kind_;
    QRect place_;    // where the label sits for a caption that fits its place
    QRect room_;     // empty: no room to grow
    QFont ownFont_;  // the font it was given before it had a room; none: its parent's
    bool fitting_ = false;
};

}  // namespace forms
