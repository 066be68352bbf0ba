#pragma once

// The thin layer between the two windows and Qt Widgets: it maps the forms' own ideas
// (positions in twips, 32-bit colour codes, the text box's border appearance, the buttons'
// standard and graphical styles) onto Qt. Each mapping is a lookup table; applyProperty()
// is the one place that puts a property value onto a control.

#include <QClipboard>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMainWindow>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <variant>

class QPainter;

namespace forms {

// ---- Positions and sizes ------------------------------------------------------------------

// The forms measure in twips; at 96 dots per inch a logical pixel is 15 twips, and Qt's own
// scaling takes logical pixels on to high-DPI screens.
inline constexpr int kTwipsPerPixel = 15;

// Every position of both windows falls on a whole pixel. A value that does not is refused
// rather than rounded; in a constant expression that stops the build.
constexpr int pixelsFromTwips(int twips) {
    if (twips % kTwipsPerPixel != 0) {
        throw std::invalid_argument("twips value is not a whole number of pixels");
    }
    return twips / kTwipsPerPixel;
}

// A control's or window's place in twips, checked to be whole pixels when it is written: a
// rectangle off the pixel grid does not compile.
struct TwipsRect {
    consteval TwipsRect(int left, int top, int width, int height)
        : pixels(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
                 pixelsFromTwips(height)) {}

    QRect pixels;
};

// Puts a control at its place in its parent (a window at its place on the screen).
void place(QWidget& widget, const TwipsRect& twips);

// Creates a top-level window's native window now, before it is first shown. Qt's Windows
// platform plugin, before it creates a plain top-level window, asks Direct3D 9 which graphics
// adapter drives which screen, to keep OpenGL windows on their own GPU's screen on some
// two-GPU machines. These windows draw without OpenGL, and under Wine the question sets up
// Direct3D and OpenGL, which takes longer than all the rest of the start. So the plugin is
// given the window as a dialog with the same title-bar buttons, whose native window it makes
// alike (same frame, same window class) without asking, and the window is then a plain window
// again. With any other platform plugin, or for a window already created, it does nothing.
void createNativeWindow(QWidget& window);

// ---- Colours ------------------------------------------------------------------------------

// ---- Fonts ---------------------------------------------------------------------------------

struct FontDesign {
    double pointSize;
    bool bold = false;
};

// Arial (Liberation Sans where Arial itself is not installed) at the given size.
QFont arial(const FontDesign& design);

// A colour as the forms store it: 0x00BBGGRR (red in the lowest byte) for an explicit colour,
// or kSystemColour plus an index for the user's current system colour of that index.
using ColourCode = std::uint32_t;

inline constexpr ColourCode kSystemColour = 0x80000000u;

constexpr ColourCode systemColour(std::uint32_t index) {
    return kSystemColour | index;
}

namespace colour {
inline constexpr ColourCode lightYellow = 0x0080FFFFu;  // red 255, green 255, blue 128
inline constexpr ColourCode windowBackground = systemColour(5);
inline constexpr ColourCode titleBarText = systemColour(9);
inline constexpr ColourCode buttonFace = systemColour(15);
}  // namespace colour

// What a colour code paints: the background itself and the colour of text drawn on it.
struct ResolvedColour {
    QColor background;
    QColor foreground;

    friend bool operator==(const ResolvedColour&, const ResolvedColour&) = default;
};

// System colours come from the given palette (the application's, for the windows). An
// explicit colour gets black or white text, whichever reads on it, so that text stays legible
// on light yellow under a dark palette too.
ResolvedColour resolveColour(ColourCode code, const QPalette& palette);

// ---- Border appearance and button style ---------------------------------------------------

enum class Appearance : std::uint32_t {
    Flat = 0,      // a plain one-pixel line
    Sunken3D = 1,  // the two-pixel sunken edge of classic 3-D controls
};

// The width of the border a text box of this appearance draws inside its rectangle.
int borderWidth(Appearance appearance);

// Draws the border of the given appearance along the inside of rect: a flat border in the
// palette's text colour (the colour that contrasts with the box's own background), the 3-D
// edge in the palette's shadow and light shades.
void drawBorder(QPainter& painter, const QRect& rect, const QPalette& palette,
                Appearance appearance);

enum class ButtonStyle {
    Standard = 0,   // drawn in the system's button look; its background is kept but not shown
    Graphical = 1,  // its face shows its background colour
};

bool showsBackground(ButtonStyle style);

// A property value; its type says which property it sets: a ColourCode the background, an
// Appearance the border of a text box.
using PropertyValue = std::variant<ColourCode, Appearance>;

// ---- Controls -----------------------------------------------------------------------------

// A window's client area: it paints its own background colour and does not hand it on to the
// controls on it, so standard buttons and the menu bar keep the system look.
class FormSurface : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    void setFill(const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
};

// The forms' text box: a line edit that draws the border of its appearance itself and takes
// an entry of any length.
//
// Qt's line edit lays out and shapes its whole text on every change and every paint, keeps one
// undo step for each character typed or pasted, and hands its whole text to the accessibility
// bus: a paste of megabytes stops the window for many seconds. So the line edit itself holds
// only the part of the entry around the cursor, at most kShownLimit characters, far more than
// the box can show; the text box keeps the text before and after that part aside and moves
// the part along when the cursor nears its ends. An entry that fits the limit is an ordinary
// line edit. The text box's own text(), setText() and clear() hide the line edit's and work
// on the whole entry; what reaches the line edit's interface (and the accessibility bus)
// works on the part it holds. Pasting, copying, cutting, Home and End, and a selection that
// runs to an end of the part (select all, Shift+Home) act on the whole entry. An edit that
// reaches into the text kept aside, and moving the part, start the undo history afresh.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    static constexpr qsizetype kShownLimit = 65536;

