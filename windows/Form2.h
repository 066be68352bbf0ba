#pragma once

#include <array>

#include "windows/forms/commandbutton.h"
#include "windows/forms/formsurface.h"
#include "windows/forms/label.h"
#include "windows/forms/textbox.h"

// The main window's controls that the colour schemes recolour, as the main window hands them
// over to the colour-scheme window.
struct MainWindowControls {
    forms::FormSurface& clientArea;
    std::array<forms::CommandButton*, 3> commands;  // Command1 to Command3
    forms::TextBox& text1;
    forms::Label& label1;
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
    struct Design;        // what the window shows, its handlers and the two schemes
    struct ColourScheme;  // what one scheme gives both windows

    void buildWidgets();
    void applyScheme(const ColourScheme& scheme);

    // One handler per control event.
    void onCommand1Click();
    void onCommand2Click();
    void onCommand3Click();

    MainWindowControls main_;
    std::array<forms::CommandButton*, 3> commands_{};  // this window's Command1 to Command3
};
