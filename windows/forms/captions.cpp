// Escaping the access-key mark in captions.

#include "windows/forms/captions.h"

namespace forms {

QString literalCaption(const QString& caption) {
    return QString(caption).replace(u'&', QStringLiteral("&&"));
}

}  // namespace forms
