#include "windows/Form2.h"

#include <QCoreApplication>
#include <QIcon>

#include "windows/forms/design.h"

namespace {

using forms::Appearance;
using forms::ColourCode;
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

// A colour scheme: the colour of the windows' faces (client areas, buttons, the message label),
// and the entry box's colour and border.
struct Form2::ColourScheme {
    ColourCode face;
    ColourCode entry;
    Appearance entryBorder;
};

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

    static constexpr ColourScheme yellow{colour::lightYellow, colour::lightYellow,
                                         Appearance::Flat};
    static constexpr ColourScheme classic{colour::buttonFace, colour::titleBarText,
                                          Appearance::Sunken3D};
};

Form2::Form2(const MainWindowControls& main) : main_(main) {
    buildWidgets();
}

void Form2::buildWidgets() {
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kTitle));
    setWindowIcon(sharedIcon());
    setBackground(colour::buttonFace);
    forms::place(*this, Design::clientArea);
    forms::createLabel(Design::label1, *this);
    commands_ = forms::createButtons<Form2>(Design::buttons, *this, *this);
    commands_[0]->setFocus();
}

// The main window first, then this one. After the main window has been closed it still exists,
// hidden, until the program ends; a scheme then recolours it unseen, which neither shows it
// nor keeps the program running.
void Form2::applyScheme(const ColourScheme& scheme) {
    main_.clientArea.setBackground(scheme.face);
    for (forms::CommandButton* button : main_.commands) {
        button->setBackground(scheme.face);
    }
    main_.text1.setBackground(scheme.entry);
    main_.text1.setAppearance(scheme.entryBorder);
    main_.label1.setBackground(scheme.face);
    setBackground(scheme.face);
    for (forms::CommandButton* button : commands_) {
        button->setBackground(scheme.face);
    }
}

void Form2::onCommand1Click() {
    applyScheme(Design::yellow);
}

void Form2::onCommand2Click() {
    applyScheme(Design::classic);
}

void Form2::onCommand3Click() {
    close();
}
