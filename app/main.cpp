// Kalvet 1.2: averages the numbers typed into its main window.

#include <QApplication>

#if defined(KALVET_WARM_FONTCONFIG)
#include <fontconfig/fontconfig.h>

#include <thread>
#endif

#include "windows/Form1.h"
#include "windowsystemcheck.h"

int main(int argc, char* argv[]) {
#if defined(KALVET_WARM_FONTCONFIG)
    // The first text laid out makes fontconfig read its configuration and font caches, most
    // of the time it takes to build the main window. Reading them on a second thread while
    // the application connects to the display takes that off the way to the first frame.
    const std::jthread warmFonts([] { FcInit(); });
#endif
    // No display to connect to: one line and exit status 1, not Qt's abort.
    WindowSystemCheck windowSystemCheck("kalvet");
    QApplication application(argc, argv);
    windowSystemCheck.connected();
    // Lets desktops match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KALVET_APP_ID));
    Form1 mainWindow;
    mainWindow.show();
    // Returns 0 once the last window has closed.
    return QApplication::exec();
}
