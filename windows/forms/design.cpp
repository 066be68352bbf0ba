// Creating a form's buttons and labels from their designs.

#include "windows/forms/design.h"

#include <stdexcept>
#include <string>

#include "windows/forms/properties.h"

namespace forms {

CommandButton* createButton(const ButtonDesign& design, QWidget& parent) {
    auto* button = new CommandButton(QString::fromUtf8(design.caption), &parent);
    button->setObjectName(QString::fromLatin1(design.name));
    place(*button, design.place);
    if (design.font) {
        button->setFont(arial(*design.font));
    }
    button->setButtonStyle(design.style);
    applyProperty(*button, design.background);
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
    applyProperty(*label, colour::buttonFace);
    return label;
}

QWidget& control(QWidget& form, const char* name) {
    auto* found = form.findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (found == nullptr) {
        throw std::logic_error(std::string("the form has no control named ") + name);
    }
    return *found;
}

}  // namespace forms
