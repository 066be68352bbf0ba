#pragma once

// FormSurface: a window's client area, which paints its own background colour.

#include <QWidget>

#include "windows/forms/colours.h"

namespace forms {

// A window's client area: it paints its own background colour and does not hand it on to the
// controls on it, so standard buttons and the menu bar keep the system look. The colour is
// resolved as it is painted, so a system colour follows the palette.
class FormSurface : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    ColourCode background() const { return background_; }
    void setBackground(ColourCode code);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ColourCode background_ = colour::buttonFace;
};

}  // namespace forms
