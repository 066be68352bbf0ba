#pragma once

// The forms' label: plain text on a background colour of its own, which follows the palette.
// A message label with room to grow shows every message whole, never cut off and never elided.

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QString>

#include "windows/forms/colours.h"
#include "windows/forms/textfit.h"

namespace forms {

// A form's label. It fills its rectangle with its background colour (a plain label is
// transparent) and shows that colour again whenever the palette changes.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& text, QWidget* parent = nullptr);

    ColourCode background() const { return background_.code(); }
    void setBackground(ColourCode code);

    // Lets the label grow from its place (where it stands now) into `room` (in its parent:
    // the same left, top and width, taller) for a caption that does not fit its place at its
    // font. Without a room the label keeps its place and its font whatever the caption.
    void setRoom(const QRect& room);

    // Sets the label's text and fits it: at the label's font in its place when the caption
    // fits there on one line; otherwise at the largest font, down to a floor, at which the
    // whole caption fits the place or the room, wrapped as it is drawn. The text itself is
    // the caption unchanged, which is also what a screen reader reads.
    void setCaption(const QString& caption);

    // The font the text is drawn with: the label's own, or the smaller one it was fitted at.
    QFont shownFont() const;
    // The flags the text is laid out with: its alignment and word wrap.
    int textFlags() const;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void fitCaption();
    bool isShrunk() const;

    QRect place_;  // where the label sits for a caption that fits its place
    QRect room_;   // empty: no room to grow
    QString fittedCaption_;
    TextFit fit_;
    ControlColour background_{colour::buttonFace, kLabelRoles};
};

}  // namespace forms
