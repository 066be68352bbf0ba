// Placing a control at its place in twips.

#include "windows/forms/units.h"

#include <QWidget>

namespace forms {

void place(QWidget& widget, const TwipsRect& twips) {
    widget.setGeometry(twips.pixels);
}

}  // namespace forms
