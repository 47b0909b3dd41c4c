#include "support/ProgramErrorLog.h"

#include "windows/Unit1.h"

ProgramErrorLog::ProgramErrorLog(ErrorsGoOn next) {
    if (next == ErrorsGoOn::ToMainWindow)
        next_ = [](QObject* sender, std::exception_ptr error) {
            // The main window of the moment: a test may make a new window set meanwhile.
            if (Form1)
                Form1->AppException(sender, error);
        };
    SetProgramErrorHandler([this](QObject* sender, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            texts.append(QString::fromUtf8(e.what()));
        } catch (...) {
            // Still an error that reached the handler: no test may take it for none.
            texts.append(QStringLiteral("<error of unknown kind>"));
        }
        if (next_)
            next_(sender, error);
    });
}

ProgramErrorLog::~ProgramErrorLog() {
    SetProgramErrorHandler(next_);
}
