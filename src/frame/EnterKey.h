#pragma once
// Enter on a button: Return, or Enter on the keypad, presses the focused button as Space does.
class QWidget;

// Every push and tool button of the window presses on Enter from now on, whatever its look
// (no button becomes a default button for it).
void PressButtonsOnEnter(QWidget* window);
