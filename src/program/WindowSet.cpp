#include "program/WindowSet.h"

#include "frame/HandlerGuard.h"
#include "program/InformationBox.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QTimer>

WindowSet::WindowSet() {
    form1_ = std::make_unique<TForm1>();
    Form1 = form1_.get();
    Form1->SetInformationBox(ShowInformationBox);
    form2_ = std::make_unique<TForm2>();
    Form2 = form2_.get();
    qrfm_ = std::make_unique<TQRFM>();
    QRFM = qrfm_.get();
}

WindowSet::~WindowSet() {
    qrfm_.reset();
    QRFM = nullptr;
    form2_.reset();
    Form2 = nullptr;
    form1_.reset();
    Form1 = nullptr;
}

void OpenDataFileOfCommandLine(const QStringList& arguments) {
    if (arguments.size() < 2)
        return;
    // Once the event loop runs, so that the main window is shown and its messages have an owner.
    QTimer::singleShot(0, Form1, [file = arguments.at(1)] {
        Guarded(Form1, [&file] { Form1->OpenDataFile(file); });
    });
}
