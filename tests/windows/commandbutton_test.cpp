// The command button: its styles, its background and its caption.

#include <QKeySequence>
#include <QTest>

#include "widgettesting.h"
#include "windows/forms/colours.h"
#include "windows/forms/commandbutton.h"
#include "windows/forms/design.h"

using forms::ButtonStyle;
using forms::ColourCode;
using widgettesting::name;
using widgettesting::pixel;

namespace {

constexpr ColourCode kYellow = 0x0080FFFF;

}  // namespace

class CommandButtonTest : public QObject {
    Q_OBJECT

private slots:
    void standardButtonKeepsItsBackgroundUnseen();
    void graphicalButtonShowsItsBackground();
    void createdButtonsShowTheirCaptionLiterally_data();
    void createdButtonsShowTheirCaptionLiterally();
};

void CommandButtonTest::standardButtonKeepsItsBackgroundUnseen() {
    forms::CommandButton button(QStringLiteral("Reset"));
    button.resize(73, 25);
    button.setBackground(forms::colour::buttonFace);
    const QImage systemLook = widgettesting::rendered(button);

    button.setBackground(kYellow);
    QCOMPARE(widgettesting::rendered(button), systemLook);
    QCOMPARE(button.background(), kYellow);

    // The kept colour shows as soon as the button turns graphical.
    button.setButtonStyle(ButtonStyle::Graphical);
    QCOMPARE(pixel(button, {3, 3}), QStringLiteral("#ffff80"));
}

void CommandButtonTest::graphicalButtonShowsItsBackground() {
    widgettesting::ApplicationPalette dark(widgettesting::darkPalette());
    forms::CommandButton button(QStringLiteral("Žlutá"));
    button.resize(97, 33);
    button.setButtonStyle(ButtonStyle::Graphical);
    button.setBackground(kYellow);
    QCOMPARE(pixel(button, {3, 3}), QStringLiteral("#ffff80"));
    QCOMPARE(pixel(button, {93, 29}), QStringLiteral("#ffff80"));
    QCOMPARE(name(button.palette().color(QPalette::ButtonText)), QStringLiteral("#000000"));

    button.setBackground(forms::colour::buttonFace);
    QCOMPARE(pixel(button, {3, 3}), name(QApplication::palette().color(QPalette::Button)));
    QCOMPARE(name(button.palette().color(QPalette::ButtonText)),
             name(QApplication::palette().color(QPalette::ButtonText)));
}

// "&" would be an access-key mark to Qt: a caption shows it once, and a screen reader reads it.
void CommandButtonTest::createdButtonsShowTheirCaptionLiterally_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");  // the button's text, "&&" standing for one "&"
    QTest::newRow("plain") << QStringLiteral("Přičti") << QStringLiteral("Přičti");
    QTest::newRow("leading &") << QStringLiteral("&Konec") << QStringLiteral("&&Konec");
    QTest::newRow("inner &") << QStringLiteral("A&B") << QStringLiteral("A&&B");
}

void CommandButtonTest::createdButtonsShowTheirCaptionLiterally() {
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

QTEST_MAIN(CommandButtonTest)
#include "commandbutton_test.moc"
