#include "windows/Form1.h"

#include <QIcon>
#include <QMenuBar>

#include "windows/Form2.h"
#include "windows/forms/design.h"
#include "windows/forms/wrappingmenubar.h"

namespace {

using forms::TwipsRect;

constexpr char kTitle[] = "Kalvet 1.2";
constexpr char kIcon[] = ":/icons/kalvet.png";
constexpr char kEndBoxTitle[] = "Konec";
constexpr char kEndBoxText[] = "Program Kalvet 1.2 bude ukončen.";
constexpr char kOverflowBoxTitle[] = "Kalvet 1.2";
constexpr char kOverflowBoxText[] = "Přetečení! Číslo nebylo přičteno.";

constexpr forms::FontDesign kWindowFont{9};  // the window and its label

}  // namespace

// ---- What the window shows: every text, place and handler in one place ---------------------

struct Form1::Design {
    using MenuItem = forms::MenuItemRow<Form1>;

    // The client area's screen position and size; the controls' places within it.
    static constexpr TwipsRect clientArea{4050, 3090, 3525, 1290};
    static constexpr forms::TextBoxDesign text1{.name = "Text1",
                                                .accessibleName = "Zadané číslo",
                                                .place = {120, 120, 3255, 285},
                                                .font = {8.25},
                                                .alignment = Qt::AlignRight | Qt::AlignVCenter,
                                                .background = forms::colour::windowBackground,
                                                .appearance = forms::Appearance::Flat};
    // The window's message label. A message that does not fit one line at the window's font
    // may take the free band below the label down to the buttons' top edge; its left, top
    // and width stay.
    static constexpr forms::LabelDesign label1{.name = "Label1",
                                               .text = "",
                                               .place = {120, 480, 3255, 255},
                                               .wordWrap = true,
                                               .room = TwipsRect{120, 480, 3255, 360},
                                               .kind = forms::LabelKind::Message};

    // Command1 to Command3, in tab order after Text1.
    static constexpr forms::FontDesign buttonFont{8.25, true};
    static constexpr forms::ButtonRow<Form1> buttons[] = {
        {{.name = "Command1",
          .caption = "Přičti",
          .place = {120, 840, 1095, 375},
          .font = buttonFont},
         &Form1::onCommand1Click},
        {{.name = "Command2",
          .caption = "Průměr",
          .place = {1200, 840, 1095, 375},
          .font = buttonFont},
         &Form1::onCommand2Click},
        {{.name = "Command3",
          .caption = "Reset",
          .place = {2280, 840, 1095, 375},
          .font = buttonFont},
         &Form1::onCommand3Click},
    };

    static constexpr MenuItem aplikaceItems[] = {
        {"submnuEnd", "Konec", &Form1::onSubmnuEndClick, Qt::CTRL | Qt::Key_K},
    };
    static constexpr MenuItem zobrazitItems[] = {
        {"submnuPocet", "Počet zadaných čísel", &Form1::onSubmnuPocetClick},
        {"submnuPosledni", "Poslední zadané číslo", &Form1::onSubmnuPosledniClick},
        {"submnuMezikalvet", "Meziprůměr", &Form1::onSubmnuMezikalvetClick},
    };
    static constexpr MenuItem optionsItems[] = {
        {"submnuSkiny", "Skiny", &Form1::onSubmnuSkinyClick},
    };
    static constexpr forms::MenuRow<Form1> menus[] = {
        {"mnuAplikace", "Aplikace", aplikaceItems},
        {"mnuZobrazit", "Zobrazit", zobrazitItems},
        {"mnuOptions", "Vlastnosti", optionsItems},
    };
};

Form1::Form1(const QString& decimalSeparator, QWidget* parent)
    : QMainWindow(parent), state_(decimalSeparator.toStdString()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(QIcon(QString::fromLatin1(kIcon)));
    buildWidgets();
    buildMenu();
    placeWindow();
}

Form1::~Form1() {
    delete form2_;
}

void Form1::buildWidgets() {
    // The window's font and background belong to the client area, so the menu bar keeps the
    // system's.
    clientArea_ = new forms::FormSurface(this);
    clientArea_->setFont(forms::arial(kWindowFont));
    clientArea_->setBackground(forms::colour::buttonFace);
    setCentralWidget(clientArea_);

    // No accessible name: a screen reader then reads the label's text.
    label1_ = forms::createLabel(Design::label1, *clientArea_);
    text1_ = forms::createTextBox(Design::text1, *clientArea_);

    commands_ = forms::createButtons<Form1>(Design::buttons, *this, *clientArea_);
    text1_->setFocus();
}

void Form1::buildMenu() {
    setMenuBar(new forms::WrappingMenuBar(*this));
    forms::createMenus<Form1>(Design::menus, *menuBar(), *this);
}

// Puts the client area, not the window's outer edge, at its stored screen position: the menu
// bar sits above it.
void Form1::placeWindow() {
    const QRect client = Design::clientArea.pixels;
    const int menuHeight = menuBar()->heightForWidth(client.width());
    const int barHeight = menuHeight > 0 ? menuHeight : menuBar()->sizeHint().height();
    setGeometry(client.adjusted(0, -barHeight, 0, 0));
}

template <typename Command>
void Form1::run(Command command) {
    try {
        apply(command());
    } catch (const calculator::OverflowError&) {
        // The calculator has left its numbers as they were; so do the entry box and the label.
        showBox(QMessageBox::Warning, QString::fromUtf8(kOverflowBoxTitle),
                QString::fromUtf8(kOverflowBoxText));
    }
}

// ---- Handlers -----------------------------------------------------------------------------

void Form1::onCommand1Click() {
    run([this] { return state_.addNumber(text1_->text().toStdString()); });
}

void Form1::onCommand2Click() {
    run([this] { return state_.showAverage(); });
}

void Form1::onCommand3Click() {
    run([this] { return state_.resetAll(); });
}

void Form1::onSubmnuPocetClick() {
    run([this] { return state_.showCount(); });
}

void Form1::onSubmnuPosledniClick() {
    run([this] { return state_.showLast(); });
}

void Form1::onSubmnuMezikalvetClick() {
    run([this] { return state_.showIntermediateAverage(); });
}

void Form1::onSubmnuEndClick() {
    showBox(QMessageBox::NoIcon, QString::fromUtf8(kEndBoxTitle), QString::fromUtf8(kEndBoxText));
    close();
}

void Form1::onSubmnuSkinyClick() {
    if (!form2_) {
        form2_ = new Form2({*clientArea_, commands_, *text1_, *label1_});
        form2_->show();
        return;
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

// ---- Applying results ---------------------------------------------------------------------

void Form1::apply(const calculator::CommandResult& result) {
    if (result.clearEntry) {
        text1_->clearEntry();
    }
    label1_->setCaption(QString::fromStdString(result.labelText));
}

void Form1::showBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
