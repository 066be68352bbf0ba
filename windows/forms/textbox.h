#pragma once

// TextBox: the forms' entry box, Qt's line edit with a form's border and colour code.

#include <QLineEdit>

#include <cstdint>

#include "windows/forms/colours.h"

namespace forms {

// A text box's border.
enum class Appearance : std::uint32_t {
    Flat = 0,      // a plain one-pixel line in the text colour, which reads on the background
    Sunken3D = 1,  // the two-pixel sunken edge of classic 3-D controls
};

// The forms' text box: Qt's line edit, with no length limit, drawn with a flat or a sunken 3-D
// border and filled with a colour code. Editing, undo, the clipboards, the mouse, input
// methods and what a screen reader reads of it are the line edit's own.
class TextBox : public Coloured<QLineEdit> {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    // Empties the box for a new entry, with an undo history started afresh, so that the
    // memory a huge entry took goes back to the system.
    void clearEntry();

    void setAppearance(Appearance appearance);
    Appearance appearance() const { return appearance_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Appearance appearance_ = Appearance::Sunken3D;
};

}  // namespace forms
