#pragma once
// A menu of further commands on a control: it opens with the right mouse button, where the
// mouse is, and with the menu key or Shift+F10 while the control has the focus, below it.
class QMenu;
class QWidget;

// The control keeps its own click; the menu belongs to the caller.
void OpenMenuOnRequest(QWidget* control, QMenu* menu);

// Only the keyboard's requests, for a control whose right mouse button opens a menu of its own
// (an edit box's): the window's menu is still at hand while the box has the focus.
void OpenMenuOnKeyRequest(QWidget* control, QMenu* menu);
