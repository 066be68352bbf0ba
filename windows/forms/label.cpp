// The forms' label: its background colour, how a message label fits its caption, and how a
// screen reader hears each message.

#include "windows/forms/label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace forms {

namespace {

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

// A message label starts empty and shows what setCaption gives it; a label made with its text
// keeps it, and stays a plain label to the bus. Qt asks once, when the label is first shown or
// its first event goes out, so before any message.
QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    if (auto* label = qobject_cast<Label*>(object);
        label && className == QLatin1String(Label::staticMetaObject.className()) &&
        label->text().isEmpty()) {
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

Label::Label(const QString& text, QWidget* parent) : QLabel(text, parent) {
    installLabelAccessibility();
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
    if (!caption.isEmpty()) {
        announce(this);
    }
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
