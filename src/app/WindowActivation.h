#pragma once
// A window's activation: it became the active one among the program's own windows (shown, or
// back from another window of the program). Closing a message box, or coming back from
// another application, gives the focus back to the same window and does not count.
#include <functional>

class QWidget;

// Runs onActivation, through the handler guard, each time the window is activated so. The
// watch ends when the window is destroyed.
void WatchActivation(QWidget* window, std::function<void()> onActivation);
