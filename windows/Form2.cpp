#include "windows/Form2.h"

#include <QCoreApplication>
#include <QFont>
#include <QIcon>
#include <QLabel>

#include <algorithm>
#include <array>
#include <iterator>

#include "windows/Form1.h"

namespace {

using forms::TwipsRect;

// ---- What the window shows ------------------------------------------------------------------

constexpr char kTitle[] = "Vlastnosti";
constexpr char kIcon[] = ":/icons/pencil.png";
constexpr char kLabelText[] = "Změna barvy formuláře";
constexpr char kLabelFont[] = "Arial";
constexpr double kLabelPointSize = 9.75;  // bold

// The client area's screen position and size; the controls' positions within it.
constexpr TwipsRect kClientArea{3990, 3285, 3645, 1650};
constexpr TwipsRect kLabel1{120, 120, 3375, 255};

// Command1 to Command3, in tab order after Label1.
constexpr forms::ButtonDesign kButtons[] = {
    {"Command1",
     "Žlutá",
     {240, 600, 1455, 495},
     forms::ButtonStyle::Graphical,
     forms::colour::lightYellow},
    {"Command2",
     "Klasika",
     {1920, 600, 1455, 495},
     forms::ButtonStyle::Standard,
     forms::colour::buttonFace},
    {"Command3",
     "Odejít",
     {1080, 1200, 1455, 375},
     forms::ButtonStyle::Standard,
     forms::colour::buttonFace},
};

static_assert(forms::isWholePixels(kClientArea) && forms::isWholePixels(kLabel1));
static_assert(std::all_of(std::begin(kButtons), std::end(kButtons),
                          [](const forms::ButtonDesign& b) {
                              return forms::isWholePixels(b.place);
                          }));

// ---- The colour schemes ---------------------------------------------------------------------

// The window a step acts on: the main window or this one.
enum class Window { Form1, Form2 };

// One assignment of a scheme: a property of a control (nullptr: of the window's client area
// itself), with the value for each scheme in the order of Form2::Scheme.
struct SchemeStep {
    Window window;
    const char* control;
    forms::Property property;
    std::array<std::uint32_t, 2> value;
};

using forms::Property;
namespace colour = forms::colour;
constexpr auto kFlat = static_cast<std::uint32_t>(forms::Appearance::Flat);
constexpr auto kSunken3D = static_cast<std::uint32_t>(forms::Appearance::Sunken3D);

// Both schemes, applied top to bottom.
// clang-format off
constexpr SchemeStep kSchemeSteps[] = {
    //                                                "Žlutá"              "Klasika"
    {Window::Form1, nullptr,    Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form1, "Command1", Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form1, "Command2", Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form1, "Command3", Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form1, "Text1",    Property::Background, {colour::lightYellow, colour::titleBarText}},
    {Window::Form1, "Text1",    Property::Appearance, {kFlat,               kSunken3D}},
    {Window::Form1, "Label1",   Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form2, nullptr,    Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form2, "Command1", Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form2, "Command2", Property::Background, {colour::lightYellow, colour::buttonFace}},
    {Window::Form2, "Command3", Property::Background, {colour::lightYellow, colour::buttonFace}},
};
// clang-format on

QWidget* targetOf(const SchemeStep& step, Form1& mainWindow, QWidget& colourSchemeWindow) {
    QWidget* form = step.window == Window::Form1 ? static_cast<QWidget*>(mainWindow.clientArea())
                                                 : &colourSchemeWindow;
    if (step.control == nullptr) {
        return form;
    }
    return form->findChild<QWidget*>(QString::fromLatin1(step.control), Qt::FindDirectChildrenOnly);
}

// One icon for every colour-scheme window the program brings up. Qt keeps the pixmaps it
// draws of an icon in its pixmap cache under that icon's own key, so a fresh icon for each
// window would leave another copy behind every time the window is brought up again. The icon
// is let go when the application ends, before Qt's own caches are.
const QIcon& sharedIcon() {
    static QIcon icon = [] {
        qAddPostRoutine([] { icon = QIcon(); });
        return QIcon(QString::fromLatin1(kIcon));
    }();
    return icon;
}

}  // namespace

Form2::Form2(Form1& mainWindow) : mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(sharedIcon());
    forms::applyProperty(*this, Property::Background, colour::buttonFace);
    setGeometry(forms::pixelsFromTwips(kClientArea));
    buildWidgets();
    connectEvents();
}

void Form2::buildWidgets() {
    label1_ = new QLabel(QString::fromUtf8(kLabelText), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label1_->setTextFormat(Qt::PlainText);
    QFont labelFont(QString::fromLatin1(kLabelFont));
    labelFont.setPointSizeF(kLabelPointSize);
    labelFont.setBold(true);
    label1_->setFont(labelFont);
    label1_->setGeometry(forms::pixelsFromTwips(kLabel1));
    forms::applyProperty(*label1_, Property::Background, colour::buttonFace);

    // The buttons keep the window's font, the platform's default.
    forms::CommandButton** buttons[] = {&command1_, &command2_, &command3_};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        *buttons[i] = forms::createButton(kButtons[i], *this);
    }
    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);

    command1_->setFocus();
}

void Form2::connectEvents() {
    connect(command1_, &QPushButton::clicked, this, &Form2::onCommand1Click);
    connect(command2_, &QPushButton::clicked, this, &Form2::onCommand2Click);
    connect(command3_, &QPushButton::clicked, this, &Form2::onCommand3Click);
}

// After the main window has been closed it still exists, hidden, until the program ends; the
// schemes then recolour it unseen, which neither shows it nor keeps the program running.
void Form2::applyScheme(Scheme scheme) {
    const auto column = static_cast<std::size_t>(scheme);
    for (const SchemeStep& step : kSchemeSteps) {
        if (QWidget* target = targetOf(step, mainWindow_, *this)) {
            forms::applyProperty(*target, step.property, step.value[column]);
        }
    }
}

void Form2::onCommand1Click() {
    applyScheme(Scheme::Yellow);
}

void Form2::onCommand2Click() {
    applyScheme(Scheme::Classic);
}

void Form2::onCommand3Click() {
    close();
}
