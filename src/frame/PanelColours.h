#pragma once
// A panel whose boxes share one fixed background (the yellow columns of the main window).
// Windows' own styles paint an edit box's background from the desktop's theme unless the box's
// own palette fixes it: a colour the box only inherits from its panel does not show there.
class QWidget;

// Gives every edit box of the panel the panel's background and text colours as its own.
void HandPanelColoursToBoxes(QWidget* panel);
