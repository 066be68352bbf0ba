// The text box: its background and border, and entries of any length edited as a line edit
// edits a short one.

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <limits>
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

// Three times what the line edit draws from, with marks at both ends that only the whole shows.
const QString kLong = u'1' + QString(3 * forms::TextBox::kShownLimit, u' ') + u'2';
const QString kTenMegabytes = QString(10'000'000 - 1, u' ') + u'7';

// A user's step: "type:<text>", "compose:<text>" (an input method commits it), a key
// ("Ctrl+V", "Home"...), or "undo" and "redo" for the platform's keys.
void perform(QWidget& widget, const QString& step) {
    if (step.startsWith(QLatin1String("type:"))) {
        QTest::keyClicks(&widget, step.mid(5));
        return;
    }
    if (step.startsWith(QLatin1String("compose:"))) {
        QInputMethodEvent composed;
        composed.setCommitString(step.mid(8));
        QApplication::sendEvent(&widget, &composed);
        return;
    }
    const QKeySequence keys = step == QLatin1String("undo")   ? QKeySequence(QKeySequence::Undo)
                              : step == QLatin1String("redo") ? QKeySequence(QKeySequence::Redo)
                                                              : QKeySequence(step);
    QTest::keyClick(&widget, keys[0].key(), keys[0].keyboardModifiers());
}

// What an entry box reads and where its cursor and selection are.
struct Entry {
    QString text;
    int cursor;
    int selectionStart;
    int selectionEnd;
};

Entry entryOf(QLineEdit& edit) {
    const int cursor = edit.cursorPosition();
    return {edit.text(), cursor, edit.hasSelectedText() ? edit.selectionStart() : cursor,
            edit.hasSelectedText() ? edit.selectionEnd() : cursor};
}

// The text box as the accessibility bus reads it: the whole entry.
QAccessibleTextInterface& accessibleText(forms::TextBox& box) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    Q_ASSERT(accessible && accessible->textInterface());
    return *accessible->textInterface();
}

Entry entryOf(forms::TextBox& box) {
    QAccessibleTextInterface& text = accessibleText(box);
    const int cursor = text.cursorPosition();
    int start = cursor;
    int end = cursor;
    if (text.selectionCount() > 0) {
        text.selection(0, &start, &end);
    }
    return {box.text(), cursor, start, end};
}

QString describe(const Entry& entry) {
    return QStringLiteral("%1 characters, cursor %2, selection %3-%4")
        .arg(entry.text.size())
        .arg(entry.cursor)
        .arg(entry.selectionStart)
        .arg(entry.selectionEnd);
}

}  // namespace

class TextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void textBoxShowsBackgroundAndAppearance();
    void onlyATextBoxTakesAnAppearance();
    void keysDoWhatTheyDoInALineEdit_data();
    void keysDoWhatTheyDoInALineEdit();
    void undoTakesBackAHugePasteAndRedoBringsItBack();
    void selectAllGivesTheWholeEntryToBothClipboards();
    void aHugeDropGoesInAsAPasteDoes();
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

