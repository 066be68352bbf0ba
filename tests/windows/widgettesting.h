#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPalette>
#include <QPoint>
#include <QString>

#include <functional>

class QAbstractButton;
class QWidget;
class Form2;

namespace widgettesting {

// ---- Palettes ---------------------------------------------------------------------------------

// The style's own light palette.
QPalette lightPalette();
// A dark palette in which every role the forms use has a colour of its own, so that a colour
// read back names the role it came from.
QPalette darkPalette();
QPalette paletteNamed(const QString& name);  // "light" or "dark"

// The application palette for as long as it lives; the previous one afterwards.
class ApplicationPalette {
public:
    explicit ApplicationPalette(const QPalette& palette);
    ~ApplicationPalette();
    ApplicationPalette(const ApplicationPalette&) = delete;
    ApplicationPalette& operator=(const ApplicationPalette&) = delete;

private:
    QPalette previous_;
};

// ---- Reading back what is on screen -----------------------------------------------------------

QImage rendered(QWidget& widget);
// The colour the widget shows at a point, as "#rrggbb" for readable comparisons.
QString pixel(QWidget& widget, QPoint at);
QString name(const QColor& colour);
// How far apart two colours are in brightness, 0 to 255.
int brightnessContrast(const QColor& a, const QColor& b);

// ---- Acting as a user -------------------------------------------------------------------------

// Replaces what the entry box holds by typing: select all, delete, type the text.
void typeEntry(QWidget& entry, const QString& text);
void click(QAbstractButton& button);
// Brings the window to the front and waits until it is active; false if it never is.
bool activate(QWidget& window);

// ---- Windows and the event loop ---------------------------------------------------------------

// Every colour-scheme window that exists, once windows closed earlier have been deleted.
QList<Form2*> colourSchemeWindows();

// Runs the steps one after another inside the application's event loop, as a user acting on
// the running program would, and tells how the loop ended: with exit code 0 when the last
// window had closed, kStillRunning when it was still running a while after the last step.
struct LoopRun {
    int exitCode = -1;
    qsizetype stepsRun = 0;
};
inline constexpr int kStillRunning = 99;
LoopRun runInEventLoop(const QList<std::function<void()>>& steps);

}  // namespace widgettesting
