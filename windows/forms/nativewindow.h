#pragma once

// A form's native window, created before it is first shown without Qt's graphics-adapter query.

class QWidget;

namespace forms {

// Creates a top-level window's native window now, before it is first shown. Qt's Windows
// platform plugin, before it creates a plain top-level window, asks Direct3D 9 which graphics
// adapter drives which screen, to keep OpenGL windows on their own GPU's screen on some
// two-GPU machines. These windows draw without OpenGL, and under Wine the question sets up
// Direct3D and OpenGL, which takes longer than all the rest of the start. So the plugin is
// given the window as a dialog with the same title-bar buttons, whose native window it makes
// alike (same frame, same window class) without asking, and the window is then a plain window
// again. With any other platform plugin, or for a window already created, it does nothing.
void createNativeWindow(QWidget& window);

}  // namespace forms