// A plain line edit given the same text and the same keys is the measure: the text box must
// leave the entry, the cursor and the selection as it does, however long the entry.
void TextBoxTest::keysDoWhatTheyDoInALineEdit_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QStringList>("steps");
    const QString blanks = u'1' + QString(100'000, u' ') + u'7';
    const QString letters = QStringLiteral("5 ") + QString(100'000, u'a') + QStringLiteral(" 9");
    const QString mixed = QStringLiteral("12,5 + 3.4e2\t(x)  -7");
    QTest::newRow("word selection over 100,000 blanks, deleted")
        << blanks << QStringList{"Ctrl+V", "Home", "Ctrl+Shift+Right", "Delete"};
    QTest::newRow("a word of 100,000 letters selected, deleted")
        << letters << QStringList{"Ctrl+V", "Home", "Ctrl+Right", "Ctrl+Shift+Right", "Delete"};
    QTest::newRow("back over the words from the end")
        << letters << QStringList{"Ctrl+V", "Ctrl+Left", "Ctrl+Left", "Ctrl+Shift+Left"};
    QTest::newRow("words and separators")
        << mixed << QStringList{"Ctrl+V",      "Home",       "Ctrl+Right",
                                "Ctrl+Right",  "Ctrl+Right", "Ctrl+Shift+Right",
                                "Ctrl+Delete", "End",        "Ctrl+Backspace"};
    QTest::newRow("arrows end a selection")
        << mixed << QStringList{"Ctrl+V", "Home",       "Shift+Right", "Shift+Right", "Right",
                                "type:x", "Shift+Left", "Left",        "type:y"};
    QTest::newRow("clusters and surrogate pairs")
        << QStringLiteral("e\u0301x\U0001F600y")
        << QStringList{"Ctrl+V", "Home", "Right", "Delete", "End", "Left", "Backspace"};
    QTest::newRow("long: Home, typed before") << kLong << QStringList{"Ctrl+V", "Home", "type:0"};
    QTest::newRow("long: Home, End, typed after")
        << kLong << QStringList{"Ctrl+V", "Home", "End", "type:3"};
    QTest::newRow("long: pasted again at the start")
        << kLong << QStringList{"Ctrl+V", "Home", "Ctrl+V"};
    QTest::newRow("long: all typed over") << kLong << QStringList{"Ctrl+V", "Ctrl+A", "type:5"};
    QTest::newRow("long: Shift+Home, deleted, undone")
        << kLong << QStringList{"Ctrl+V", "Shift+Home", "Backspace", "undo"};
    QTest::newRow("long: all cut, typed")
        << kLong << QStringList{"Ctrl+V", "Ctrl+A", "Ctrl+X", "type:4"};
    QTest::newRow("long: an input method's text over a selection")
        << kLong << QStringList{"Ctrl+V", "Ctrl+Left", "Shift+Home", "compose:\u010D", "End"};
    QTest::newRow("long: a word back across the shown part")
        << kLong << QStringList{"Ctrl+V", "Ctrl+Left", "Ctrl+Left", "Shift+Right", "type:x"};
    QTest::newRow("typed, pasted, undone, typed")
        << QStringLiteral("  7") << QStringList{"type:12", "Ctrl+V", "undo", "type:3"};
}

void TextBoxTest::keysDoWhatTheyDoInALineEdit() {
    QFETCH(QString, clipboard);
    QFETCH(QStringList, steps);
    QLineEdit plain;
    plain.setMaxLength(std::numeric_limits<int>::max());
    forms::TextBox box;
    for (QWidget* widget : {static_cast<QWidget*>(&plain), static_cast<QWidget*>(&box)}) {
        QApplication::clipboard()->setText(clipboard);
        for (const QString& step : steps) {
            perform(*widget, step);
        }
    }
    const Entry expected = entryOf(plain);
    const Entry actual = entryOf(box);
    QCOMPARE(describe(actual), describe(expected));
    QVERIFY(actual.text == expected.text);
}

// A paste of megabytes is one step back and one step forward, and the accessibility bus
// reads the whole entry.
void TextBoxTest::undoTakesBackAHugePasteAndRedoBringsItBack() {
    forms::TextBox box;
    QApplication::clipboard()->setText(kTenMegabytes);
    for (const QString& step : QStringList{"type:12", "Ctrl+V"}) {
        perform(box, step);
    }
    QCOMPARE(accessibleText(box).characterCount(), kTenMegabytes.size() + 2);
    perform(box, QStringLiteral("undo"));
    QCOMPARE(box.text(), QStringLiteral("12"));
    perform(box, QStringLiteral("redo"));
    QVERIFY(box.text() == QStringLiteral("12") + kTenMegabytes);
}

// Ctrl+A, Ctrl+C, and the context menu's Select All and Cut, on a megabyte.
void TextBoxTest::selectAllGivesTheWholeEntryToBothClipboards() {
    const QString megabyte = u'3' + QString(1 << 20, u' ') + u'4';
    forms::TextBox box;
    box.setText(megabyte);
    perform(box, QStringLiteral("Ctrl+A"));
    perform(box, QStringLiteral("Ctrl+C"));
    QVERIFY(QApplication::clipboard()->text() == megabyte);

    box.setText(megabyte + u'5');
    const auto chooseFromMenu = [&box](qsizetype item) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, {5, 5}, box.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&box, &click);
        auto* menu = box.findChild<QMenu*>();
        QVERIFY(menu);
        QList<QAction*> items = menu->actions();
        items.removeIf([](const QAction* action) { return action->isSeparator(); });
        items.value(item < 0 ? items.size() + item : item)->trigger();
        delete menu;
    };
    chooseFromMenu(-1);  // Select All
    chooseFromMenu(2);   // Cut
    QVERIFY(QApplication::clipboard()->text() == megabyte + u'5');
    QCOMPARE(box.text(), QString());

    if (!QApplication::clipboard()->supportsSelection()) {
        QSKIP("this platform has no primary selection (the end-to-end suite checks it on X11)");
    }
    box.setText(megabyte);
    perform(box, QStringLiteral("Ctrl+A"));
    QVERIFY(QApplication::clipboard()->text(QClipboard::Selection) == megabyte);
}

// 10 MB dropped into the box go in at the drop as a paste does: whole, and undone in one step.
void TextBoxTest::aHugeDropGoesInAsAPasteDoes() {
    forms::TextBox box;
    box.resize(217, 19);
    box.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    perform(box, QStringLiteral("type:12"));
    QMimeData dropped;
    dropped.setText(kTenMegabytes);
    const QPointF rightEnd(box.width() - 3, box.height() / 2);
    QDragEnterEvent enter(rightEnd.toPoint(), Qt::CopyAction, &dropped, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(rightEnd, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(box.text().size(), kTenMegabytes.size() + 2);
    QVERIFY(box.text() == QStringLiteral("12") + kTenMegabytes);
    perform(box, QStringLiteral("undo"));
    QCOMPARE(box.text(), QStringLiteral("12"));
}

QTEST_MAIN(TextBoxTest)
#include "textbox_test.moc"
