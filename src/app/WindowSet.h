#pragma once
// The program's three windows, created once in this order: the main window (which installs
// the program's error handler), the summary window (which sets the hints' look) and the
// report carrier. They live until DestroyWindowSet.
void CreateWindowSet();
void DestroyWindowSet();
