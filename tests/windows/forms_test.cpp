// The forms layer on its own: twips, colour codes, borders, button styles and how a property
// reaches each kind of control.

#include <QAccessible>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QTest>

#include <stdexcept>

#include "widgettesting.h"
#include "windows/forms.h"

using forms::Appearance;
using forms::ButtonStyle;
using forms::ColourCode;
using widgettesting::name;
using widgettesting::pixel;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

QColor role(const QString& paletteName, QPalette::ColorRole colourRole) {
    return widgettesting::paletteNamed(paletteName).color(colourRole);
}

}  // namespace

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    // ---- Twips ----
    void twipsBecomeLogicalPixels_data();
    void twipsBecomeLogicalPixels();
    void aTwipsRectBecomesAPixelRect();
    void twipsOffThePixelGridAreRefused_data();
    void twipsOffThePixelGridAreRefused();

    // ---- Colour codes ----
    void colourCodesResolve_data();
    void colourCodesResolve();
    void entryColoursStayReadable_data();
    void entryColoursStayReadable();

    // ---- Borders ----
    void flatBorderIsOnePlainLine_data();
    void flatBorderIsOnePlainLine();
    void sunkenBorderIsTheTwoPixel3DEdge();

    // ---- Properties on controls ----
    void labelShowsItsBackgroundOpaque();
    void textBoxShowsBackgroundAndAppearance();
    void standardButtonKeepsItsBackgroundUnseen();
    void graphicalButtonShowsItsBackground();
    void surfaceDoesNotHandItsColourToItsControls();
    void createdButtonsShowTheirCaptionLiterally_data();
    void createdButtonsShowTheirCaptionLiterally();
    void onlyATextBoxTakesAnAppearance();

    // ---- The menu bar ----
    void menuBarWrapsAndArrowsGoOnToTheNextRow();

    // ---- The text box and long entries ----
    void textBoxKeepsAnEntryOfAnyLength_data();
    void textBoxKeepsAnEntryOfAnyLength();
};

// ---- Twips ----------------------------------------------------------------------------------

void FormsTest::twipsBecomeLogicalPixels_data() {
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("one pixel") << 15 << 1;
    QTest::newRow("control margin") << 120 << 8;
    QTest::newRow("client width") << 3525 << 235;
    QTest::newRow("screen left") << 4050 << 270;
    QTest::newRow("button width") << 1455 << 97;
}

void FormsTest::twipsBecomeLogicalPixels() {
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(forms::pixelsFromTwips(twips), pixels);
}

void FormsTest::aTwipsRectBecomesAPixelRect() {
    QCOMPARE((forms::TwipsRect{1200, 840, 1095, 375}.pixels), QRect(80, 56, 73, 25));
}

void FormsTest::twipsOffThePixelGridAreRefused_data() {
    QTest::addColumn<int>("twips");
    QTest::newRow("one twip") << 1;
    QTest::newRow("just under a pixel") << 14;
    QTest::newRow("just over a pixel") << 16;
    QTest::newRow("client width plus one") << 3526;
}

void FormsTest::twipsOffThePixelGridAreRefused() {
    QFETCH(int, twips);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, forms::pixelsFromTwips(twips));
}

// ---- Colour codes ---------------------------------------------------------------------------

