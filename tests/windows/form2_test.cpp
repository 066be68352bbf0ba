// The colour-scheme window driven as a user drives it, with the main window beside it: its
// start look, both colour schemes on every target, bringing it up and leaving it, and when the
// program ends with two windows.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <memory>

#include "modalboxes.h"
#include "widgettesting.h"
#include "windows/Form1.h"
#include "windows/Form2.h"
#include "windows/forms/textbox.h"

using widgettesting::click;
using widgettesting::name;
using widgettesting::pixel;
using widgettesting::typeEntry;

namespace {

const QString kYellow = QStringLiteral("#ffff80");

// A scheme button of Form2, by the name the form gives it.
const char* const kZluta = "Command1";
const char* const kKlasika = "Command2";
const char* const kOdejit = "Command3";

template <typename T = QWidget>
T& control(QWidget& form, const char* name) {
    auto* found = form.findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return *found;
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // ---- At start ----
    void opensGreyWithAYellowZlutaHoldingTheFocus();
    void clientAreaOpensAtItsScreenPosition();
    void controlsSitAtTheirTwipsPositions_data();
    void controlsSitAtTheirTwipsPositions();
    void tabGoesThroughTheThreeButtons();
    void labelAndButtonsUseTheirFonts();
    void screenReadersFindEveryControl_data();
    void screenReadersFindEveryControl();

    // ---- Colour schemes ----
    void schemesRecolourEveryTarget_data();
    void schemesRecolourEveryTarget();
    void entryStaysReadableUnderEitherScheme_data();
    void entryStaysReadableUnderEitherScheme();
    void zlutaTwiceChangesNothingMore();
    void schemesLeaveTheCalculatorAlone();
    void aPaletteChangeRecoloursAsAFreshStart_data();
    void aPaletteChangeRecoloursAsAFreshStart();

    // ---- Bringing it up and leaving it ----
    void skinyKeepsASingleWindow();
    void skinyShowsTheWindowAgainWhenHidden();
    void leavingAndClosingDestroyTheWindow_data();
    void leavingAndClosingDestroyTheWindow();
    void leavingKeepsTheMainWindowYellowAndReopensFresh();
    void reopenedWindowsShareOneIcon();
    void bothWindowsStayUsable();
    void destroyingTheMainWindowDestroysItsColourSchemeWindow();

    // ---- The program's end ----
    void programRunsUntilTheLastWindowCloses_data();
    void programRunsUntilTheLastWindowCloses();
    void schemesAfterTheMainWindowClosedNeitherShowItNorKeepTheProgramRunning();

private:
    Form2& openBoth();
    Form2& bringUpColourSchemes();
    // Takes the mouse off the buttons and the focus back to "Žlutá", so that buttons are
    // compared in the same state.
    void settle(Form2& form2);

    std::unique_ptr<ModalBoxes> boxes_;
    std::unique_ptr<Form1> form1_;
};

void Form2Test::init() {
    boxes_ = std::make_unique<ModalBoxes>();
}

void Form2Test::cleanup() {
    form1_.reset();  // and with it its colour-scheme window
    QCOMPARE(widgettesting::colourSchemeWindows().size(), 0);
    const QStringList unexpected = boxes_->unexpected();
    boxes_.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable("unexpected boxes: " + unexpected.join(", ")));
}

Form2& Form2Test::openBoth() {
    form1_ = std::make_unique<Form1>(QStringLiteral(","));
    [this] { QVERIFY(widgettesting::activate(*form1_)); }();
    return bringUpColourSchemes();
}

Form2& Form2Test::bringUpColourSchemes() {
    control<QAction>(*form1_, "submnuSkiny").trigger();
    const QList<Form2*> windows = widgettesting::colourSchemeWindows();
    Q_ASSERT(windows.size() == 1);
    Form2& form2 = *windows.first();
    [&form2] { QVERIFY(QTest::qWaitForWindowActive(&form2)); }();
    return form2;
}

void Form2Test::settle(Form2& form2) {
    QTest::mouseMove(&form2, QPoint(2, 2));
    control(form2, kZluta).setFocus();
}

// ---- At start -------------------------------------------------------------------------------

void Form2Test::opensGreyWithAYellowZlutaHoldingTheFocus() {
    Form2& form2 = openBoth();
    const QPalette palette = QApplication::palette();
    QCOMPARE(form2.windowTitle(), QStringLiteral("Vlastnosti"));
    QCOMPARE(pixel(form2, {2, 2}), name(palette.color(QPalette::Button)));
    QCOMPARE(pixel(control(form2, "Label1"), {1, 1}), name(palette.color(QPalette::Button)));
    QCOMPARE(pixel(control(form2, kZluta), {3, 3}), kYellow);
    QCOMPARE(QApplication::focusWidget(), &control(form2, kZluta));
    QVERIFY(form1_->isVisible());
}

