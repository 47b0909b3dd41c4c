#pragma once
// The look of every hint (tool-tip) in the program: one background colour and one delay
// before a hint appears, set once for the whole application.
#include <QColor>

void SetProgramHints(const QColor& background, int delayMs);
