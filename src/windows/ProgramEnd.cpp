#include "windows/ProgramEnd.h"

#include "windows/SlipPrintFlow.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"

#include <QApplication>
#include <QWidget>

// The taxpayer's unsaved changes first: "Annulla" there asks nothing about the prints.
bool ProgramMayEnd() {
    return (!Form1 || Form1->MayLeaveChanges()) && (!Form2 || Form2->PrintFlow().MayEnd());
}

bool PrepareProgramEnd() {
    if (!ProgramMayEnd())
        return false;
    if (!Form2)
        return true;
    SlipPrintFlow& flow = Form2->PrintFlow();
    if (flow.HoldsTheEnd())
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
    flow.WithdrawBeforeEnd(PrintWithdrawalLimit);
    return true;
}
