#pragma once
// A menu of further commands on a control: it opens with the right mouse button, where the
// mouse is, and with the menu key or Shift+F10 while the control has the focus, below it.
class QMenu;
class QWidget;

// The control keeps its own click; the menu belongs to the caller.
void OpenMenuOnRequest(QWidget* control, QMenu* menu);
