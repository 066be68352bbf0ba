#pragma once

// TextBox: the forms' entry box, Qt's line edit with a form's border and colour code.

#include <QLineEdit>

#include "windows/forms/appearance.h"
#include "windows/forms/colours.h"

namespace forms {

// The forms' text box: Qt's line edit, with no length limit, drawn with a flat or a sunken 3-D
// border and filled with a colour code. Editing, undo, the clipboards, the mouse, input
// methods and what a screen reader reads of it are the line edit's own.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    // Empties the box for a new entry, with an undo history started afresh, so that the
    // memory a huge entry took goes back to the system.
    void clearEntry();

    // The background colour code, resolved against the application palette now and whenever
    // that palette changes.
    void setBackground(ColourCode code);
    ColourCode background() const { return background_.code(); }
    void setAppearance(Appearance appearance);
    Appearance appearance() const { return appearance_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ControlColour background_{colour::windowBackground, kTextBoxRoles};
    Appearance appearance_ = Appearance::Sunken3D;
};

}  // namespace forms
