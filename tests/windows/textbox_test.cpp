// The text box: its background and border, and entries of any length.

#include <QAccessible>
#include <QClipboard>
#include <QKeySequence>
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

class TextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void textBoxShowsBackgroundAndAppearance();
    void onlyATextBoxTakesAnAppearance();
    void textBoxKeepsAnEntryOfAnyLength_data();
    void textBoxKeepsAnEntryOfAnyLength();
};

void TextBoxTest::textBoxShowsBackgroundAndAppearance() {
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

void TextBoxTest::onlyATextBoxTakesAnAppearance() {
    forms::Label label{QString()};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             forms::applyProperty(label, Appearance::Sunken3D));
}

void TextBoxTest::textBoxKeepsAnEntryOfAnyLength_data() {
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
void TextBoxTest::textBoxKeepsAnEntryOfAnyLength() {
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

QTEST_MAIN(TextBoxTest)
#include "textbox_test.moc"
