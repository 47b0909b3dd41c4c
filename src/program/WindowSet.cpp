#include "program/WindowSet.h"

#include "frame/HandlerGuard.h"
#include "program/InformationBox.h"
#include "windows/ProgramEnd.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QTimer>

WindowSet::WindowSet() {
    form1_ = std::make_unique<TForm1>();
    Form1 = form1_.get();
    Form1->SetInformationBox(ShowInformationBox);
    form2_ = std::make_unique<TForm2>();
    Form2 = form2_.get();
    qrfm_ = std::make_unique<TQRFM>();
    QRFM = qrfm_.get();
#ifndef QT_NO_SESSIONMANAGER
    // The end of the desktop session asks as "Chiudi" does, while the session lets it ask; the
    // windows are closed afterwards and the program ends as the main window closes.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, Form2,
                     [](QSessionManager& session) {
                         Guarded(Form2, [&session] {
                             if (session.allowsInteraction()) {
                                 if (!ProgramMayEnd())
                                     session.cancel();
                                 session.release();
                             }
                         });
                     });
#endif
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
