// Making the forms' fonts.

#include "windows/forms/fonts.h"

#include <QString>

namespace forms {

QFont arial(const FontDesign& design) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(design.pointSize);
    font.setBold(design.bold);
    return font;
}

}  // namespace forms
