// The main window driven as a user drives it: typing into the entry box, clicking the buttons,
// choosing menu items and answering its boxes.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "calculator/calculatorstate.h"
#include "modalboxes.h"
#include "widgettesting.h"
#include "windows/Form1.h"
#include "windows/forms/label.h"
#include "windows/forms/textbox.h"

using widgettesting::click;
using widgettesting::typeEntry;

namespace {

const QString kNoNumbersYet = QStringLiteral("Žádné číslo jsi ještě nezadal!");
const QString kRejected = QStringLiteral("Nic jsi nezadal!");

// A user's step: "type:<text>" replaces the entry's text, "Command<n>" clicks that button,
// "submnu<name>" chooses that menu item.
using Steps = QStringList;

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // ---- At start ----
    void opensEmptyWithTheFocusInTheEntryBox();
    void entryStartsFlatOnTheWindowBackground();
    void clientAreaOpensAtItsScreenPosition();
    void controlsSitAtTheirTwipsPositions_data();
    void controlsSitAtTheirTwipsPositions();
    void resizingLeavesEveryControlInPlace();
    void tabGoesFromTheEntryBoxThroughTheButtons();
    void controlsUseTheFormsFontsAndShowCzechLetters_data();
    void controlsUseTheFormsFontsAndShowCzechLetters();
    void menuBarHoldsTheMenusInOrder();
    void screenReadersFindEveryControlByName_data();
    void screenReadersFindEveryControlByName();
    void screenReadersReadTheMessageLabelsText();

    // ---- Commands ----
    void commandsShowTheirMessages_data();
    void commandsShowTheirMessages();
    void acceptedEntryEmptiesTheEntryAndTheLabel();
    void rejectedEntryStaysInTheBox_data();
    void rejectedEntryStaysInTheBox();
    void enterAndEscapePressNothing_data();
    void enterAndEscapePressNothing();
    void entryTakesMoreThan32767Characters();
    void everyMessageIsShownWhole_data();
    void everyMessageIsShownWhole();

    // ---- Overflow ----
    void overflowIsReportedAndChangesNothing();

    // ---- End ----
    void konecShowsItsBoxThenClosesTheWindow_data();
    void konecShowsItsBoxThenClosesTheWindow();
    void closeBoxClosesWithoutABox();

private:
    void openForm(const QString& decimalSeparator = QStringLiteral(","));
    void perform(const Steps& steps);
    forms::TextBox& entry() const;
    forms::Label& label() const;
    void checkMessageShownWhole(const char* atFont);
    QPushButton& button(const char* name) const;
    QAction& action(const char* name) const;

    std::unique_ptr<ModalBoxes> boxes_;
    std::unique_ptr<Form1> form_;
};

void Form1Test::init() {
    boxes_ = std::make_unique<ModalBoxes>();
    openForm();
}

void Form1Test::cleanup() {
    form_.reset();
    const QStringList unexpected = boxes_->unexpected();
    const qsizetype stillExpected = boxes_->stillExpected();
    boxes_.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable("unexpected boxes: " + unexpected.join(", ")));
    QCOMPARE(stillExpected, 0);
}

void Form1Test::openForm(const QString& decimalSeparator) {
    form_ = std::make_unique<Form1>(decimalSeparator);
    QVERIFY(widgettesting::activate(*form_));
}

// Types, clicks and chooses as the steps say.
void Form1Test::perform(const Steps& steps) {
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("type:"))) {
            typeEntry(entry(), step.mid(5));
        } else if (step.startsWith(QLatin1String("show:"))) {
            label().setCaption(step.mid(5));
        } else if (step.startsWith(QLatin1String("Command"))) {
            click(button(qPrintable(step)));
        } else {
            action(qPrintable(step)).trigger();
        }
    }
}

forms::TextBox& Form1Test::entry() const {
    auto* text1 = form_->findChild<forms::TextBox*>(QStringLiteral("Text1"));
    Q_ASSERT(text1);
    return *text1;
}

