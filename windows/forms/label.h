#pragma once

// Label: a form's message or title label, on a background colour of its own.

#include <QLabel>
#include <QString>

#include "windows/forms/colours.h"

namespace forms {

// A form's label. It fills its rectangle with its background colour (a plain label is
// transparent) and shows that colour again whenever the palette changes.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& text, QWidget* parent = nullptr);

    ColourCode background() const { return background_.code(); }
    void setBackground(ColourCode code);

protected:
    bool event(QEvent* event) override;

private:
    ControlColour background_{colour::buttonFace, kLabelRoles};
};

}  // namespace forms