void Form2Test::clientAreaOpensAtItsScreenPosition() {
    Form2& form2 = openBoth();
    QCOMPARE(form2.mapToGlobal(QPoint(0, 0)), QPoint(266, 219));
    QCOMPARE(form2.size(), QSize(243, 110));
}

void Form2Test::controlsSitAtTheirTwipsPositions_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Label1") << QStringLiteral("Label1") << QRect(8, 8, 225, 17);
    QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(16, 40, 97, 33);
    QTest::newRow("Command2") << QStringLiteral("Command2") << QRect(128, 40, 97, 33);
    QTest::newRow("Command3") << QStringLiteral("Command3") << QRect(72, 80, 97, 25);
}

void Form2Test::controlsSitAtTheirTwipsPositions() {
    QFETCH(QString, control);
    QFETCH(QRect, place);
    Form2& form2 = openBoth();
    auto* widget = form2.findChild<QWidget*>(control, Qt::FindDirectChildrenOnly);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), place);
}

void Form2Test::tabGoesThroughTheThreeButtons() {
    openBoth();
    QStringList visited;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, (QStringList{QStringLiteral("Command2"), QStringLiteral("Command3"),
                                   QStringLiteral("Command1")}));
}

void Form2Test::labelAndButtonsUseTheirFonts() {
    Form2& form2 = openBoth();
    const QFont labelFont = control(form2, "Label1").font();
    QCOMPARE(labelFont.family(), QStringLiteral("Arial"));
    QCOMPARE(labelFont.pointSizeF(), 9.75);
    QVERIFY(labelFont.bold());
    for (const char* button : {kZluta, kKlasika, kOdejit}) {
        QCOMPARE(control(form2, button).font(), QApplication::font());
    }
    for (const QFont& font : {labelFont, QApplication::font()}) {
        const QFontMetrics metrics(font);
        for (const QChar letter : QStringLiteral("ŽluáěíŮ")) {
            QVERIFY2(metrics.inFont(letter), qPrintable(QString(letter)));
        }
    }
}

void Form2Test::screenReadersFindEveryControl_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("accessibleName");
    QTest::newRow("Label1") << QStringLiteral("Label1") << QStringLiteral("Změna barvy formuláře");
    QTest::newRow("Command1") << QStringLiteral("Command1") << QStringLiteral("Žlutá");
    QTest::newRow("Command2") << QStringLiteral("Command2") << QStringLiteral("Klasika");
    QTest::newRow("Command3") << QStringLiteral("Command3") << QStringLiteral("Odejít");
}

void Form2Test::screenReadersFindEveryControl() {
    QFETCH(QString, control);
    QFETCH(QString, accessibleName);
    Form2& form2 = openBoth();
    auto* widget = form2.findChild<QWidget*>(control);
    QVERIFY(widget);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
}

// ---- Colour schemes -------------------------------------------------------------------------

void Form2Test::schemesRecolourEveryTarget_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QStringList>("pressed");  // the scheme buttons, in order
    QTest::addColumn<bool>("yellow");          // which scheme is on at the end
    for (const QString& palette : {QStringLiteral("light"), QStringLiteral("dark")}) {
        const auto row = [&palette](const char* what) -> QTestData& {
            return QTest::addRow("%s, %s", qPrintable(palette), what) << palette;
        };
        row("Žlutá") << QStringList{kZluta} << true;
        row("Klasika") << QStringList{kKlasika} << false;
        row("Žlutá, Klasika") << QStringList{kZluta, kKlasika} << false;
        row("Klasika, Žlutá") << QStringList{kKlasika, kZluta} << true;
    }
}

