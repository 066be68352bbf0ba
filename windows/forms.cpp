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
#include <stdexcept>
#include <string>

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
    int width;
    void (*draw)(QPainter&, const QRect&, const QPalette&);
};

// A switch over every appearance: one left out does not compile (-Wswitch).
BorderLook borderLook(Appearance appearance) {
    switch (appearance) {
        case Appearance::Flat:
            return {1, drawFlatBorder};
        case Appearance::Sunken3D:
            return {2, drawSunkenBorder};
    }
    throw std::invalid_argument("not a border appearance");
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

// ---- Properties ---------------------------------------------------------------------------

namespace {

void setBackground(QWidget& control, ColourCode code) {
    control.setProperty(kBackgroundProperty, code);
    showBackground(control);
}

void setAppearance(QWidget& control, Appearance appearance) {
    auto* box = qobject_cast<TextBox*>(&control);
    if (box == nullptr) {
        throw std::invalid_argument("only a text box has a border appearance");
    }
    box->setAppearance(appearance);
}

}  // namespace

void applyProperty(QWidget& control, const PropertyValue& value) {
    if (const auto* code = std::get_if<ColourCode>(&value)) {
        setBackground(control, *code);
    } else {
        setAppearance(control, std::get<Appearance>(value));
    }
}

QString literalCaption(const QString& caption) {
    return QString(caption).replace(u'&', QStringLiteral("&&"));
}

void place(QWidget& widget, const TwipsRect& twips) {
    widget.setGeometry(twips.pixels);
}

QFont arial(const FontDesign& design) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(design.pointSize);
    font.setBold(design.bold);
    return font;
}

CommandButton* createButton(const ButtonDesign& design, QWidget& parent) {
    auto* button = new CommandButton(QString::fromUtf8(design.caption), &parent);
    button->setObjectName(QString::fromLatin1(design.name));
    place(*button, design.place);
    if (design.font) {
        button->setFont(arial(*design.font));
    }
    button->setButtonStyle(design.style);
    applyProperty(*button, design.background);
    return button;
}

QLabel* createLabel(const LabelDesign& design, QWidget& parent) {
    auto* label = new QLabel(QString::fromUtf8(design.text), &parent);
    label->setObjectName(QString::fromLatin1(design.name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(design.wordWrap);
    if (design.font) {
        label->setFont(arial(*design.font));
    }
    place(*label, design.place);
    applyProperty(*label, colour::buttonFace);
    return label;
}

QWidget& control(QWidget& form, const char* name) {
    auto* found = form.findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (found == nullptr) {
        throw std::logic_error(std::string("the form has no control named ") + name);
    }
    return *found;
}

}  // namespace forms