forms::Label& Form1Test::label() const {
    auto* label1 = form_->findChild<forms::Label*>(QStringLiteral("Label1"));
    Q_ASSERT(label1);
    return *label1;
}

QPushButton& Form1Test::button(const char* name) const {
    auto* found = form_->findChild<QPushButton*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return *found;
}

QAction& Form1Test::action(const char* name) const {
    auto* found = form_->findChild<QAction*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return *found;
}

// ---- At start -------------------------------------------------------------------------------

void Form1Test::opensEmptyWithTheFocusInTheEntryBox() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Kalvet 1.2"));
    QCOMPARE(entry().text(), QString());
    QCOMPARE(label().text(), QString());
    QCOMPARE(QApplication::focusWidget(), &entry());
    // Typing goes straight into the entry box.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("42"));
    QCOMPARE(entry().text(), QStringLiteral("42"));
}

void Form1Test::entryStartsFlatOnTheWindowBackground() {
    const QPalette palette = QApplication::palette();
    QCOMPARE(widgettesting::pixel(entry(), {0, 0}),
             widgettesting::name(palette.color(QPalette::Text)));
    QCOMPARE(widgettesting::pixel(entry(), {1, 1}),
             widgettesting::name(palette.color(QPalette::Base)));
    QCOMPARE(widgettesting::pixel(entry(), {4, 4}),
             widgettesting::name(palette.color(QPalette::Base)));
    // The label is opaque in the button face colour, as is the client area around it.
    QCOMPARE(widgettesting::pixel(label(), {1, 1}),
             widgettesting::name(palette.color(QPalette::Button)));
    QCOMPARE(widgettesting::pixel(*form_->centralWidget(), {2, 2}),
             widgettesting::name(palette.color(QPalette::Button)));
}

void Form1Test::clientAreaOpensAtItsScreenPosition() {
    QWidget* clientArea = form_->centralWidget();
    QCOMPARE(form_->centralWidget(), clientArea);
    QCOMPARE(clientArea->mapToGlobal(QPoint(0, 0)), QPoint(270, 206));
    QCOMPARE(clientArea->size(), QSize(235, 86));
    // The menu bar lies above the client area, outside it.
    QCOMPARE(form_->menuBar()->mapToGlobal(QPoint(0, form_->menuBar()->height())).y(), 206);
}

void Form1Test::controlsSitAtTheirTwipsPositions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Text1") << QStringLiteral("Text1") << QRect(8, 8, 217, 19);
    QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(8, 32, 217, 17);
    QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(8, 56, 73, 25);
    QTest::newRow("Command2") << QStringLiteral("Command2") << QRect(80, 56, 73, 25);
    QTest::newRow("Command3") << QStringLiteral("Command3") << QRect(152, 56, 73, 25);
}

void Form1Test::controlsSitAtTheirTwipsPositions() {
    QFETCH(QString, control);
    QFETCH(QRect, place);
    auto* widget = form_->centralWidget()->findChild<QWidget*>(control, Qt::FindDirectChildrenOnly);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), place);
}

void Form1Test::resizingLeavesEveryControlInPlace() {
    const auto controls = form_->centralWidget()->findChildren<QWidget*>();
    QList<QRect> before;
    for (QWidget* control : controls) {
        before.append(control->geometry());
    }
    form_->resize(form_->width() + 150, form_->height() + 80);
    QTRY_COMPARE(form_->centralWidget()->width(), 235 + 150);
    for (qsizetype i = 0; i < controls.size(); ++i) {
        QCOMPARE(controls[i]->geometry(), before[i]);
    }
}

void Form1Test::tabGoesFromTheEntryBoxThroughTheButtons() {
    QStringList visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, (QStringList{QStringLiteral("Command1"), QStringLiteral("Command2"),
                                   QStringLiteral("Command3"), QStringLiteral("Text1")}));
}

