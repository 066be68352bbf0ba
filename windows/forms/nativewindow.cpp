#include "windows/forms/nativewindow.h"

#include <QGuiApplication>
#include <QLatin1String>
#include <QWidget>
#include <QWindow>

namespace forms {

void createNativeWindow(QWidget& window) {
    if (QGuiApplication::platformName() != QLatin1String("windows") ||
        window.windowType() != Qt::Window || window.testAttribute(Qt::WA_WState_Created)) {
        return;
    }
    // A window that names none of its title-bar buttons gets these from the plugin; a dialog
    // gets fewer, so it names them.
    constexpr Qt::WindowFlags kPlainWindowButtons =
        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
        Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    const Qt::WindowFlags flags = window.windowFlags();
    const Qt::WindowFlags hints = flags & ~Qt::WindowType_Mask;
    window.overrideWindowFlags(Qt::Dialog | (!hints ? kPlainWindowButtons : hints));
    window.winId();  // creates it
    window.overrideWindowFlags(flags);
    window.windowHandle()->setFlags(flags);
}

}  // namespace forms