void Form2Test::schemesRecolourEveryTarget() {
    QFETCH(QString, palette);
    QFETCH(QStringList, pressed);
    QFETCH(bool, yellow);
    widgettesting::ApplicationPalette applicationPalette(widgettesting::paletteNamed(palette));
    Form2& form2 = openBoth();
    QWidget& main = *form1_->centralWidget();
    const QPalette system = QApplication::palette();
    const auto systemColour = [&system](QPalette::ColorRole role) {
        return name(system.color(role));
    };

    settle(form2);
    const char* const standardButtons[] = {"Command1", "Command2", "Command3"};
    QList<QImage> mainButtonsBefore;
    for (const char* button : standardButtons) {
        mainButtonsBefore.append(widgettesting::rendered(control(main, button)));
    }
    const QImage klasikaBefore = widgettesting::rendered(control(form2, kKlasika));
    const QImage odejitBefore = widgettesting::rendered(control(form2, kOdejit));
    const QString labelBefore = pixel(control(form2, "Label1"), {1, 1});

    for (const QString& button : pressed) {
        click(control<QPushButton>(form2, qPrintable(button)));
    }
    settle(form2);

    const QString face = yellow ? kYellow : systemColour(QPalette::Button);
    // Standard buttons keep the colour they are given without showing it.
    const forms::ColourCode kept = yellow ? forms::colour::lightYellow : forms::colour::buttonFace;
    // Steps 1 to 7: the main window.
    QCOMPARE(pixel(main, {2, 2}), face);
    for (qsizetype i = 0; i < 3; ++i) {
        auto& button = control<forms::CommandButton>(main, standardButtons[i]);
        QCOMPARE(button.background(), kept);
        QVERIFY2(widgettesting::rendered(button) == mainButtonsBefore[i], standardButtons[i]);
    }
    QWidget& entry = control(main, "Text1");
    QCOMPARE(pixel(entry, {4, 9}), yellow ? kYellow : systemColour(QPalette::Base));
    if (yellow) {  // flat: one line in the text colour, black on yellow
        QCOMPARE(pixel(entry, {0, 0}), QStringLiteral("#000000"));
        QCOMPARE(pixel(entry, {1, 1}), kYellow);
    } else {  // sunken 3-D
        QCOMPARE(pixel(entry, {0, 0}), systemColour(QPalette::Dark));
        QCOMPARE(pixel(entry, {1, 1}), systemColour(QPalette::Shadow));
    }
    QCOMPARE(pixel(control(main, "Label1"), {1, 1}), face);
    // Steps 8 to 11: this window; its label is no step and keeps its own background.
    QCOMPARE(pixel(form2, {2, 2}), face);
    QCOMPARE(pixel(control(form2, kZluta), {3, 3}), face);
    for (const char* button : {kZluta, kKlasika, kOdejit}) {
        QCOMPARE(control<forms::CommandButton>(form2, button).background(), kept);
    }
    QVERIFY(widgettesting::rendered(control(form2, kKlasika)) == klasikaBefore);
    QVERIFY(widgettesting::rendered(control(form2, kOdejit)) == odejitBefore);
    QCOMPARE(pixel(control(form2, "Label1"), {1, 1}), labelBefore);
    QCOMPARE(labelBefore, systemColour(QPalette::Button));
}

void Form2Test::entryStaysReadableUnderEitherScheme_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("pressed");
    for (const QString& palette : {QStringLiteral("light"), QStringLiteral("dark")}) {
        QTest::addRow("%s, start", qPrintable(palette)) << palette << QString();
        QTest::addRow("%s, Žlutá", qPrintable(palette)) << palette << QString(kZluta);
        QTest::addRow("%s, Klasika", qPrintable(palette)) << palette << QString(kKlasika);
    }
}

void Form2Test::entryStaysReadableUnderEitherScheme() {
    QFETCH(QString, palette);
    QFETCH(QString, pressed);
    widgettesting::ApplicationPalette applicationPalette(widgettesting::paletteNamed(palette));
    Form2& form2 = openBoth();
    if (!pressed.isEmpty()) {
        click(control<QPushButton>(form2, qPrintable(pressed)));
    }
    QWidget& entry = control(*form1_->centralWidget(), "Text1");
    const QColor text = entry.palette().color(QPalette::Text);
    const QColor background = widgettesting::rendered(entry).pixelColor(4, 9);
    QVERIFY2(widgettesting::brightnessContrast(text, background) >= 125,
             qPrintable(name(text) + " on " + name(background)));
}

void Form2Test::zlutaTwiceChangesNothingMore() {
    Form2& form2 = openBoth();
    click(control<QPushButton>(form2, kZluta));
    settle(form2);
    const QImage mainOnce = widgettesting::rendered(*form1_);
    const QImage form2Once = widgettesting::rendered(form2);
    click(control<QPushButton>(form2, kZluta));
    settle(form2);
    QVERIFY(widgettesting::rendered(*form1_) == mainOnce);
    QVERIFY(widgettesting::rendered(form2) == form2Once);
}