void Form1Test::controlsUseTheFormsFontsAndShowCzechLetters_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("Label1") << QStringLiteral("Label1") << 9.0 << false;
    QTest::newRow("Text1") << QStringLiteral("Text1") << 8.25 << false;
    QTest::newRow("Command1") << QStringLiteral("Command1") << 8.25 << true;
    QTest::newRow("Command2") << QStringLiteral("Command2") << 8.25 << true;
    QTest::newRow("Command3") << QStringLiteral("Command3") << 8.25 << true;
}

void Form1Test::controlsUseTheFormsFontsAndShowCzechLetters() {
    QFETCH(QString, control);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    auto* widget = form_->findChild<QWidget*>(control);
    QVERIFY(widget);
    const QFont font = widget->font();
    QCOMPARE(font.family(), QStringLiteral("Arial"));
    QCOMPARE(font.pointSizeF(), pointSize);
    QCOMPARE(font.bold(), bold);
    const QFontMetrics metrics(font);
    for (const QChar letter : QStringLiteral("ěščřžýáíéůúťďňĚŠČŘŽÝÁÍÉŮÚŤĎŇ")) {
        QVERIFY2(metrics.inFont(letter), qPrintable(QString(letter)));
    }
}

void Form1Test::menuBarHoldsTheMenusInOrder() {
    // name, caption, shortcut of every entry, each menu followed by its items.
    const QStringList expected = {
        QStringLiteral("mnuAplikace|Aplikace|"),
        QStringLiteral("  submnuEnd|Konec|Ctrl+K"),
        QStringLiteral("mnuZobrazit|Zobrazit|"),
        QStringLiteral("  submnuPocet|Počet zadaných čísel|"),
        QStringLiteral("  submnuPosledni|Poslední zadané číslo|"),
        QStringLiteral("  submnuMezikalvet|Meziprůměr|"),
        QStringLiteral("mnuOptions|Vlastnosti|"),
        QStringLiteral("  submnuSkiny|Skiny|"),
    };
    const auto describe = [](const QAction* action, const QString& indent) {
        return indent + action->objectName() + u'|' + action->text() + u'|' +
               action->shortcut().toString(QKeySequence::PortableText);
    };
    QStringList actual;
    for (QAction* menuAction : form_->menuBar()->actions()) {
        actual.append(describe(menuAction, QString()));
        QVERIFY(menuAction->menu());
        QCOMPARE(menuAction->menu()->objectName(), menuAction->objectName());
        for (QAction* item : menuAction->menu()->actions()) {
            QVERIFY(!item->isSeparator());
            QVERIFY(item->isEnabled());
            QVERIFY(!item->isChecked());
            QVERIFY(item->isShortcutVisibleInContextMenu() || item->shortcut().isEmpty());
            actual.append(describe(item, QStringLiteral("  ")));
        }
    }
    QCOMPARE(actual, expected);
    // The window's font is the client area's: the menu bar keeps the platform's.
    QCOMPARE(form_->menuBar()->font(), QApplication::font(form_->menuBar()));
}

void Form1Test::screenReadersFindEveryControlByName_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<int>("role");
    QTest::newRow("Text1") << QStringLiteral("Text1") << QStringLiteral("Zadané číslo")
                           << int(QAccessible::EditableText);
    QTest::newRow("Command1") << QStringLiteral("Command1") << QStringLiteral("Přičti")
                              << int(QAccessible::Button);
    QTest::newRow("Command2") << QStringLiteral("Command2") << QStringLiteral("Průměr")
                              << int(QAccessible::Button);
    QTest::newRow("Command3") << QStringLiteral("Command3") << QStringLiteral("Reset")
                              << int(QAccessible::Button);
}

void Form1Test::screenReadersFindEveryControlByName() {
    QFETCH(QString, control);
    QFETCH(QString, accessibleName);
    QFETCH(int, role);
    auto* widget = form_->findChild<QWidget*>(control);
    QVERIFY(widget);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
    QCOMPARE(int(accessible->role()), role);
}

