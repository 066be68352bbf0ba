#pragma once

// Captions of buttons and menus, shown as written.

#include <QString>

namespace forms {

// A caption shown literally: Qt would read "&" as an access-key mark.
QString literalCaption(const QString& caption);

}  // namespace forms
