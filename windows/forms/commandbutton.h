#pragma once

// CommandButton: the forms' button, in the standard style or the graphical one that shows
// its background colour.

#include <QPushButton>
#include <QString>

#include "windows/forms/colours.h"

namespace forms {

enum class ButtonStyle {
    Standard = 0,   // drawn in the system's button look; its background is kept but not shown
    Graphical = 1,  // its face shows its background colour
};

// A caption shown literally, for a button or a menu: Qt would read "&" as an access-key mark.
QString literalCaption(const QString& caption);

// The forms' command button: standard style is Qt's button; graphical style fills the face
// with the button's background colour inside a classic raised edge. A standard button keeps
// its background colour unseen and shows it once it turns graphical.
class CommandButton : public Coloured<QPushButton> {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

    ButtonStyle buttonStyle() const { return style_; }
    void setButtonStyle(ButtonStyle style);

protected:
    bool showsColour() const override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintGraphical();

    ButtonStyle style_ = ButtonStyle::Standard;
};

}  // namespace forms