void FormsTest::colourCodesResolve_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<ColourCode>("code");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("foreground");

    for (const QString& palette : {QStringLiteral("light"), QStringLiteral("dark")}) {
        const auto row = [&palette](const char* what) -> QTestData& {
            return QTest::addRow("%s, %s", qPrintable(palette), what);
        };
        // Explicit colours: red in the lowest byte, text black or white to read on them.
        row("light yellow") << palette << kYellow << QColor(255, 255, 128) << QColor(Qt::black);
        row("white") << palette << ColourCode{0x00FFFFFF} << QColor(Qt::white) << QColor(Qt::black);
        row("black") << palette << ColourCode{0} << QColor(Qt::black) << QColor(Qt::white);
        row("pure red") << palette << ColourCode{0x000000FF} << QColor(255, 0, 0)
                        << QColor(Qt::white);
        row("pure blue") << palette << ColourCode{0x00FF0000} << QColor(0, 0, 255)
                         << QColor(Qt::white);
        // System colours: the palette's roles and the text colour that goes with each.
        row("button face") << palette << ColourCode{0x8000000F} << role(palette, QPalette::Button)
                           << role(palette, QPalette::ButtonText);
        row("window background") << palette << ColourCode{0x80000005}
                                 << role(palette, QPalette::Base) << role(palette, QPalette::Text);
        row("title-bar text") << palette << ColourCode{0x80000009} << role(palette, QPalette::Base)
                              << role(palette, QPalette::Text);
        row("unlisted index") << palette << ColourCode{0x80000008}
                              << role(palette, QPalette::Window)
                              << role(palette, QPalette::WindowText);
    }
}

void FormsTest::colourCodesResolve() {
    QFETCH(QString, palette);
    QFETCH(ColourCode, code);
    QFETCH(QColor, background);
    QFETCH(QColor, foreground);
    const forms::ResolvedColour resolved =
        forms::resolveColour(code, widgettesting::paletteNamed(palette));
    QCOMPARE(name(resolved.background), name(background));
    QCOMPARE(name(resolved.foreground), name(foreground));
}

// The entry box wears system colour 5 at start, yellow in one scheme and system colour 9 in
// the other: its text must read on each, in a light and in a dark palette.
void FormsTest::entryColoursStayReadable_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<ColourCode>("code");
    for (const QString& palette : {QStringLiteral("light"), QStringLiteral("dark")}) {
        QTest::addRow("%s, start", qPrintable(palette))
            << palette << forms::colour::windowBackground;
        QTest::addRow("%s, yellow", qPrintable(palette)) << palette << forms::colour::lightYellow;
        QTest::addRow("%s, classic", qPrintable(palette)) << palette << forms::colour::titleBarText;
    }
}

void FormsTest::entryColoursStayReadable() {
    QFETCH(QString, palette);
    QFETCH(ColourCode, code);
    const forms::ResolvedColour resolved =
        forms::resolveColour(code, widgettesting::paletteNamed(palette));
    QVERIFY2(widgettesting::brightnessContrast(resolved.foreground, resolved.background) >= 125,
             qPrintable(name(resolved.foreground) + " on " + name(resolved.background)));
}

// ---- Borders --------------------------------------------------------------------------------

namespace {

QImage withBorder(const QPalette& palette, Appearance appearance) {
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(palette.color(QPalette::Base));
    QPainter painter(&image);
    forms::drawBorder(painter, image.rect(), palette, appearance);
    return image;
}

QString at(const QImage& image, int x, int y) {
    return name(image.pixelColor(x, y));
}

}  // namespace

void FormsTest::flatBorderIsOnePlainLine_data() {
    QTest::addColumn<QString>("palette");
    QTest::newRow("light") << QStringLiteral("light");
    QTest::newRow("dark") << QStringLiteral("dark");
}

void FormsTest::flatBorderIsOnePlainLine() {
    QFETCH(QString, palette);
    const QPalette colours = widgettesting::paletteNamed(palette);
    const QImage image = withBorder(colours, Appearance::Flat);
    const QString line = name(colours.color(QPalette::Text));
    const QString inside = name(colours.color(QPalette::Base));
    QCOMPARE(at(image, 0, 0), line);
    QCOMPARE(at(image, 10, 0), line);
    QCOMPARE(at(image, 19, 9), line);
    QCOMPARE(at(image, 0, 5), line);
    QCOMPARE(at(image, 1, 1), inside);
    QCOMPARE(at(image, 18, 8), inside);
}

