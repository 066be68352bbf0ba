// Kalvet 1.2: averages the numbers typed into its main window.

#include <QApplication>

#include "windows/Form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
#ifdef KALVET_APP_ID
    // Lets desktops match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KALVET_APP_ID));
#endif
    Form1 mainWindow;
    mainWindow.show();
    // Returns 0 once the last window has closed.
    return QApplication::exec();
}
