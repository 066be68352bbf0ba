#pragma once

#include "windows/forms.h"

class Form1;
class QLabel;

// The colour-scheme window: "Žlutá" and "Klasika" recolour both windows, "Odejít" closes it.
// It is a top-level window of its own, destroyed when it closes; the main window that brought
// it up outlives it.
class Form2 : public forms::FormSurface {
    Q_OBJECT
public:
    // The colour schemes, in the order of the columns of the scheme table.
    enum class Scheme { Yellow, Classic };

    explicit Form2(Form1& mainWindow);

private:
    // Walks the scheme table: sets each step's property on its target, in order.
    void applyScheme(Scheme scheme);

    void buildWidgets();
    void connectEvents();

    // One handler per control event.
    void onCommand1Click();
    void onCommand2Click();
    void onCommand3Click();

    Form1& mainWindow_;
    QLabel* label1_ = nullptr;
    forms::CommandButton* command1_ = nullptr;
    forms::CommandButton* command2_ = nullptr;
    forms::CommandButton* command3_ = nullptr;
};
