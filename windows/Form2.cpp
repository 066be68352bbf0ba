#include "windows/Form2.h"

#include <QCoreApplication>
#include <QIcon>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

using forms::Appearance;
using forms::PropertyValue;
using forms::TwipsRect;
namespace colour = forms::colour;

constexpr char kTitle[] = "Vlastnosti";
constexpr char kIcon[] = ":/icons/pencil.png";

// The window a scheme step acts on: the main window or this one.
enum class Window { Form1, Form2 };

// One assignment of a scheme: a property of a control (nullptr: of the window's client area
// itself), with the value for each scheme in the order of Form2::Scheme. The value's type names
// the property.
struct SchemeStep {
    Window window;
    const char* control;
    std::array<PropertyValue, 2> values;
};

constexpr bool setsOneProperty(const SchemeStep& step) {
    return step.values[0].index() == step.values[1].index();
}

// One icon for every Form2 the program brings up. Qt keeps each picture it draws of an icon in
// its pixmap cache under that icon's own key, so a fresh icon for each window would leave
// another copy behind every time the window is brought up again. The icon is let go when the
// application ends, before Qt's own caches are.
const QIcon& sharedIcon() {
    static QIcon icon = [] {
        qAddPostRoutine([] { icon = QIcon(); });
        return QIcon(QString::fromLatin1(kIcon));
    }();
    return icon;
}

}  // namespace

// ---- What the window shows --------------------------------------------------------------------

struct Form2::Design {
    // The client area's screen position and size; the controls' places within it.
    static constexpr TwipsRect clientArea{3990, 3285, 3645, 1650};
    static constexpr forms::LabelDesign label1{.name = "Label1",
                                               .text = "Změna barvy formuláře",
                                               .place = {120, 120, 3375, 255},
                                               .font = forms::FontDesign{9.75, true}};

    // Command1 to Command3, in tab order after Label1; they keep the window's font, the
    // platform's default.
    static constexpr forms::ButtonRow<Form2> buttons[] = {
        {{.name = "Command1",
          .caption = "Žlutá",
          .place = {240, 600, 1455, 495},
          .style = forms::ButtonStyle::Graphical,
          .background = colour::lightYellow},
         &Form2::onCommand1Click},
        {{.name = "Command2", .caption = "Klasika", .place = {1920, 600, 1455, 495}},
         &Form2::onCommand2Click},
        {{.name = "Command3", .caption = "Odejít", .place = {1080, 1200, 1455, 375}},
         &Form2::onCommand3Click},
    };

    // Both schemes, applied top to bottom.
    // clang-format off
    static constexpr SchemeStep schemeSteps[] = {
        //                                 "Žlutá"              "Klasika"
        {Window::Form1, nullptr,    {colour::lightYellow, colour::buttonFace}},
        {Window::Form1, "Command1", {colour::lightYellow, colour::buttonFace}},
        {Window::Form1, "Command2", {colour::lightYellow, colour::buttonFace}},
        {Window::Form1, "Command3", {colour::lightYellow, colour::buttonFace}},
        {Window::Form1, "Text1",    {colour::lightYellow, colour::titleBarText}},
        {Window::Form1, "Text1",    {Appearance::Flat,    Appearance::Sunken3D}},
        {Window::Form1, "Label1",   {colour::lightYellow, colour::buttonFace}},
        {Window::Form2, nullptr,    {colour::lightYellow, colour::buttonFace}},
        {Window::Form2, "Command1", {colour::lightYellow, colour::buttonFace}},
        {Window::Form2, "Command2", {colour::lightYellow, colour::buttonFace}},
        {Window::Form2, "Command3", {colour::lightYellow, colour::buttonFace}},
    };
    // clang-format on
    static_assert(std::all_of(std::begin(schemeSteps), std::end(schemeSteps), setsOneProperty));
};

Form2::Form2(forms::FormSurface& mainClientArea) {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(sharedIcon());
    forms::applyProperty(*this, colour::buttonFace);
    forms::place(*this, Design::clientArea);
    forms::createLabel(Design::label1, *this);
    forms::createButtons<Form2>(Design::buttons, *this, *this)->setFocus();
    resolveSchemeTargets(mainClientArea);
    forms::createNativeWindow(*this);
}

// Each step's control is looked up once, here; a missing one throws.
void Form2::resolveSchemeTargets(forms::FormSurface& mainClientArea) {
    for (const SchemeStep& step : Design::schemeSteps) {
        QWidget& form =
            step.window == Window::Form1 ? static_cast<QWidget&>(mainClientArea) : *this;
        QWidget& target = step.control ? forms::control(form, step.control) : form;
        steps_.push_back({&target, step.values.data()});
    }
}

// After the main window has been closed it still exists, hidden, until the program ends; the
// schemes then recolour it unseen, which neither shows it nor keeps the program running.
void Form2::applyScheme(Scheme scheme) {
    const auto column = static_cast<std::size_t>(scheme);
    for (const Step& step : steps_) {
        forms::applyProperty(*step.target, step.values[column]);
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
