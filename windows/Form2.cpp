#include "windows/Form2.h"

#include <QCoreApplication>
#include <QIcon>

#include <algorithm>
#include <array>
#include <iterator>
#include <variant>

#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"
#include "windows/forms/design.h"
#include "windows/forms/properties.h"
#include "windows/forms/units.h"

namespace {

using forms::Appearance;
using forms::PropertyValue;
using forms::TwipsRect;
namespace colour = forms::colour;

constexpr char kTitle[] = "Vlastnosti";
constexpr char kIcon[] = ":/icons/pencil.png";

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
    // A control a scheme step acts on: a member of the main window's controls or of this
    // window's own, of the control's own type.
    template <typename Controls, typename Control>
    using Member = std::reference_wrapper<Control> Controls::*;
    using Target = std::variant<
        Member<MainWindowControls, forms::FormSurface>,
        Member<MainWindowControls, forms::CommandButton>,
        Member<MainWindowControls, forms::TextBox>, Member<MainWindowControls, forms::Label>,
        Member<OwnControls, forms::FormSurface>, Member<OwnControls, forms::CommandButton>>;

    // The control a member names in the window it belongs to.
    template <typename Control>
    static Control& control(Form2& form, Member<MainWindowControls, Control> member) {
        return (form.main_.*member).get();
    }
    template <typename Control>
    static Control& control(Form2& form, Member<OwnControls, Control> member) {
        return (form.own_.*member).get();
    }

    // One assignment of a scheme: a property of a control, with the value for each scheme in
    // the order of Form2::Scheme. The value's type names the property.
    struct SchemeStep {
        Target target;
        std::array<PropertyValue, 2> values;
    };

    // Both columns set the same property, and only a text box gets an appearance.
    static constexpr bool isWellFormed(const SchemeStep& step) {
        const bool oneProperty = step.values[0].index() == step.values[1].index();
        const bool appearance = std::holds_alternative<Appearance>(step.values[0]);
        return oneProperty &&
               (!appearance ||
                std::holds_alternative<Member<MainWindowControls, forms::TextBox>>(step.target));
    }

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
    using Main = MainWindowControls;
    using Own = OwnControls;
    // clang-format off
    static constexpr SchemeStep schemeSteps[] = {
        //                           "Žlutá"              "Klasika"
        {&Main::clientArea, {colour::lightYellow, colour::buttonFace}},
        {&Main::command1,   {colour::lightYellow, colour::buttonFace}},
        {&Main::command2,   {colour::lightYellow, colour::buttonFace}},
        {&Main::command3,   {colour::lightYellow, colour::buttonFace}},
        {&Main::text1,      {colour::lightYellow, colour::titleBarText}},
        {&Main::text1,      {Appearance::Flat,    Appearance::Sunken3D}},
        {&Main::label1,     {colour::lightYellow, colour::buttonFace}},
        {&Own::clientArea,  {colour::lightYellow, colour::buttonFace}},
        {&Own::command1,    {colour::lightYellow, colour::buttonFace}},
        {&Own::command2,    {colour::lightYellow, colour::buttonFace}},
        {&Own::command3,    {colour::lightYellow, colour::buttonFace}},
    };
    // clang-format on
};

Form2::Form2(const MainWindowControls& main) : main_(main), own_(buildWidgets()) {}

Form2::OwnControls Form2::buildWidgets() {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(sharedIcon());
    setBackground(colour::buttonFace);
    forms::place(*this, Design::clientArea);
    forms::createLabel(Design::label1, *this);
    const auto buttons = forms::createButtons<Form2>(Design::buttons, *this, *this);
    buttons[0]->setFocus();
    return {*this, *buttons[0], *buttons[1], *buttons[2]};
}

// After the main window has been closed it still exists, hidden, until the program ends; the
// schemes then recolour it unseen, which neither shows it nor keeps the program running.
void Form2::applyScheme(Scheme scheme) {
    static_assert(std::all_of(std::begin(Design::schemeSteps), std::end(Design::schemeSteps),
                              Design::isWellFormed));
    const auto column = static_cast<std::size_t>(scheme);
    for (const Design::SchemeStep& step : Design::schemeSteps) {
        const PropertyValue& value = step.values[column];
        std::visit(
            [this, &value](auto member) {
                forms::applyProperty(Design::control(*this, member), value);
            },
            step.target);
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
