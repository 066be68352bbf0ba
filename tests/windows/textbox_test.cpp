// The text box: what the forms add to Qt's line edit, its border and background, and that it
// takes an entry of any length.

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "widgettesting.h"
#include "windows/forms/colours.h"
#include "windows/forms/textbox.h"

using forms::Appearance;
using forms::ColourCode;
using widgettesting::name;
using widgettesting::pixel;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

// An empty 20 x 10 box with the border, drawn under the palette, as a picture.
QImage withBorder(const QPalette& palette, Appearance appearance) {
    widgettesting::ApplicationPalette applied(palette);
    forms::TextBox box;
    box.resize(20, 10);
    box.setAppearance(appearance);
    return widgettesting::rendered(box);
}

QString at(const QImage& image, int x, int y) {
    return name(image.pixelColor(x, y));
}

}  // namespace

class TextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void flatBorderIsOnePlainLine_data();
    void flatBorderIsOnePlainLine();
    void sunkenBorderIsTheTwoPixel3DEdge();
    void textBoxShowsBackgroundAndAppearance();
    void aPasteOfAHundredThousandCharactersIsKeptWholeAndClearedForGood();
};

void TextBoxTest::flatBorderIsOnePlainLine_data() {
    QTest::addColumn<QString>("palette");
    QTest::newRow("light") << QStringLiteral("light");
    QTest::newRow("dark") << QStringLiteral("dark");
}

void TextBoxTest::flatBorderIsOnePlainLine() {
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

void TextBoxTest::sunkenBorderIsTheTwoPixel3DEdge() {
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

// The colour code, resolved under the palette, fills the box inside its border.
void TextBoxTest::textBoxShowsBackgroundAndAppearance() {
    widgettesting::ApplicationPalette dark(widgettesting::darkPalette());
    forms::TextBox box;
    box.resize(60, 19);
    box.setBackground(forms::colour::windowBackground);
    box.setAppearance(Appearance::Flat);
    QCOMPARE(pixel(box, {4, 9}), name(QApplication::palette().color(QPalette::Base)));

    box.setBackground(kYellow);
    box.setAppearance(Appearance::Sunken3D);
    QCOMPARE(box.background(), kYellow);
    QCOMPARE(box.appearance(), Appearance::Sunken3D);
    QCOMPARE(pixel(box, {4, 9}), QStringLiteral("#ffff80"));
    QCOMPARE(name(box.palette().color(QPalette::Text)), QStringLiteral("#000000"));
}

// Qt's line edit stops at 32,767 characters unless told otherwise.
void TextBoxTest::aPasteOfAHundredThousandCharactersIsKeptWholeAndClearedForGood() {
    const QString entry = u'1' + QString(100'000 - 2, u' ') + u'2';
    forms::TextBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QApplication::clipboard()->setText(entry);
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(box.text() == entry);

    box.clearEntry();
    QVERIFY(box.text().isEmpty());
    QVERIFY(!box.isUndoAvailable());
}

QTEST_MAIN(TextBoxTest)
#include "textbox_test.moc"
