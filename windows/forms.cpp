#include "windows/forms.h"

#include <qdrawutil.h>
#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStyleOptionMenuItem>
#include <QStylePainter>
#include <QWindow>

#include <algorithm>
#include <array>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

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
    setMaxLength(std::numeric_limits<int>::max());  // the line edit's own limit is 32767
    connect(this, &QLineEdit::cursorPositionChanged, this, &TextBox::scheduleRecentre);
    connect(this, &QLineEdit::textChanged, this, &TextBox::scheduleRecentre);
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

namespace {

// How near an end of the held part the cursor may come before the part moves along.
constexpr qsizetype kRecentreMargin = TextBox::kShownLimit / 4;

QString onlyIf(bool wanted, const QString& text) {
    return wanted ? text : QString();
}

}  // namespace

QString TextBox::text() const {
    const QString held = QLineEdit::text();
    if (before_.isEmpty() && after_.isEmpty()) {
        return held;
    }
    QString entry;
    entry.reserve(before_.size() + held.size() + after_.size());
    return entry.append(before_).append(held).append(after_);
}

void TextBox::setText(const QString& text) {
    holdAround(text, text.size());
}

void TextBox::clear() {
    if (before_.isEmpty() && after_.isEmpty()) {
        QLineEdit::clear();  // undoable, as the line edit's own clearing is
    } else {
        holdAround(QString(), 0);
    }
}

void TextBox::holdAround(QString entry, qsizetype cursor) {
    const qsizetype length = std::min(entry.size(), kShownLimit);
    const qsizetype start = std::clamp(cursor - length / 2, qsizetype{0}, entry.size() - length);
    after_ = entry.mid(start + length);
    const QString held = entry.mid(start, length);
    entry.truncate(start);  // keeps the buffer: no copy of a long beginning
    before_ = std::move(entry);
    QLineEdit::setText(held);
    setCursorPosition(static_cast<int>(cursor - start));
}

// Runs once the current event is done, so that the line edit is not changed from inside its
// own signals.
void TextBox::scheduleRecentre() {
    if (!recentrePending_) {
        recentrePending_ = true;
        QMetaObject::invokeMethod(this, &TextBox::recentre, Qt::QueuedConnection);
    }
}

// Moves the held part along when the cursor has come near one of its ends, or when something
// put more than the limit into the line edit directly. A selection stays as it is.
void TextBox::recentre() {
    recentrePending_ = false;
    if (hasSelectedText()) {
        return;
    }
    const qsizetype held = QLineEdit::text().size();
    const qsizetype cursor = cursorPosition();
    if (held > kShownLimit || (cursor < kRecentreMargin && !before_.isEmpty()) ||
        (held - cursor < kRecentreMargin && !after_.isEmpty())) {
        holdAround(text(), before_.size() + cursor);
    }
}

TextBox::SelectionReach TextBox::selectionReach() const {
    if (!hasSelectedText()) {
        return {};
    }
    return {selectionStart() == 0 && !before_.isEmpty(),
            selectionEnd() == QLineEdit::text().size() && !after_.isEmpty()};
}

QString TextBox::selectedEntryText() const {
    const SelectionReach reach = selectionReach();
    return onlyIf(reach.start, before_) + selectedText() + onlyIf(reach.end, after_);
}

// Lets the line edit make an edit to the part it holds. If the edit replaced a selection that
// goes on into text kept aside, that text goes as well; the line edit's undo history, which
// knows only the held part, then starts afresh.
template <typename Edit>
void TextBox::editHeldPart(Edit edit) {
    const SelectionReach reach = selectionReach();
    const QString held = QLineEdit::text();
    edit();
    if ((!reach.start && !reach.end) || QLineEdit::text() == held) {
        return;
    }
    if (reach.start) {
        before_.clear();
    }
    if (reach.end) {
        after_.clear();
    }
    const int cursor = cursorPosition();
    QLineEdit::setText(QLineEdit::text());
    setCursorPosition(cursor);
}

// A paste that fits the held part is the line edit's own (and undoable); a larger one, or one
// over a selection that goes on into text kept aside, is made in the whole entry.
void TextBox::pasteFrom(QClipboard::Mode mode) {
    QString pasted = QGuiApplication::clipboard()->text(mode);
    if (pasted.isEmpty() && !hasSelectedText()) {
        return;
    }
    const SelectionReach reach = selectionReach();
    const qsizetype held = QLineEdit::text().size() - selectedText().size() + pasted.size();
    if (!reach.start && !reach.end && held <= kShownLimit) {
        insert(pasted);
        return;
    }
    QString entry = text();
    const qsizetype cursor = before_.size() + cursorPosition();
    const qsizetype from = !hasSelectedText() ? cursor
                           : reach.start      ? 0
                                              : before_.size() + selectionStart();
    const qsizetype to = !hasSelectedText() ? cursor
                         : reach.end        ? entry.size()
                                            : before_.size() + selectionEnd();
    const qsizetype cursorAfter = from + pasted.size();
    if (from == 0 && to == entry.size()) {
        entry = std::move(pasted);  // takes the pasted text over instead of copying it
    } else {
        entry.replace(from, to - from, pasted);
    }
    holdAround(std::move(entry), cursorAfter);
}

