#pragma once
// Stands in for the program's error handler while it lives: keeps the text of every error that
// reaches it, then hands the error on to the main window's AppException as the program does,
// or to nobody. When it goes it leaves that next handler in place.
#include "frame/HandlerGuard.h"

#include <QStringList>

enum class ErrorsGoOn { Nowhere, ToMainWindow };

class ProgramErrorLog {
public:
    explicit ProgramErrorLog(ErrorsGoOn next);
    ~ProgramErrorLog();
    ProgramErrorLog(const ProgramErrorLog&) = delete;
    ProgramErrorLog& operator=(const ProgramErrorLog&) = delete;

    QStringList texts;

private:
    ProgramErrorHandler next_;
};
