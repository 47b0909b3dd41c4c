#include "program/Application.h"
#include "program/WindowSet.h"
#include "windows/Unit1.h"

int main(int argc, char* argv[]) {
    TApplication application(argc, argv);
    const WindowSet windows;
    Form1->show();
    OpenDataFileOfCommandLine(TApplication::arguments());
    return EndProgram(TApplication::exec());
}