void TextBox::copyEntrySelection() {
    if (hasSelectedText()) {
        QGuiApplication::clipboard()->setText(selectedEntryText());
    }
}

void TextBox::cutEntrySelection() {
    if (!isReadOnly() && hasSelectedText()) {
        copyEntrySelection();
        editHeldPart([this] { del(); });
    }
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const auto is = [event](QKeySequence::StandardKey key) { return event->matches(key); };
    if (is(QKeySequence::Paste) && !isReadOnly()) {
        const bool selection = event->modifiers() == (Qt::CTRL | Qt::SHIFT) &&
                               event->key() == Qt::Key_Insert &&
                               QGuiApplication::clipboard()->supportsSelection();
        pasteFrom(selection ? QClipboard::Selection : QClipboard::Clipboard);
    } else if (is(QKeySequence::Copy)) {
        copyEntrySelection();
    } else if (is(QKeySequence::Cut)) {
        cutEntrySelection();
    } else if ((is(QKeySequence::MoveToStartOfLine) || is(QKeySequence::MoveToStartOfBlock)) &&
               !before_.isEmpty()) {
        holdAround(text(), 0);
    } else if ((is(QKeySequence::MoveToEndOfLine) || is(QKeySequence::MoveToEndOfBlock)) &&
               !after_.isEmpty()) {
        QString entry = text();
        const qsizetype end = entry.size();
        holdAround(std::move(entry), end);
    } else if (is(QKeySequence::Undo) || is(QKeySequence::Redo)) {
        QLineEdit::keyPressEvent(event);  // works on the held part only
        return;
    } else {
        editHeldPart([this, event] { QLineEdit::keyPressEvent(event); });
        return;
    }
    event->accept();
}

void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    editHeldPart([this, event] { QLineEdit::inputMethodEvent(event); });
}

// The middle button pastes the selection where the desktop has one, as the line edit does.
void TextBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteFrom(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// The line edit's own menu, with cutting, copying, pasting and deleting done as the keys do.
void TextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::pair<QString, std::function<void()>> reroutes[] = {
        {QLineEdit::tr("Cu&t"), [this] { cutEntrySelection(); }},
        {QLineEdit::tr("&Copy"), [this] { copyEntrySelection(); }},
        {QLineEdit::tr("&Paste"), [this] { pasteFrom(QClipboard::Clipboard); }},
        {QLineEdit::tr("Delete"), [this] { editHeldPart([this] { del(); }); }},
    };
    for (QAction* action : menu->actions()) {
        const QString caption = action->text().section(u'\t', 0, 0);
        for (const auto& [name, handler] : reroutes) {
            if (caption == name) {
                action->disconnect();
                connect(action, &QAction::triggered, this, handler);
            }
        }
    }
    menu->popup(event->globalPos());
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

// ---- WrappingMenuBar ----------------------------------------------------------------------

namespace {

// The style of a menu bar's further rows: the application's, except that pressing Alt leaves
// them alone (it brings the first row's menus to the keyboard, as in any menu bar).
class FurtherRowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

}  // namespace

WrappingMenuBar::WrappingMenuBar(QMainWindow& window) : QMenuBar(&window) {
    installEventFilter(this);
}

QList<QMenuBar*> WrappingMenuBar::rows() const {
    QList<QMenuBar*> rows{const_cast<WrappingMenuBar*>(this)};
    rows.append(moreRows_);
    return rows;
}

int WrappingMenuBar::itemWidth(QAction* menu) const {
    QStyleOptionMenuItem option;
    initStyleOption(&option, menu);
    const QSize text = fontMetrics().size(Qt::TextShowMnemonic, menu->text());
    return style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, this).width();
}

// Lays the menus out as Qt's menu bar does (its margins, spacing and item sizes), breaking a
// row before the first menu that would end past the right margin.
QList<qsizetype> WrappingMenuBar::rowLengths(int width) const {
    const int margin = style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, this);
    const int spacing = style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, this);
    const int panel = style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this);
    const int first = panel + margin + spacing;
    QList<qsizetype> lengths{0};
    int x = first;
    for (QAction* menu : menus_) {
        const int item = menu->isVisible() ? itemWidth(menu) : 0;
        if (lengths.last() > 0 && item > 0 && x + item > width - margin) {
            lengths.append(0);
            x = first;
        }
        ++lengths.last();
        x += item > 0 ? item + spacing : 0;
    }
    return lengths;
}

int WrappingMenuBar::rowHeight() const {
    return QMenuBar::heightForWidth(width());
}

