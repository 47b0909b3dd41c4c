#pragma once
// The program's end, whichever way the user asks for it: "Chiudi" in either window, the main
// window's close box, the end of the desktop session. A print that its printer has not taken
// is never left behind in silence, and the end takes a few seconds at most.
#include <chrono>

// How long the withdrawal of the prints may hold the end, whatever the print system does.
inline constexpr std::chrono::milliseconds PrintWithdrawalLimit{3000};

// Asks the user about unsaved changes to the taxpayer's data and about the prints not yet taken:
// false when the user chose to stay.
bool ProgramMayEnd();

// False when the user chose to wait. Otherwise the prints the user chose to withdraw are
// withdrawn and a page still on its way is waited for a while (the windows gone first, so that
// the user does not wait on them), and true: the caller ends the program's loop.
bool PrepareProgramEnd();
