// The forms' label: its background colour, how a message label fits its caption, and how a
// screen reader hears each message.

#include "windows/forms/label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>

#include <algorithm>

namespace forms {

namespace {

// ---- Fitting a caption whole into the space it may use: at its own font where that fits,
// otherwise at the largest smaller size at which the text, wrapped as it is drawn, fits.

// The smallest pixel size text is shrunk to (6 pt at 96 dots per inch). With Arial's
// metrics every message the program composes fits at 10 pixels or more; the floor leaves
// room for a wider substitute font.
constexpr int kSmallestFittedPixelSize = 8;

// Where a text may go: the control's own place and the larger room it may grow into (the
// same width, the same top, taller), and the flags it is drawn with (alignment, word wrap).
struct TextSpace {
    QSize place;
    QSize room;
    int flags = 0;
};

// How a text is drawn: the font, and whether it needs the room rather than the place.
struct TextFit {
    QFont font;
    bool needsRoom = false;
};

QFont atPixelSize(const QFont& font, int pixelSize) {
    QFont sized(font);
    sized.setPixelSize(pixelSize);
    return sized;
}

// Whether the text at the font, laid out with the flags in a rectangle of the given size,
// stays wholly inside it, by the metrics of the device (the label) it is drawn on.
bool fitsWhole(const QString& text, const QFont& font, int flags, QSize size,
               const QPaintDevice* device) {
    const QRect area(QPoint(0, 0), size);
    return area.contains(QFontMetrics(font, device).boundingRect(area, flags, text));
}

// The text at `font` when it fits the place. Otherwise the largest pixel size, from the
// font's own down to kSmallestFittedPixelSize, at which it fits the place or else the room
// (the place first at each size, so a one-line text shrinks without the control growing).
// Should nothing fit, the floor size in the room.
TextFit fitText(const QString& text, const QFont& font, const TextSpace& space,
                const QPaintDevice* device) {
    if (fitsWhole(text, font, space.flags, space.place, device)) {
        return {font, false};
    }
    const int ownPixelSize = std::max(QFontInfo(font).pixelSize(), kSmallestFittedPixelSize);
    for (int pixelSize = ownPixelSize; pixelSize >= kSmallestFittedPixelSize; --pixelSize) {
        const QFont sized = atPixelSize(font, pixelSize);
        if (fitsWhole(text, sized, space.flags, space.place, device)) {
            return {sized, false};
        }
        if (fitsWhole(text, sized, space.flags, space.room, device)) {
            return {sized, true};
        }
    }
    return {atPixelSize(font, kSmallestFittedPixelSize), true};
}

// ---- How a screen reader hears each message

// A message label as the bus sees it: a notification, whose name is its text. A screen reader
// speaks a notification when it is shown, wherever the focus is; a plain label it reads only on
// request.
class LabelAccessible : public QAccessibleWidget {
public:
    explicit LabelAccessible(Label* label) : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return static_cast<const Label*>(widget())->text();
        }
        return QAccessibleWidget::text(t);
    }
};

// The window's message label is a notification to the bus for its whole life: Qt asks once, when
// the label is first shown or its first event goes out, and that may be after messages, when a
// screen reader starts after the program. Any other label is a plain label (Qt's own answer).
QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* label = qobject_cast<Label*>(object); label && label->kind() == LabelKind::Message) {
        return new LabelAccessible(label);
    }
    return nullptr;
}

// Once, by the first label. Qt asks the factories about each class of an object in turn, the
// most derived first, so this one answers for a Label before Qt's own answers for a QLabel.
void installLabelAccessibility() {
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}

// Shows the label to the bus again, so that a screen reader speaks its text now.
void announce(Label* label) {
    QAccessibleEvent event(label, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

Label::Label(const QString& text, QWidget* parent, LabelKind kind)
    : Coloured(colour::buttonFace, kLabelRoles, text, parent), kind_(kind) {
    installLabelAccessibility();
    setAutoFillBackground(true);
    showColour();
}

void Label::setRoom(const QRect& room) {
    place_ = geometry();
    room_ = room;
    ownFont_ = testAttribute(Qt::WA_SetFont) ? font() : QFont();
    if (parentWidget()) {
        parentWidget()->installEventFilter(this);
    }
    fitCaption();
}

void Label::setCaption(const QString& caption) {
    setText(caption);
    fitCaption();
    if (!caption.isEmpty()) {
        announce(this);
    }
}

int Label::textFlags() const {
    const int wrap = wordWrap() ? Qt::TextWordWrap : 0;
    return int(QStyle::visualAlignment(layoutDirection(), alignment())) | wrap;
}

// A new font (the label's, the form's, or the desktop's under it) changes what fits. A shrunk
// caption's size is the label's own, so a form's new size alone reaches only the form.
void Label::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitCaption();
    }
}

bool Label::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::FontChange) {
        fitCaption();
    }
    return QLabel::eventFilter(watched, event);
}

// QLabel draws the caption at the label's font: its own, or, for a caption that does not
// fit at it, the same font at the size it was fitted at.
void Label::fitCaption() {
    if (room_.isEmpty() || fitting_) {
        return;
    }
    fitting_ = true;
    setFont(ownFont_);
    const QMargins margins = contentsMargins();
    const TextSpace space{place_.marginsRemoved(margins).size(),
                          room_.marginsRemoved(margins).size(), textFlags()};
    const TextFit fit = fitText(text(), font(), space, this);
    if (fit.font != font()) {
        QFont shrunk = ownFont_;
        shrunk.setPixelSize(fit.font.pixelSize());
        setFont(shrunk);
    }
    setGeometry(fit.needsRoom ? room_ : place_);
    fitting_ = false;
}

}  // namespace forms
