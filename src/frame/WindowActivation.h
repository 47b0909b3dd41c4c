#pragma once
// A window's activation: it became the active one among the program's own windows (shown, or
// back from another window of the program). Closing a message box, or coming back from
// another application, gives the focus back to the same window and does not count.
#include <functional>

class QWidget;

// Makes the window one of the program's own windows and runs onActivation (if any), through
// the handler guard, each time the window is activated so. Every window the user can switch
// to must be watched, with or without a handler: coming back from a window that is not
// watched does not count. The program's showing a window activates it at once and hands it the
// keyboard, with or without a window manager. The watch ends when the window is destroyed.
void WatchActivation(QWidget* window, std::function<void()> onActivation = {});
