// Creating a form's buttons and labels from their designs.

#include "windows/forms/design.h"

namespace forms {

CommandButton* createButton(const ButtonDesign& design, QWidget& parent) {
    auto* button = new CommandButton(QString::fromUtf8(design.caption), &parent);
    button->setObjectName(QString::fromLatin1(design.name));
    place(*button, design.place);
    if (design.font) {
        button->setFont(arial(*design.font));
    }
    button->setButtonStyle(design.style);
    button->setBackground(design.background);
    return button;
}

Label* createLabel(const LabelDesign& design, QWidget& parent) {
    auto* label = new Label(QString::fromUtf8(design.text), &parent);
    label->setObjectName(QString::fromLatin1(design.name));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(design.wordWrap);
    if (design.font) {
        label->setFont(arial(*design.font));
    }
    place(*label, design.place);
    if (design.room) {
        label->setRoom(design.room->pixels);
    }
    return label;
}

}  // namespace forms