void FormsTest::sunkenBorderIsTheTwoPixel3DEdge() {
    const QPalette colours = widgettesting::darkPalette();
    const QImage image = withBorder(colours, Appearance::Sunken3D);
    // Shadow above and to the left, light below and to the right, two pixels deep.
    QCOMPARE(at(image, 5, 0), name(colours.color(QPalette::Dark)));
    QCOMPARE(at(image, 5, 1), name(colours.color(QPalette::Shadow)));
    QCOMPARE(at(image, 5, 9), name(colours.color(QPalette::Light)));
    QCOMPARE(at(image, 5, 8), name(colours.color(QPalette::Midlight)));
    QCOMPARE(at(image, 0, 5), name(colours.color(QPalette::Dark)));
    QCOMPARE(at(image, 19, 5), name(colours.color(QPalette::Light)));
    QCOMPARE(at(image, 2, 2), name(colours.color(QPalette::Base)));
}

// ---- Properties on controls -----------------------------------------------------------------

void FormsTest::labelShowsItsBackgroundOpaque() {
    QWidget window;
    window.resize(100, 40);
    QLabel label(&window);
    label.setGeometry(10, 10, 80, 20);
    forms::applyProperty(label, kYellow);
    QCOMPARE(pixel(window, {12, 12}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(window, {5, 5}), name(window.palette().color(QPalette::Window)));
    QCOMPARE(name(label.palette().color(QPalette::WindowText)), QStringLiteral("#000000"));
}

void FormsTest::textBoxShowsBackgroundAndAppearance() {
    widgettesting::ApplicationPalette dark(widgettesting::darkPalette());
    forms::TextBox box;
    box.resize(60, 19);
    forms::applyProperty(box, forms::colour::windowBackground);
    forms::applyProperty(box, Appearance::Flat);
    QCOMPARE(pixel(box, {4, 9}), name(QApplication::palette().color(QPalette::Base)));
    QCOMPARE(pixel(box, {0, 0}), name(QApplication::palette().color(QPalette::Text)));

    forms::applyProperty(box, kYellow);
    forms::applyProperty(box, Appearance::Sunken3D);
    QCOMPARE(pixel(box, {4, 9}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(box, {0, 0}), name(QApplication::palette().color(QPalette::Dark)));
    QCOMPARE(pixel(box, {1, 1}), name(QApplication::palette().color(QPalette::Shadow)));
    QCOMPARE(name(box.palette().color(QPalette::Text)), QStringLiteral("#000000"));
}

void FormsTest::standardButtonKeepsItsBackgroundUnseen() {
    forms::CommandButton button(QStringLiteral("Reset"));
    button.resize(73, 25);
    forms::applyProperty(button, forms::colour::buttonFace);
    const QImage systemLook = widgettesting::rendered(button);

    forms::applyProperty(button, kYellow);
    QCOMPARE(widgettesting::rendered(button), systemLook);
    QCOMPARE(button.property(forms::kBackgroundProperty).toUInt(), kYellow);

    // The kept colour shows as soon as the button turns graphical.
    button.setButtonStyle(ButtonStyle::Graphical);
    QCOMPARE(pixel(button, {3, 3}), QStringLiteral("#ffff80"));
}

void FormsTest::graphicalButtonShowsItsBackground() {
    widgettesting::ApplicationPalette dark(widgettesting::darkPalette());
    forms::CommandButton button(QStringLiteral("Žlutá"));
    button.resize(97, 33);
    button.setButtonStyle(ButtonStyle::Graphical);
    forms::applyProperty(button, kYellow);
    QCOMPARE(pixel(button, {3, 3}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(button, {93, 29}), QStringLiteral("#ffff80"));
    QCOMPARE(name(button.palette().color(QPalette::ButtonText)), QStringLiteral("#000000"));

    forms::applyProperty(button, forms::colour::buttonFace);
    QCOMPARE(pixel(button, {3, 3}), name(QApplication::palette().color(QPalette::Button)));
    QCOMPARE(name(button.palette().color(QPalette::ButtonText)),
             name(QApplication::palette().color(QPalette::ButtonText)));
}

void FormsTest::surfaceDoesNotHandItsColourToItsControls() {
    forms::FormSurface surface;
    surface.resize(120, 50);
    forms::CommandButton button(QStringLiteral("Přičti"), &surface);
    button.setGeometry(8, 8, 73, 25);
    forms::applyProperty(surface, forms::colour::buttonFace);
    const QImage buttonBefore = widgettesting::rendered(button);

    forms::applyProperty(surface, kYellow);
    QCOMPARE(pixel(surface, {2, 2}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(surface, {110, 45}), QStringLiteral("#ffff80"));
    QCOMPARE(widgettesting::rendered(button), buttonBefore);
}

// "&" would be an access-key mark to Qt: a caption shows it once, and a screen reader reads it.
void FormsTest::createdButtonsShowTheirCaptionLiterally_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");  // the button's text, "&&" standing for one "&"
    QTest::newRow("plain") << QStringLiteral("Přičti") << QStringLiteral("Přičti");
    QTest::newRow("leading &") << QStringLiteral("&Konec") << QStringLiteral("&&Konec");
    QTest::newRow("inner &") << QStringLiteral("A&B") << QStringLiteral("A&&B");
}

void FormsTest::createdButtonsShowTheirCaptionLiterally() {
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    QWidget form;
    const QByteArray utf8 = caption.toUtf8();
    forms::CommandButton* button = forms::createButton(
        {.name = "Command1", .caption = utf8.constData(), .place = {0, 0, 15, 15}}, form);
    QCOMPARE(button->text(), shown);
    QVERIFY(QKeySequence::mnemonic(button->text()).isEmpty());
    QCOMPARE(button->accessibleName(), caption);
}

void FormsTest::onlyATextBoxTakesAnAppearance() {
    QLabel label;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             forms::applyProperty(label, Appearance::Sunken3D));
}

// ---- The menu bar ---------------------------------------------------------------------------

// With an 11-point font three menus do not fit 235 pixels: the last goes on to a second row,
// the bar is as tall as both, and no menu hides behind an extension button.
void FormsTest::menuBarWrapsAndArrowsGoOnToTheNextRow() {
    QMainWindow window;
    window.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    auto* bar = new forms::WrappingMenuBar(window);
    window.setMenuBar(bar);
    QList<QAction*> menus;
    for (const char* caption : {"Aplikace", "Zobrazit", "Vlastnosti"}) {
        menus.append(bar->addMenu(QString::fromUtf8(caption))->menuAction());
        menus.last()->menu()->addAction(QStringLiteral("item"));
    }
    window.setCentralWidget(new QWidget);
    window.resize(235, 120);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QList<QMenuBar*> rows = bar->rows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0]->actions(), menus.mid(0, 2));
    QCOMPARE(rows[1]->actions(), menus.mid(2));
    QCOMPARE(bar->height(), 2 * rows[1]->height());
    QCOMPARE(window.centralWidget()->y(), bar->height());
    for (QMenuBar* row : rows) {
        for (QAction* menu : row->actions()) {
            QVERIFY2(row->rect().contains(row->actionGeometry(menu)), qPrintable(menu->text()));
        }
    }

    bar->setActiveAction(menus[1]);
    QTRY_VERIFY(menus[1]->menu()->isVisible());
    QTest::keyClick(menus[1]->menu(), Qt::Key_Right);
    QTRY_VERIFY(menus[2]->menu()->isVisible());
    QCOMPARE(rows[1]->activeAction(), menus[2]);
    QTest::keyClick(menus[2]->menu(), Qt::Key_Left);
    QTRY_VERIFY(menus[1]->menu()->isVisible());
    QVERIFY(!menus[2]->menu()->isVisible());
}