int WrappingMenuBar::heightForWidth(int width) const {
    return static_cast<int>(rowLengths(width).size()) * rowHeight();
}

QSize WrappingMenuBar::sizeHint() const {
    const QSize single = QMenuBar::sizeHint();
    return {single.width(), heightForWidth(width())};
}

// Gives each row the menus it holds at the bar's width, creating rows as they are needed.
// Until the bar is shown its width is not yet the window's.
void WrappingMenuBar::arrange() {
    if (arranging_ || !isVisible()) {
        return;
    }
    arranging_ = true;
    const QList<qsizetype> lengths = rowLengths(width());
    while (moreRows_.size() > lengths.size() - 1) {
        QMenuBar* row = moreRows_.takeLast();
        row->hide();
        row->deleteLater();  // the window may be going through its children
    }
    while (moreRows_.size() < lengths.size() - 1) {
        auto* row = new QMenuBar(parentWidget());
        auto* style = new FurtherRowStyle;
        style->setParent(row);
        row->setStyle(style);
        row->installEventFilter(this);
        row->show();
        moreRows_.append(row);
    }
    const QList<QMenuBar*> bars = rows();
    qsizetype next = 0;
    for (qsizetype index = 0; index < bars.size(); ++index) {
        const QList<QAction*> wanted = menus_.mid(next, lengths[index]);
        next += lengths[index];
        if (bars[index]->actions() != wanted) {
            for (QAction* action : bars[index]->actions()) {
                bars[index]->removeAction(action);
            }
            bars[index]->addActions(wanted);
        }
    }
    arranging_ = false;
    placeRows();
    updateGeometry();
}

void WrappingMenuBar::placeRows() {
    const int height = rowHeight();
    for (qsizetype index = 0; index < moreRows_.size(); ++index) {
        const QPoint at = pos() + QPoint(0, static_cast<int>(index + 1) * height);
        moreRows_[index]->setGeometry(QRect(at, QSize(width(), height)));
        moreRows_[index]->raise();
    }
}

void WrappingMenuBar::actionEvent(QActionEvent* event) {
    QMenuBar::actionEvent(event);
    if (arranging_) {
        return;
    }
    if (event->type() == QEvent::ActionAdded) {
        const qsizetype before = menus_.indexOf(event->before());
        menus_.insert(before < 0 ? menus_.size() : before, event->action());
    } else if (event->type() == QEvent::ActionRemoved) {
        menus_.removeAll(event->action());
        for (QMenuBar* row : moreRows_) {
            row->removeAction(event->action());
        }
    }
    arrange();
}

void WrappingMenuBar::changeEvent(QEvent* event) {
    QMenuBar::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        arrange();
    }
}

void WrappingMenuBar::resizeEvent(QResizeEvent* event) {
    QMenuBar::resizeEvent(event);
    arrange();
}

void WrappingMenuBar::showEvent(QShowEvent* event) {
    QMenuBar::showEvent(event);
    arrange();
}

void WrappingMenuBar::moveEvent(QMoveEvent* event) {
    QMenuBar::moveEvent(event);
    placeRows();
}

// Left on a row's first menu and Right on its last go on to the row before or after.
bool WrappingMenuBar::eventFilter(QObject* watched, QEvent* event) {
    auto* bar = qobject_cast<QMenuBar*>(watched);
    if (!bar || event->type() != QEvent::KeyPress || rows().size() < 2) {
        return QMenuBar::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    const QList<QAction*> own = bar->actions();
    QAction* active = bar->activeAction();
    const bool onward = key == Qt::Key_Right && active == own.value(own.size() - 1);
    const bool back = key == Qt::Key_Left && active == own.value(0);
    if (!active || (!onward && !back)) {
        return QMenuBar::eventFilter(watched, event);
    }
    const qsizetype count = menus_.size();
    QAction* target = menus_[(menus_.indexOf(active) + (onward ? 1 : count - 1)) % count];
    for (QMenuBar* row : rows()) {
        if (row->actions().contains(target)) {
            bar->setActiveAction(nullptr);
            row->setActiveAction(target);
        }
    }
    return true;
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

void createNativeWindow(QWidget& window) {
    if (QGuiApplication::platformName() != QLatin1String("windows") ||
        window.windowType() != Qt::Window || window.testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    // A window that names none of its title-bar buttons gets these from the plugin; a dialog
    // gets fewer, so it names them.
    constexpr Qt::WindowFlags kPlainWindowButtons =
        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
        Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    const Qt::WindowFlags flags = window.windowFlags();
    const Qt::WindowFlags hints = flags & ~Qt::WindowType_Mask;
    window.overrideWindowFlags(Qt::Dialog | (!hints ? kPlainWindowButtons : hints));
    window.winId();  // creates it
    window.overrideWindowFlags(flags);
    window.windowHandle()->setFlags(flags);
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