// Whenever Qt asks, the label is the window's message label: a notification, which a screen
// reader speaks as each message appears. Qt asks at the label's first event and keeps the
// answer; here the answer is dropped after a message and Qt asks again, as when it first asks
// after one.
void Form1Test::screenReadersReadTheMessageLabelsText() {
    perform({QStringLiteral("Command2")});
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&label())));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&label());
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Zatím jsi nezadal žádná čísla!"));
    QCOMPARE(int(accessible->role()), int(QAccessible::Notification));
}

// ---- Commands -------------------------------------------------------------------------------

// Each button and menu item runs its own command and shows its result with the window's
// separator; the messages themselves are the core's.
void Form1Test::commandsShowTheirMessages_data() {
    QTest::addColumn<QString>("separator");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("message");  // "{sep}" stands for the separator

    const Steps addTwoAndThree = {QStringLiteral("type:2"), QStringLiteral("Command1"),
                                  QStringLiteral("type:3"), QStringLiteral("Command1")};
    for (const QString& separator : {QStringLiteral(","), QStringLiteral(".")}) {
        const auto row = [&separator](const char* what) -> QTestData& {
            return QTest::addRow("'%s' %s", qPrintable(separator), what) << separator;
        };
        row("average of 2 and 3") << addTwoAndThree + Steps{QStringLiteral("Command2")}
                                  << QStringLiteral("Průměr zadaných čísel je 2{sep}5.");
        row("count of 2 and 3") << addTwoAndThree + Steps{QStringLiteral("submnuPocet")}
                                << QStringLiteral("Počet zadaných čísel je 2.");
        row("last of 2 and 3") << addTwoAndThree + Steps{QStringLiteral("submnuPosledni")}
                               << QStringLiteral("Poslední zadané číslo je 3.");
        row("running average of 2 and 3")
            << addTwoAndThree + Steps{QStringLiteral("submnuMezikalvet")}
            << QStringLiteral("Meziprůměr je 2{sep}5.");
        row("average after reset")
            << addTwoAndThree + Steps{QStringLiteral("Command3"), QStringLiteral("Command2")}
            << QStringLiteral("Zatím jsi nezadal žádná čísla!");
    }
}

void Form1Test::commandsShowTheirMessages() {
    QFETCH(QString, separator);
    QFETCH(Steps, steps);
    QFETCH(QString, message);
    openForm(separator);
    perform(steps);
    QCOMPARE(label().text(), QString(message).replace(QLatin1String("{sep}"), separator));
}

void Form1Test::acceptedEntryEmptiesTheEntryAndTheLabel() {
    perform({QStringLiteral("Command2")});
    QVERIFY(!label().text().isEmpty());
    perform({QStringLiteral("type:7"), QStringLiteral("Command1")});
    QCOMPARE(entry().text(), QString());
    QCOMPARE(label().text(), QString());
    // The empty box is now a rejected entry.
    perform({QStringLiteral("Command1")});
    QCOMPARE(label().text(), kRejected);
}

void Form1Test::rejectedEntryStaysInTheBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << QString();
    QTest::newRow("zero") << QStringLiteral("0");
    QTest::newRow("zero point zero") << QStringLiteral("0.0");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("blanks") << QStringLiteral("   ");
}

void Form1Test::rejectedEntryStaysInTheBox() {
    QFETCH(QString, typed);
    perform({QStringLiteral("type:") + typed, QStringLiteral("Command1")});
    QCOMPARE(label().text(), kRejected);
    QCOMPARE(entry().text(), typed);
    perform({QStringLiteral("submnuPocet")});
    QCOMPARE(label().text(), kNoNumbersYet);
}

void Form1Test::enterAndEscapePressNothing_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void Form1Test::enterAndEscapePressNothing() {
    QFETCH(int, key);
    perform({QStringLiteral("type:5")});
    QTest::keyClick(&entry(), Qt::Key(key));
    QCOMPARE(entry().text(), QStringLiteral("5"));
    QCOMPARE(label().text(), QString());
    QVERIFY(form_->isVisible());
    perform({QStringLiteral("submnuPocet")});
    QCOMPARE(label().text(), kNoNumbersYet);
}

