#include "windows/forms.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <array>

namespace forms {

namespace {

// ---- System colours -----------------------------------------------------------------------

// Which palette roles stand for a system colour index: the background and the text drawn on
// it. Qt has no role for the title-bar text (index 9); the entry box is its only user, in the
// classic scheme, so it takes the entry's own background role Base, which every palette pairs
// with a readable Text colour, light or dark.
struct SystemColourRoles {
    std::uint32_t index;
    QPalette::ColorRole background;
    QPalette::ColorRole foreground;
};

constexpr std::array kSystemColours{
    SystemColourRoles{5, QPalette::Base, QPalette::Text},           // window background
    SystemColourRoles{9, QPalette::Base, QPalette::Text},           // title-bar text
    SystemColourRoles{15, QPalette::Button, QPalette::ButtonText},  // button face
};

// Any other index: the general window colours.
constexpr SystemColourRoles kOtherSystemColour{0, QPalette::Window, QPalette::WindowText};

SystemColourRoles systemColourRoles(std::uint32_t index) {
    const auto row = std::find_if(kSystemColours.begin(), kSystemColours.end(),
                                  [index](const SystemColourRoles& r) { return r.index == index; });
    return row == kSystemColours.end() ? kOtherSystemColour : *row;
}

QColor explicitColour(ColourCode code) {
    return QColor(code & 0xFFu, (code >> 8) & 0xFFu, (code >> 16) & 0xFFu);
}

QColor readableTextOn(const QColor& background) {
    return qGray(background.rgb()) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

// ---- Borders ------------------------------------------------------------------------------

void drawFlatBorder(QPainter& painter, const QRect& rect, const QPalette& palette) {
    qDrawPlainRect(&painter, rect, palette.color(QPalette::Text), 1);
}

void drawSunkenBorder(QPainter& painter, const QRect& rect, const QPalette& palette) {
    qDrawWinPanel(&painter, rect, palette, true);
}

struct BorderLook {
    Appearance appearance;
    int width;
    void (*draw)(QPainter&, const QRect&, const QPalette&);
};

constexpr std::array kBorderLooks{
    BorderLook{Appearance::Flat, 1, drawFlatBorder},
    BorderLook{Appearance::Sunken3D, 2, drawSunkenBorder},
};

const BorderLook& borderLook(Appearance appearance) {
    const auto index = static_cast<std::size_t>(appearance);
    Q_ASSERT(index < kBorderLooks.size() && kBorderLooks[index].appearance == appearance);
    return kBorderLooks[index];
}

// ---- Backgrounds by kind of control -------------------------------------------------------

// The palette roles a control of each kind paints its background and its text with, and
// whether it must be told to fill its background (labels are transparent otherwise).
struct BackgroundRoles {
    QPalette::ColorRole background;
    QPalette::ColorRole foreground;
    bool fillsBackground;
};

constexpr BackgroundRoles kTextBoxRoles{QPalette::Base, QPalette::Text, false};
constexpr BackgroundRoles kButtonRoles{QPalette::Button, QPalette::ButtonText, false};
constexpr BackgroundRoles kLabelRoles{QPalette::Window, QPalette::WindowText, true};

BackgroundRoles backgroundRoles(const QWidget& control) {
    if (qobject_cast<const QLineEdit*>(&control)) {
        return kTextBoxRoles;
    }
    if (qobject_cast<const QPushButton*>(&control)) {
        return kButtonRoles;
    }
    return kLabelRoles;
}

ColourCode storedBackground(const QWidget& control) {
    return control.property(kBackgroundProperty).toUInt();
}

// Shows the control's stored background, or, for a standard-style button, leaves the
// system look.
void showBackground(QWidget& control) {
    const ResolvedColour colour = resolveColour(storedBackground(control), QApplication::palette());
    if (auto* surface = qobject_cast<FormSurface*>(&control)) {
        surface->setFill(colour.background);
        return;
    }
    if (auto* button = qobject_cast<CommandButton*>(&control);
        button && !showsBackground(button->buttonStyle())) {
        control.setPalette(QPalette());  // back to the inherited palette
        return;
    }
    const BackgroundRoles roles = backgroundRoles(control);
    QPalette palette = control.palette();
    palette.setColor(roles.background, colour.background);
    palette.setColor(roles.foreground, colour.foreground);
    control.setPalette(palette);
    if (roles.fillsBackground) {
        control.setAutoFillBackground(true);
    }
}

}  // namespace

ResolvedColour resolveColour(ColourCode code, const QPalette& palette) {
    if ((code & kSystemColour) != 0) {
        const SystemColourRoles roles = systemColourRoles(code & ~kSystemColour);
        return {palette.color(roles.background), palette.color(roles.foreground)};
    }
    const QColor background = explicitColour(code);
    return {background, readableTextOn(background)};
}

int borderWidth(Appearance appearance) {
    return borderLook(appearance).width;
}

void drawBorder(QPainter& painter, const QRect& rect, const QPalette& palette,
                Appearance appearance) {
    borderLook(appearance).draw(painter, rect, palette);
}

bool showsBackground(ButtonStyle style) {
    return style == ButtonStyle::Graphical;
}

// ---- FormSurface --------------------------------------------------------------------------

void FormSurface::setFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void FormSurface::paintEvent(QPaintEvent* event) {
    if (fill_.isValid()) {
        QPainter(this).fillRect(event->rect(), fill_);
    }
}

// ---- TextBox ------------------------------------------------------------------------------

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);  // the border is drawn by paintEvent
    setAppearance(appearance_);
}

