#pragma once
// The focus the program itself moves into a control, as opposed to a click or Tab.
class QWidget;

// Gives the control the focus; an edit box gets its whole text selected as well, so that what
// the user types next replaces it. (A click places the cursor as usual; Tab selects anyway.)
void GiveFocus(QWidget* control);
