// Creating a form's controls and menus from their designs.

#include "windows/forms/design.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

namespace forms {

QFont arial(const FontDesign& design) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(design.pointSize);
    font.setBold(design.bold);
    return font;
}

void place(QWidget& widget, const TwipsRect& twips) {
    widget.setGeometry(twips.pixels);
}

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
    auto* label = new Label(QString::fromUtf8(design.text), &parent, design.kind);
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

TextBox* createTextBox(const TextBoxDesign& design, QWidget& parent) {
    auto* box = new TextBox(&parent);
    box->setObjectName(QString::fromLatin1(design.name));
    box->setAccessibleName(QString::fromUtf8(design.accessibleName));
    box->setFont(arial(design.font));
    box->setAlignment(design.alignment);
    place(*box, design.place);
    box->setBackground(design.background);
    box->setAppearance(design.appearance);
    return box;
}

QMenu* addMenu(QMenuBar& bar, const char* name, const char* caption) {
    QMenu* menu = bar.addMenu(literalCaption(QString::fromUtf8(caption)));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addMenuItem(QMenu& menu, const char* name, const char* caption, QKeyCombination shortcut) {
    QAction* item = menu.addAction(literalCaption(QString::fromUtf8(caption)));
    item->setObjectName(QString::fromLatin1(name));
    if (shortcut != QKeyCombination()) {
        item->setShortcut(QKeySequence(shortcut));
    }
    return item;
}

}  // namespace forms