void Form2Test::schemesLeaveTheCalculatorAlone() {
    Form2& form2 = openBoth();
    auto& entry = control<forms::TextBox>(*form1_, "Text1");
    auto& label = control<QLabel>(*form1_, "Label1");
    for (const char* number : {"2", "3"}) {
        typeEntry(entry, QString::fromLatin1(number));
        click(control<QPushButton>(*form1_, "Command1"));
    }
    click(control<QPushButton>(*form1_, "Command2"));
    typeEntry(entry, QStringLiteral("4"));

    click(control<QPushButton>(form2, kZluta));
    click(control<QPushButton>(form2, kKlasika));
    click(control<QPushButton>(form2, kZluta));

    QCOMPARE(label.text(), QStringLiteral("Průměr zadaných čísel je 2,5."));
    QCOMPARE(entry.text(), QStringLiteral("4"));
    control<QAction>(*form1_, "submnuPocet").trigger();
    QCOMPARE(label.text(), QStringLiteral("Počet zadaných čísel je 2."));
}

// A desktop theme switched while the program runs: both windows then look exactly as when the
// program starts under the new theme, whichever scheme the user had chosen.
void Form2Test::aPaletteChangeRecoloursAsAFreshStart_data() {
    QTest::addColumn<QString>("pressed");
    QTest::newRow("no scheme") << QString();
    QTest::newRow("Žlutá") << QString(kZluta);
    QTest::newRow("Klasika") << QString(kKlasika);
}

void Form2Test::aPaletteChangeRecoloursAsAFreshStart() {
    QFETCH(QString, pressed);
    const auto start = [this, &pressed]() -> Form2& {
        Form2& form2 = openBoth();
        if (!pressed.isEmpty()) {
            click(control<QPushButton>(form2, qPrintable(pressed)));
        }
        settle(form2);
        return form2;
    };
    Form2& switched = start();
    const QImage beforeMain = widgettesting::rendered(*form1_);
    widgettesting::ApplicationPalette dark(widgettesting::darkPalette());
    settle(switched);
    const QImage switchedMain = widgettesting::rendered(*form1_);
    const QImage switchedSchemes = widgettesting::rendered(switched);

    form1_.reset();
    Form2& fresh = start();
    QVERIFY(widgettesting::rendered(*form1_) != beforeMain);  // the theme did change the look
    QVERIFY(widgettesting::rendered(*form1_) == switchedMain);
    QVERIFY(widgettesting::rendered(fresh) == switchedSchemes);
}

// ---- Bringing it up and leaving it ----------------------------------------------------------

void Form2Test::skinyKeepsASingleWindow() {
    Form2& first = openBoth();
    for (int i = 0; i < 3; ++i) {
        control<QAction>(*form1_, "submnuSkiny").trigger();
    }
    const QList<Form2*> windows = widgettesting::colourSchemeWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.first(), &first);
    QVERIFY(first.isVisible());
}

void Form2Test::skinyShowsTheWindowAgainWhenHidden() {
    Form2& form2 = openBoth();
    QPointer<Form2> first(&form2);
    form2.hide();
    QVERIFY(widgettesting::activate(*form1_));
    control<QAction>(*form1_, "submnuSkiny").trigger();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(first.data()));
    QCOMPARE(widgettesting::colourSchemeWindows().size(), 1);
}

void Form2Test::leavingAndClosingDestroyTheWindow_data() {
    QTest::addColumn<bool>("byOdejit");
    QTest::newRow("Odejít") << true;
    QTest::newRow("close box") << false;
}

void Form2Test::leavingAndClosingDestroyTheWindow() {
    QFETCH(bool, byOdejit);
    Form2& form2 = openBoth();
    QPointer<Form2> window(&form2);
    if (byOdejit) {
        click(control<QPushButton>(form2, kOdejit));
    } else {
        QVERIFY(form2.close());
    }
    QCOMPARE(widgettesting::colourSchemeWindows().size(), 0);
    QVERIFY(window.isNull());
    QVERIFY(form1_->isVisible());
}

void Form2Test::leavingKeepsTheMainWindowYellowAndReopensFresh() {
    Form2& first = openBoth();
    QPointer<Form2> firstWindow(&first);
    click(control<QPushButton>(first, kZluta));
    click(control<QPushButton>(first, kOdejit));
    QVERIFY(widgettesting::activate(*form1_));
    Form2& second = bringUpColourSchemes();

    QVERIFY(firstWindow.isNull());
    QWidget& main = *form1_->centralWidget();
    QCOMPARE(pixel(main, {2, 2}), kYellow);
    QCOMPARE(pixel(control(main, "Label1"), {1, 1}), kYellow);
    QCOMPARE(pixel(control(main, "Text1"), {4, 9}), kYellow);
    const QString grey = name(QApplication::palette().color(QPalette::Button));
    QCOMPARE(pixel(second, {2, 2}), grey);
    QCOMPARE(pixel(control(second, kZluta), {3, 3}), kYellow);
    QCOMPARE(QApplication::focusWidget(), &control(second, kZluta));
}