void TextBox::setAppearance(Appearance appearance) {
    appearance_ = appearance;
    const int width = borderWidth(appearance);
    setTextMargins(width, width, width, width);
    update();
}

void TextBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    drawBorder(painter, rect(), palette(), appearance_);
}

// ---- CommandButton ------------------------------------------------------------------------

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(literalCaption(caption), parent) {
    // The forms have no default button: Enter and Esc press nothing.
    setAutoDefault(false);
    setDefault(false);
    setAccessibleName(caption);
}

void CommandButton::setButtonStyle(ButtonStyle style) {
    style_ = style;
    if (property(kBackgroundProperty).isValid()) {
        showBackground(*this);
    }
    update();
}

void CommandButton::paintEvent(QPaintEvent* event) {
    if (showsBackground(style_)) {
        paintGraphical();
    } else {
        QPushButton::paintEvent(event);
    }
}

void CommandButton::paintGraphical() {
    QStylePainter painter(this);
    const QBrush face = palette().brush(QPalette::Button);
    qDrawWinButton(&painter, rect(), palette(), isDown(), &face);

    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = rect().adjusted(2, 2, -2, -2);
    painter.drawControl(QStyle::CE_PushButtonLabel, option);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        focus.backgroundColor = face.color();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// ---- Properties ---------------------------------------------------------------------------

void applyProperty(QWidget& control, Property property, std::uint32_t value) {
    switch (property) {
        case Property::Background:
            control.setProperty(kBackgroundProperty, value);
            showBackground(control);
            return;
        case Property::Appearance: {
            auto* box = qobject_cast<TextBox*>(&control);
            Q_ASSERT_X(box, "forms::applyProperty", "only a text box has an appearance");
            if (box) {
                box->setAppearance(static_cast<Appearance>(value));
            }
            return;
        }
    }
}

QString literalCaption(const QString& caption) {
    return QString(caption).replace(u'&', QStringLiteral("&&"));
}

CommandButton* createButton(const ButtonDesign& design, QWidget& parent) {
    auto* button = new CommandButton(literalCaption(QString::fromUtf8(design.caption)), &parent);
    button->setObjectName(QString::fromLatin1(design.name));
    button->setGeometry(pixelsFromTwips(design.place));
    button->setButtonStyle(design.style);
    applyProperty(*button, Property::Background, design.background);
    return button;
}

}  // namespace forms