// ---- The text box and long entries --------------------------------------------------------

namespace {

// Three times what the line edit holds, with marks at both ends that only the whole shows.
const QString kLong = u'1' + QString(3 * forms::TextBox::kShownLimit, u' ') + u'2';

// A user's step: a key ("Ctrl+V", "Home"...), "type:<text>", "clear", or "cursor:<n>" (a
// click that puts the cursor at the line edit's character n).
void perform(forms::TextBox& box, const QString& step) {
    if (step.startsWith(QLatin1String("type:"))) {
        QTest::keyClicks(&box, step.mid(5));
    } else if (step.startsWith(QLatin1String("cursor:"))) {
        box.setCursorPosition(step.mid(7).toInt());
    } else if (step == QLatin1String("clear")) {
        box.clear();
    } else {
        const QKeyCombination key = QKeySequence(step)[0];
        QTest::keyClick(&box, key.key(), key.keyboardModifiers());
    }
    QCoreApplication::processEvents();
}

}  // namespace

void FormsTest::textBoxKeepsAnEntryOfAnyLength_data() {
    QTest::addColumn<QStringList>("steps");  // each after pasting kLong into the empty box
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("clipboard");
    const QString paste = QStringLiteral("Ctrl+V");
    QTest::newRow("pasted") << QStringList{} << kLong << kLong;
    QTest::newRow("typed after") << QStringList{"type:3"} << kLong + u'3' << kLong;
    QTest::newRow("Home, typed before") << QStringList{"Home", "type:0"} << u'0' + kLong << kLong;
    QTest::newRow("Home, End, typed after")
        << QStringList{"Home", "End", "type:3"} << kLong + u'3' << kLong;
    QTest::newRow("pasted again at the start")
        << QStringList{"Home", paste} << kLong + kLong << kLong;
    QTest::newRow("all typed over") << QStringList{"Ctrl+A", "type:5"} << "5" << kLong;
    QTest::newRow("Shift+Home, deleted")
        << QStringList{"Shift+Home", "Backspace", "Ctrl+Z"} << "" << kLong;
    QTest::newRow("all copied") << QStringList{"Ctrl+A", "Ctrl+C", "End", "type:3"} << kLong + u'3'
                                << kLong;
    QTest::newRow("all cut") << QStringList{"Ctrl+A", "Ctrl+X", "type:4"} << "4" << kLong;
    QTest::newRow("Home, Shift+End copied")
        << QStringList{"type:3", "Home", "Shift+End", "Ctrl+C"} << kLong + u'3' << kLong + u'3';
    const qsizetype heldFrom = kLong.size() - forms::TextBox::kShownLimit;
    QTest::newRow("typed at the start of the held part")
        << QStringList{"cursor:0", "type:x"} << kLong.left(heldFrom) + u'x' + kLong.mid(heldFrom)
        << kLong;
    QTest::newRow("cleared") << QStringList{"clear"} << "" << kLong;
}

// The whole entry is what the box reads, however it was edited; the line edit and the
// accessibility bus never get more than the limit of it.
void FormsTest::textBoxKeepsAnEntryOfAnyLength() {
    QFETCH(QStringList, steps);
    QFETCH(QString, entry);
    QFETCH(QString, clipboard);
    forms::TextBox box;
    QApplication::clipboard()->setText(kLong);
    for (const QString& step : QStringList{"Ctrl+V"} + steps) {
        perform(box, step);
        QVERIFY2(box.QLineEdit::text().size() <= forms::TextBox::kShownLimit, qPrintable(step));
    }
    QCOMPARE(box.text().size(), entry.size());
    QVERIFY(box.text() == entry);
    QVERIFY(QApplication::clipboard()->text() == clipboard);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    QVERIFY(accessible && accessible->textInterface());
    QVERIFY(accessible->textInterface()->characterCount() <= forms::TextBox::kShownLimit);
}

QTEST_MAIN(FormsTest)
#include "forms_test.moc"