// Qt caches what it draws of an icon under the icon's key: a new icon for every window would
// leave one more cached copy each time the window is brought up.
void Form2Test::reopenedWindowsShareOneIcon() {
    Form2& first = openBoth();
    const qint64 icon = first.windowIcon().cacheKey();
    click(control<QPushButton>(first, kOdejit));
    QVERIFY(widgettesting::colourSchemeWindows().isEmpty());
    QCOMPARE(bringUpColourSchemes().windowIcon().cacheKey(), icon);
}

void Form2Test::bothWindowsStayUsable() {
    Form2& form2 = openBoth();
    QVERIFY(!form2.isModal());
    QVERIFY(widgettesting::activate(*form1_));
    typeEntry(control<forms::TextBox>(*form1_, "Text1"), QStringLiteral("6"));
    click(control<QPushButton>(*form1_, "Command1"));
    click(control<QPushButton>(*form1_, "Command2"));
    QCOMPARE(control<QLabel>(*form1_, "Label1").text(),
             QStringLiteral("Průměr zadaných čísel je 6."));
    QVERIFY(form2.isVisible());
    QVERIFY(widgettesting::activate(form2));
    click(control<QPushButton>(form2, kZluta));
    QCOMPARE(pixel(*form1_->centralWidget(), {2, 2}), kYellow);
}

void Form2Test::destroyingTheMainWindowDestroysItsColourSchemeWindow() {
    QPointer<Form2> form2(&openBoth());
    form1_.reset();
    QVERIFY(form2.isNull());
}

// ---- The program's end ----------------------------------------------------------------------

void Form2Test::programRunsUntilTheLastWindowCloses_data() {
    QTest::addColumn<QString>("order");
    QTest::newRow("main window, then Form2") << QStringLiteral("main first");
    QTest::newRow("Konec, then Form2") << QStringLiteral("konec first");
    QTest::newRow("Form2, then main window") << QStringLiteral("form2 first");
}

void Form2Test::programRunsUntilTheLastWindowCloses() {
    QFETCH(QString, order);
    QPointer<Form2> form2(&openBoth());
    bool form2OpenAfterMainClosed = false;
    bool mainOpenAfterForm2Closed = false;
    const auto closeMain = [&] {
        if (order == QLatin1String("konec first")) {
            boxes_->expect(ModalBoxes::Close::OkButton);
            control<QAction>(*form1_, "submnuEnd").trigger();
        } else {
            form1_->close();
        }
    };

    QList<std::function<void()>> steps;
    if (order == QLatin1String("form2 first")) {
        steps = {[&] { click(control<QPushButton>(*form2, kOdejit)); },
                 [&] { mainOpenAfterForm2Closed = form1_->isVisible(); }, [&] { form1_->close(); }};
    } else {
        steps = {closeMain, [&] { form2OpenAfterMainClosed = form2 && form2->isVisible(); },
                 [&] { click(control<QPushButton>(*form2, kOdejit)); }};
    }
    const widgettesting::LoopRun run = widgettesting::runInEventLoop(steps);

    QCOMPARE(run.stepsRun, steps.size());  // it did not end before the last window closed
    QCOMPARE(run.exitCode, 0);             // and it ended once it had
    QCOMPARE(form2OpenAfterMainClosed || mainOpenAfterForm2Closed, true);
}

void Form2Test::schemesAfterTheMainWindowClosedNeitherShowItNorKeepTheProgramRunning() {
    QPointer<Form2> form2(&openBoth());
    bool mainStayedHidden = false;
    QString hiddenMainColour;
    const QList<std::function<void()>> steps = {
        [&] { form1_->close(); },
        [&] { click(control<QPushButton>(*form2, kZluta)); },
        [&] {
            mainStayedHidden = !form1_->isVisible();
            hiddenMainColour = pixel(*form1_->centralWidget(), {2, 2});
        },
        [&] { click(control<QPushButton>(*form2, kKlasika)); },
        [&] { mainStayedHidden = mainStayedHidden && !form1_->isVisible(); },
        [&] { form2->close(); },
    };
    const widgettesting::LoopRun run = widgettesting::runInEventLoop(steps);

    QCOMPARE(run.stepsRun, steps.size());
    QCOMPARE(run.exitCode, 0);
    QVERIFY(mainStayedHidden);
    QCOMPARE(hiddenMainColour, kYellow);  // recoloured unseen
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
