// Resolving colour codes: system colours from a palette, explicit ones with readable text.

#include "windows/forms/colours.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <array>

namespace forms {

namespace {

// Which palette roles stand for a system colour index: the background and the text drawn on
// it. Qt has no role for the title-bar text (index 9); the entry box is its only user, in the
// classic scheme, so it takes the entry's own background role Base, which every palette pairs
// with a readable Text colour, light or dark.
struct SystemColourRoles {
    std::uint32_t index;
    QPalette::ColorRole background;
    QPalette::ColorRole foreground;
};

constexpr std::array kSystemColours{
    SystemColourRoles{5, QPalette::Base, QPalette::Text},           // window background
    SystemColourRoles{9, QPalette::Base, QPalette::Text},           // title-bar text
    SystemColourRoles{15, QPalette::Button, QPalette::ButtonText},  // button face
};

// Any other index: the general window colours.
constexpr SystemColourRoles kOtherSystemColour{0, QPalette::Window, QPalette::WindowText};

SystemColourRoles systemColourRoles(std::uint32_t index) {
    const auto row = std::find_if(kSystemColours.begin(), kSystemColours.end(),
                                  [index](const SystemColourRoles& r) { return r.index == index; });
    return row == kSystemColours.end() ? kOtherSystemColour : *row;
}

QColor explicitColour(ColourCode code) {
    return QColor(code & 0xFFu, (code >> 8) & 0xFFu, (code >> 16) & 0xFFu);
}

QColor readableTextOn(const QColor& background) {
    return qGray(background.rgb()) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

ResolvedColour resolveColour(ColourCode code, const QPalette& palette) {
    if ((code & kSystemColour) != 0) {
        const SystemColourRoles roles = systemColourRoles(code & ~kSystemColour);
        return {palette.color(roles.background), palette.color(roles.foreground)};
    }
    const QColor background = explicitColour(code);
    return {background, readableTextOn(background)};
}

void showColourOn(QWidget& control, const ColourCode* code, ColourRoles roles) {
    if (!code) {
        if (control.testAttribute(Qt::WA_SetPalette)) {
            control.setPalette(QPalette());
        }
        return;
    }
    const ResolvedColour colour = resolveColour(*code, QApplication::palette());
    QPalette palette = control.palette();
    palette.setColor(roles.background, colour.background);
    palette.setColor(roles.foreground, colour.foreground);
    const bool unchanged = control.testAttribute(Qt::WA_SetPalette) &&
                           palette == control.palette() &&
                           palette.resolveMask() == control.palette().resolveMask();
    if (!unchanged) {
        control.setPalette(palette);
    }
}

bool isPaletteChange(const QEvent& event) {
    return event.type() == QEvent::PaletteChange ||
           event.type() == QEvent::ApplicationPaletteChange;
}

}  // namespace forms
