// The text box: what the forms add to Qt's line edit, its background and border, and that it
// takes an entry of any length.

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <stdexcept>

#include "widgettesting.h"
#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"
#include "windows/forms/label.h"
#include "windows/forms/properties.h"
#include "windows/forms/textbox.h"

using forms::Appearance;
using forms::ColourCode;
using widgettesting::name;
using widgettesting::pixel;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

}  // namespace

class TextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void textBoxShowsBackgroundAndAppearance();
    void onlyATextBoxTakesAnAppearance();
    void aPasteOfAHundredThousandCharactersIsKeptWholeAndClearedForGood();
};

void TextBoxTest::textBoxShowsBackgroundAndAppearance() {
    widgettesting::ApplicationPalette dark(widgettesting::darkPalette());
    forms::TextBox box;
    box.resize(60, 19);
    forms::applyProperty(box, forms::colour::windowBackground);
    forms::applyProperty(box, Appearance::Flat);
    QCOMPARE(pixel(box, {4, 9}), name(QApplication::palette().color(QPalette::Base)));
    QCOMPARE(pixel(box, {0, 0}), name(QApplication::palette().color(QPalette::Text)));
    QCOMPARE(pixel(box, {1, 1}), name(QApplication::palette().color(QPalette::Base)));

    forms::applyProperty(box, kYellow);
    forms::applyProperty(box, Appearance::Sunken3D);
    QCOMPARE(box.background(), kYellow);
    QCOMPARE(box.appearance(), Appearance::Sunken3D);
    QCOMPARE(pixel(box, {4, 9}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(box, {0, 0}), name(QApplication::palette().color(QPalette::Dark)));
    QCOMPARE(pixel(box, {1, 1}), name(QApplication::palette().color(QPalette::Shadow)));
    QCOMPARE(name(box.palette().color(QPalette::Text)), QStringLiteral("#000000"));
}

void TextBoxTest::onlyATextBoxTakesAnAppearance() {
    forms::Label label{QString()};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             forms::applyProperty(label, Appearance::Sunken3D));
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