    explicit TextBox(QWidget* parent = nullptr);

    void setAppearance(Appearance appearance);

    // The whole entry.
    QString text() const;
    void setText(const QString& text);
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Whether the line edit's selection runs to its first or last character while text is
    // kept aside on that side: the selection then goes on through that text.
    struct SelectionReach {
        bool start = false;
        bool end = false;
    };
    SelectionReach selectionReach() const;
    QString selectedEntryText() const;

    template <typename Edit>
    void editHeldPart(Edit edit);
    void pasteFrom(QClipboard::Mode mode);
    void copyEntrySelection();
    void cutEntrySelection();
    // Puts the part of the entry around the cursor into the line edit and the rest aside.
    void holdAround(QString entry, qsizetype cursor);
    void scheduleRecentre();
    void recentre();

    Appearance appearance_ = Appearance::Sunken3D;
    QString before_;  // the entry's text before the part the line edit holds
    QString after_;   // and after it
    bool recentrePending_ = false;
};

// The forms' command button: standard style is Qt's button; graphical style fills the face
// with the button's background colour inside a classic raised edge.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

    ButtonStyle buttonStyle() const { return style_; }
    void setButtonStyle(ButtonStyle style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintGraphical();

    ButtonStyle style_ = ButtonStyle::Standard;
};

// A command button as a form lays it out. Without a font it takes its parent's.
struct ButtonDesign {
    const char* name;  // the control's name, also its object name
    const char* caption;
    TwipsRect place;
    ButtonStyle style = ButtonStyle::Standard;
    ColourCode background = colour::buttonFace;
    std::optional<FontDesign> font = std::nullopt;
};

// Creates the designed button on parent: named, captioned, placed, styled and coloured.
CommandButton* createButton(const ButtonDesign& design, QWidget& parent);

// A button of a form and the form's handler of its click.
template <typename Form>
struct ButtonRow {
    ButtonDesign design;
    void (Form::*onClick)();
};

// Creates the buttons in order (which is also their tab order) and connects each click to its
// handler; returns the first.
template <typename Form>
CommandButton* createButtons(std::span<const ButtonRow<Form>> rows, Form& form, QWidget& parent) {
    CommandButton* first = nullptr;
    for (const ButtonRow<Form>& row : rows) {
        CommandButton* button = createButton(row.design, parent);
        QObject::connect(button, &QPushButton::clicked, &form, row.onClick);
        first = first ? first : button;
    }
    return first;
}

// A form's message or title label: centred, plain text, on the button face.
struct LabelDesign {
    const char* name;
    const char* text;
    TwipsRect place;
    std::optional<FontDesign> font = std::nullopt;
    bool wordWrap = false;
};

QLabel* createLabel(const LabelDesign& design, QWidget& parent);

// The control of that name among the form's direct children. A missing one is a fault in the
// program, reported at once rather than skipped.
QWidget& control(QWidget& form, const char* name);

// ---- Menu bar -----------------------------------------------------------------------------

// A window's menu bar that wraps: the menus that do not fit the window's width go on in rows
// below, as the classic platform lays out a menu bar, rather than behind the "»" button of
// Qt's. The bar is as tall as its rows, so a window that places its client area below it
// grows above that area. Each further row is a menu bar of its own beside this one, where a
// screen reader finds its menus; Left and Right go on from the end of one row to the next.
class WrappingMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit WrappingMenuBar(QMainWindow& window);

    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    // The bar itself and then each further row.
    QList<QMenuBar*> rows() const;

protected:
    void actionEvent(QActionEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How many menus each row holds at the given width: as many as fit, at least one.
    QList<qsizetype> rowLengths(int width) const;
    int itemWidth(QAction* menu) const;
    int rowHeight() const;
    void arrange();
    void placeRows();

    QList<QAction*> menus_;  // every menu of the bar, in order
    QList<QMenuBar*> moreRows_;
    bool arranging_ = false;
};

// ---- Properties ---------------------------------------------------------------------------

// The dynamic property under which every control keeps the colour code last given to it as
// its background, whether or not the control shows it.
inline constexpr char kBackgroundProperty[] = "backgroundColour";

// Sets a property of a control the way the forms show it: a background goes to the palette
// roles of the control's kind (or the surface's fill) resolved from the application palette,
// unless the control is a standard-style button, which only keeps it. An appearance goes to a
// text box; any other control refuses it with std::invalid_argument.
void applyProperty(QWidget& control, const PropertyValue& value);

// A caption shown literally: Qt would read "&" as an access-key mark.
QString literalCaption(const QString& caption);

}  // namespace forms
