#pragma once

// The forms' fonts: Arial at a size, bold or not.

#include <QFont>

namespace forms {

struct FontDesign {
    double pointSize;
    bool bold = false;
};

// Arial (Liberation Sans where Arial itself is not installed) at the given size.
QFont arial(const FontDesign& design);

}  // namespace forms
