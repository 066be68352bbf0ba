#pragma once

#include <functional>

#include "windows/forms/commandbutton.h"
#include "windows/forms/formsurface.h"
#include "windows/forms/label.h"
#include "windows/forms/textbox.h"

// The main window's controls that the colour schemes recolour, as the main window hands them
// over to the colour-scheme window.
struct MainWindowControls {
    std::reference_wrapper<forms::FormSurface> clientArea;
    std::reference_wrapper<forms::CommandButton> command1;
    std::reference_wrapper<forms::CommandButton> command2;
    std::reference_wrapper<forms::CommandButton> command3;
    std::reference_wrapper<forms::TextBox> text1;
    std::reference_wrapper<forms::Label> label1;
};

// The colour-scheme window: "Žlutá" and "Klasika" recolour both windows, "Odejít" closes it.
// It is a top-level window of its own, destroyed when it closes; the main window that brought
// it up outlives it.
class Form2 : public forms::FormSurface {
    Q_OBJECT
public:
    // main: the main window's controls, which the schemes recolour along with this window's.
    explicit Form2(const MainWindowControls& main);

private:
    struct Design;  // what the window shows, its handlers and the scheme table
    enum class Scheme { Yellow, Classic };  // the columns of the scheme table

    // This window's own controls that the schemes recolour.
    struct OwnControls {
        std::reference_wrapper<forms::FormSurface> clientArea;
        std::reference_wrapper<forms::CommandButton> command1;
        std::reference_wrapper<forms::CommandButton> command2;
        std::reference_wrapper<forms::CommandButton> command3;
    };

    OwnControls buildWidgets();
    void applyScheme(Scheme scheme);

    // One handler per control event.
    void onCommand1Click();
    void onCommand2Click();
    void onCommand3Click();

    MainWindowControls main_;
    OwnControls own_;
};
