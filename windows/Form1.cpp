#include "windows/Form1.h"

#include <QAction>
#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <iterator>
#include <limits>
#include <span>

#include "windows/Form2.h"
#include "windows/forms.h"

namespace {

using forms::TwipsRect;

// ---- What the window shows: every text and position in one place ---------------------------

constexpr char kTitle[] = "Kalvet 1.2";
constexpr char kIcon[] = ":/icons/kalvet.png";
constexpr char kEntryAccessibleName[] = "Zadané číslo";
constexpr char kEndBoxTitle[] = "Konec";
constexpr char kEndBoxText[] = "Program Kalvet 1.2 bude ukončen.";
constexpr char kOverflowBoxTitle[] = "Kalvet 1.2";
constexpr char kOverflowBoxText[] = "Přetečení! Číslo nebylo přičteno.";

// The client area's screen position and size; the controls' positions within it.
constexpr TwipsRect kClientArea{4050, 3090, 3525, 1290};
constexpr TwipsRect kText1{120, 120, 3255, 285};
constexpr TwipsRect kLabel1{120, 480, 3255, 255};

// Command1 to Command3, in tab order after Text1.
constexpr forms::ButtonDesign kButtons[] = {
    {"Command1", "Přičti", {120, 840, 1095, 375}},
    {"Command2", "Průměr", {1200, 840, 1095, 375}},
    {"Command3", "Reset", {2280, 840, 1095, 375}},
};

static_assert(forms::isWholePixels(kClientArea) && forms::isWholePixels(kText1) &&
              forms::isWholePixels(kLabel1));
static_assert(std::all_of(std::begin(kButtons), std::end(kButtons),
                          [](const forms::ButtonDesign& b) {
                              return forms::isWholePixels(b.place);
                          }));

constexpr char kWindowFont[] = "Arial";
constexpr double kWindowPointSize = 9;  // the window and its label
constexpr double kEntryPointSize = 8.25;
constexpr double kButtonPointSize = 8.25;  // bold

struct MenuItemDesign {
    const char* name;
    const char* caption;
    QKeyCombination shortcut;
};

struct MenuDesign {
    const char* name;
    const char* caption;
    std::span<const MenuItemDesign> items;
};

constexpr QKeyCombination kNoShortcut{};

constexpr MenuItemDesign kAplikaceItems[] = {
    {"submnuEnd", "Konec", Qt::CTRL | Qt::Key_K},
};
constexpr MenuItemDesign kZobrazitItems[] = {
    {"submnuPocet", "Počet zadaných čísel", kNoShortcut},
    {"submnuPosledni", "Poslední zadané číslo", kNoShortcut},
    {"submnuMezikalvet", "Meziprůměr", kNoShortcut},
};
constexpr MenuItemDesign kOptionsItems[] = {
    {"submnuSkiny", "Skiny", kNoShortcut},
};

constexpr MenuDesign kMenus[] = {
    {"mnuAplikace", "Aplikace", kAplikaceItems},
    {"mnuZobrazit", "Zobrazit", kZobrazitItems},
    {"mnuOptions", "Vlastnosti", kOptionsItems},
};

QFont arial(double pointSize, bool bold = false) {
    QFont font(QString::fromLatin1(kWindowFont));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void place(QWidget& control, TwipsRect twips) {
    control.setGeometry(forms::pixelsFromTwips(twips));
}

}  // namespace

Form1::Form1(const QString& decimalSeparator, QWidget* parent)
    : QMainWindow(parent), state_(decimalSeparator.toStdString()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(QIcon(QString::fromLatin1(kIcon)));
    buildWidgets();
    buildMenu();
    connectEvents();
    placeWindow();
}

Form1::~Form1() {
    delete form2_;
}

void Form1::buildWidgets() {
    // The window's font and background belong to the client area, so the menu bar keeps the
    // system's.
    clientArea_ = new forms::FormSurface(this);
    clientArea_->setFont(arial(kWindowPointSize));
    forms::applyProperty(*clientArea_, forms::Property::Background, forms::colour::buttonFace);
    setCentralWidget(clientArea_);

    label1_ = new QLabel(clientArea_);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label1_->setWordWrap(true);
    label1_->setTextFormat(Qt::PlainText);
    // No accessible name: a screen reader then reads the label's text.
    place(*label1_, kLabel1);
    forms::applyProperty(*label1_, forms::Property::Background, forms::colour::buttonFace);

    text1_ = new forms::TextBox(clientArea_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(arial(kEntryPointSize));
    text1_->setMaxLength(std::numeric_limits<int>::max());
    text1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text1_->setAccessibleName(QString::fromUtf8(kEntryAccessibleName));
    place(*text1_, kText1);
    forms::applyProperty(*text1_, forms::Property::Background, forms::colour::windowBackground);
    forms::applyProperty(*text1_, forms::Property::Appearance,
                         static_cast<std::uint32_t>(forms::Appearance::Flat));

    forms::CommandButton** buttons[] = {&command1_, &command2_, &command3_};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        *buttons[i] = forms::createButton(kButtons[i], *clientArea_);
        (*buttons[i])->setFont(arial(kButtonPointSize, true));
    }
    setTabOrder(text1_, command1_);
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);

    text1_->setFocus();
}

void Form1::buildMenu() {
    setMenuBar(new forms::WrappingMenuBar(*this));
    for (const MenuDesign& design : kMenus) {
        QMenu* menu = menuBar()->addMenu(forms::literalCaption(QString::fromUtf8(design.caption)));
        menu->setObjectName(QString::fromLatin1(design.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(design.name));
        for (const MenuItemDesign& item : design.items) {
            QAction* entry =
                menu->addAction(forms::literalCaption(QString::fromUtf8(item.caption)));
            entry->setObjectName(QString::fromLatin1(item.name));
            if (item.shortcut != kNoShortcut) {
                entry->setShortcut(QKeySequence(item.shortcut));
            }
        }
    }
}

void Form1::connectEvents() {
    connect(command1_, &QPushButton::clicked, this, &Form1::onCommand1Click);
    connect(command2_, &QPushButton::clicked, this, &Form1::onCommand2Click);
    connect(command3_, &QPushButton::clicked, this, &Form1::onCommand3Click);
    connect(action("submnuPocet"), &QAction::triggered, this, &Form1::onSubmnuPocetClick);
    connect(action("submnuPosledni"), &QAction::triggered, this, &Form1::onSubmnuPosledniClick);
    connect(action("submnuMezikalvet"), &QAction::triggered, this, &Form1::onSubmnuMezikalvetClick);
    connect(action("submnuEnd"), &QAction::triggered, this, &Form1::onSubmnuEndClick);
    connect(action("submnuSkiny"), &QAction::triggered, this, &Form1::onSubmnuSkinyClick);
}

// Puts the client area, not the window's outer edge, at its stored screen position: the menu
// bar sits above it.
void Form1::placeWindow() {
    const QRect client = forms::pixelsFromTwips(kClientArea);
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
        form2_ = new Form2(*this);
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
        text1_->clear();
    }
    label1_->setText(QString::fromStdString(result.labelText));
}

void Form1::showBox(QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QAction* Form1::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}
