#include "frame/ReadmeLaunch.h"

#include "base/ProgramDirectory.h"
#include "frame/MessageBoxes.h"

#include <QString>

QString ReadmeNotOpenedMessage(int exitCode) {
    return QString("Impossibile aprire il file %1.\rIl programma \"%2\" ha risposto con il "
                   "codice di errore %3.")
        .arg(ReadmeFileName, TextEditorProgram)
        .arg(exitCode);
}

void OpenReadmeIn(TAppExec& AppExec1, const std::string& directory) {
    AppExec1.Clear();
    AppExec1.SetExeName(TextEditorProgram);
    AppExec1.SetWait(true);
    AppExec1.SetChangeDir(true);
    // The editor gets the read-me's bare name, since the launcher splits its command line at
    // spaces; it finds the file because it starts in the program's directory. A program started
    // from a desktop menu runs in the user's home, where there is no read-me.
    AppExec1.SetExePath(directory);
    AppExec1.ExeParams().push_back(ReadmeFileName);
    try {
        AppExec1.Execute();
    } catch (const EAppExec& error) {
        ShowMessage(QString::fromUtf8(error.what()));
        return;
    }
    // The desktop's opener starts, then finds no program for text files (or no file): it
    // ends with an error code, and the user would otherwise see nothing happen at all.
    if (AppExec1.ExitCode() != 0)
        ShowMessage(ReadmeNotOpenedMessage(AppExec1.ExitCode()));
}

void OpenReadme(TAppExec& AppExec1) {
    OpenReadmeIn(AppExec1, ProgramDirectory());
}
