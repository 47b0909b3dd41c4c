#pragma once
// Where the program proposes to save what the user keeps: the documents folder.
#include <QString>

// The user's documents folder; the home folder when there is none.
QString DocumentsFolder();
