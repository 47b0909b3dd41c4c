#pragma once
// The text of the information box: what the program does, how to fill in its boxes, and where
// its author can be found.
#include <QString>

// Twenty-nine lines joined by a lone carriage return, none after the last; the second line
// names the author and the web address offered by the box.
QString InformationText();
