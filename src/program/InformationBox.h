#pragma once
// The information box that "Inform." shows: what the program does, how to fill in its boxes, and
// where its author can be found, with the offer to open the author's web site.
#include <QString>

// Twenty-nine lines joined by a lone carriage return, none after the last; the second line
// names the author and the web address offered by the box.
QString InformationText();

// Shows the text in the typed Information dialog; "&Yes" opens the author's web address.
void ShowInformationBox();
