#include "Application.h"
#include "Unit1.h"
#include "WindowSet.h"

int main(int argc, char* argv[]) {
    TApplication application(argc, argv);
    CreateWindowSet();
    Form1->show();
    const int exitCode = TApplication::exec();
    DestroyWindowSet();
    return exitCode;
}
