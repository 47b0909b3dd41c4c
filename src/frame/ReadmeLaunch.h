#pragma once
// Opening the read-me that comes with the program in the system's text editor, through the
// summary window's launcher.
#include "rules/AppExec.h"

#include <QString>

#include <functional>
#include <string>

class QObject;

// The read-me's file name, beside the program.
inline constexpr const char* ReadmeFileName = "leggimi-prima.txt";

// The program that opens a text file: the editor on Windows, the desktop's opener elsewhere.
#ifdef _WIN32
inline constexpr const char* TextEditorProgram = "notepad.exe";
#else
inline constexpr const char* TextEditorProgram = "xdg-open";
#endif

// What the user reads when the editor ended with an error code: nothing opened the read-me.
QString ReadmeNotOpenedMessage(int exitCode);

// Sets the launcher afresh and starts the editor on the read-me in directory, which becomes the
// program's current directory. Returns once the editor has ended, or at once when the program
// is asked to end meanwhile: the program then ends and the editor stays open. Meanwhile the
// program's windows are disabled but painted, and a click or key on them is dropped, never carried
// out afterwards; the launcher waits on a thread of its own. (The desktop's opener may hand the
// file to an editor and end at once.) A start or directory change that fails shows the
// launcher's message in the plain box, and so does an editor that ended with an error code;
// any other error goes on to the caller.
void OpenReadmeIn(TAppExec& launcher, const std::string& directory);

// True while OpenReadmeIn waits for the editor: a message then waits too, since the windows it
// would lead to are disabled.
bool WaitingForReadme();
// Runs `then` once the editor has closed (queued, on the context's thread; dropped when the
// context is gone), or at once (queued) when nothing waits for it.
void AfterReadmeWait(QObject* context, std::function<void()> then);

// The read-me beside the program's own executable, wherever the program was started from.
void OpenReadme(TAppExec& launcher);