void Form1Test::entryTakesMoreThan32767Characters() {
    const QString longNumber = QStringLiteral("1") + QString(39999, u'0');
    QApplication::clipboard()->setText(longNumber);
    QTest::keyClick(&entry(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(&entry(), QStringLiteral("0"));
    QCOMPARE(entry().text().size(), longNumber.size() + 1);
}

// The longest message of each kind, driven as a user would. A message that fits one line at
// the window's font is drawn at that font in the label's place; any other is shown whole too,
// at the window's font and at a larger one (as a desktop at 128 dpi makes the 9 pt font).
void Form1Test::everyMessageIsShownWhole_data() {
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fitsOneLine");  // at the window's font, so nothing changes for it

    const Steps addLargest = {QStringLiteral("type:-1.23456789012346e307"),
                              QStringLiteral("Command1")};
    // The largest count as the calculator composes it, shown as the window shows a result:
    // 32767 additions through the window take minutes under the sanitizers and under Wine,
    // and the other rows already go through the window's handlers.
    calculator::CalculatorState counted(",");
    for (int i = 0; i < 32767; ++i) {
        counted.addNumber("1");
    }
    const Steps showLargestCount = {QStringLiteral("show:") +
                                    QString::fromStdString(counted.showCount().labelText)};
    QTest::newRow("short average")
        << Steps{QStringLiteral("type:2"), QStringLiteral("Command1"), QStringLiteral("type:3"),
                 QStringLiteral("Command1"), QStringLiteral("Command2")}
        << QStringLiteral("Průměr zadaných čísel je 2,5.") << true;
    QTest::newRow("a third") << Steps{QStringLiteral("type:1"),  QStringLiteral("Command1"),
                                      QStringLiteral("type:1"),  QStringLiteral("Command1"),
                                      QStringLiteral("type:-1"), QStringLiteral("Command1"),
                                      QStringLiteral("Command2")}
                             << QStringLiteral("Průměr zadaných čísel je 0,333333333333333.")
                             << false;
    QTest::newRow("longest average")
        << addLargest + Steps{QStringLiteral("Command2")}
        << QStringLiteral("Průměr zadaných čísel je -1,23456789012346E+307.") << false;
    QTest::newRow("longest running average")
        << addLargest + Steps{QStringLiteral("submnuMezikalvet")}
        << QStringLiteral("Meziprůměr je -1,23456789012346E+307.") << false;
    QTest::newRow("longest last number")
        << addLargest + Steps{QStringLiteral("submnuPosledni")}
        << QStringLiteral("Poslední zadané číslo je -1,23456789012346E+307.") << false;
    QTest::newRow("largest count")
        << showLargestCount << QStringLiteral("Počet zadaných čísel je 32767.") << true;
}

void Form1Test::everyMessageIsShownWhole() {
    QFETCH(Steps, steps);
    QFETCH(QString, message);
    QFETCH(bool, fitsOneLine);
    perform(steps);
    QCOMPARE(label().text(), message);
    checkMessageShownWhole("the window's font");
    QCOMPARE(label().font() == form_->centralWidget()->font(), fitsOneLine);
    if (fitsOneLine) {
        QCOMPARE(label().geometry(), QRect(8, 32, 217, 17));
    }
    form_->centralWidget()->setFont(QFont(QStringLiteral("Arial"), 12));
    checkMessageShownWhole("12 pt");
    // A message shrunk to fit is never drawn larger than the window's new, smaller font.
    form_->centralWidget()->setFont(QFont(QStringLiteral("Arial"), 6));
    checkMessageShownWhole("6 pt");
    QVERIFY(QFontInfo(label().font()).pixelSize() <=
            QFontInfo(form_->centralWidget()->font()).pixelSize());
}

// The label's text, laid out as it is drawn (its flags, the font it is drawn with), lies
// wholly inside the label; the label keeps its left, top and width and grows at most down to
// the buttons' top edge (56 px).
void Form1Test::checkMessageShownWhole(const char* atFont) {
    const forms::Label& shown = label();
    const QRect place = shown.geometry();
    QCOMPARE(place.topLeft(), QPoint(8, 32));
    QCOMPARE(place.width(), 217);
    QVERIFY2(place.bottom() < 56, atFont);
    const QFontMetrics metrics(shown.font(), &shown);
    const QRect drawn = metrics.boundingRect(shown.contentsRect(), shown.textFlags(), shown.text());
    QVERIFY2(shown.contentsRect().contains(drawn), atFont);
}

// ---- Overflow -------------------------------------------------------------------------------

void Form1Test::overflowIsReportedAndChangesNothing() {
    perform({QStringLiteral("type:1.7E308"), QStringLiteral("Command1"),
             QStringLiteral("submnuPocet")});
    const QString countBefore = label().text();
    QCOMPARE(countBefore, QStringLiteral("Počet zadaných čísel je 1."));

    boxes_->expect(ModalBoxes::Close::OkButton);
    perform({QStringLiteral("type:1.7E308"), QStringLiteral("Command1")});
    QCOMPARE(boxes_->seen().size(), 1);
    const ModalBoxes::Box& box = boxes_->seen().first();
    QCOMPARE(box.title, QStringLiteral("Kalvet 1.2"));
    QCOMPARE(box.text, QStringLiteral("Přetečení! Číslo nebylo přičteno."));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.buttonCount, 1);

    QVERIFY(form_->isVisible());
    QCOMPARE(label().text(), countBefore);
    QCOMPARE(entry().text(), QStringLiteral("1.7E308"));
    perform({QStringLiteral("submnuPocet")});
    QCOMPARE(label().text(), countBefore);
    // And the program carries on with the numbers it had.
    perform(
        {QStringLiteral("type:-1.7E308"), QStringLiteral("Command1"), QStringLiteral("Command2")});
    QCOMPARE(label().text(), QStringLiteral("Průměr zadaných čísel je 0."));
}

// ---- End ------------------------------------------------------------------------------------

void Form1Test::konecShowsItsBoxThenClosesTheWindow_data() {
    QTest::addColumn<bool>("byShortcut");
    QTest::addColumn<ModalBoxes::Close>("closing");
    const std::pair<const char*, ModalBoxes::Close> ways[] = {
        {"OK", ModalBoxes::Close::OkButton},
        {"Esc", ModalBoxes::Close::EscapeKey},
        {"close box", ModalBoxes::Close::CloseBox},
    };
    for (const auto& [how, closing] : ways) {
        QTest::addRow("menu, then %s", how) << false << closing;
        QTest::addRow("Ctrl+K, then %s", how) << true << closing;
    }
}

void Form1Test::konecShowsItsBoxThenClosesTheWindow() {
    QFETCH(bool, byShortcut);
    QFETCH(ModalBoxes::Close, closing);
    boxes_->expect(closing);
    if (byShortcut) {
        QTest::keyClick(&entry(), Qt::Key_K, Qt::ControlModifier);
    } else {
        action("submnuEnd").trigger();
    }
    QCOMPARE(boxes_->seen().size(), 1);
    const ModalBoxes::Box& box = boxes_->seen().first();
    QCOMPARE(box.title, QStringLiteral("Konec"));
    QCOMPARE(box.text, QStringLiteral("Program Kalvet 1.2 bude ukončen."));
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.buttonCount, 1);
    QVERIFY(!form_->isVisible());
    QCOMPARE(entry().text(), QString());  // "k" was a shortcut, not typed
}

void Form1Test::closeBoxClosesWithoutABox() {
    QVERIFY(form_->close());
    QVERIFY(!form_->isVisible());
    QCOMPARE(boxes_->seen().size(), 0);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
