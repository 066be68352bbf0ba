#pragma once

#include <QWidget>

#include <vector>

#include "windows/forms/formsurface.h"
#include "windows/forms/properties.h"

// The colour-scheme window: "Žlutá" and "Klasika" recolour both windows, "Odejít" closes it.
// It is a top-level window of its own, destroyed when it closes; the main window that brought
// it up outlives it.
class Form2 : public forms::FormSurface {
    Q_OBJECT
public:
    // mainClientArea: the main window's client area, whose controls the schemes recolour
    // along with this window's. Throws std::logic_error if a control a scheme names is missing.
    explicit Form2(forms::FormSurface& mainClientArea);

private:
    struct Design;  // what the window shows, its handlers and the scheme table
    enum class Scheme { Yellow, Classic };  // the columns of the scheme table
    struct Step {
        QWidget* target;
        const forms::PropertyValue* values;  // one per scheme
    };

    void applyScheme(Scheme scheme);
    void resolveSchemeTargets(forms::FormSurface& mainClientArea);

    // One handler per control event.
    void onCommand1Click();
    void onCommand2Click();
    void onCommand3Click();

    std::vector<Step> steps_;
};
