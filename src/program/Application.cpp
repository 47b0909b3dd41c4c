#include "program/Application.h"

#include "base/AppInfo.h"
#include "frame/HandlerGuard.h"
#include "frame/HintSettings.h"
#include "windows/SlipPrintFlow.h"

#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Qt's own texts (the file dialog, the edit boxes' menu, the question before a file is
// replaced) in Italian like the rest of the program: from the "translations" folder beside the
// program, where the Windows folder ships it, or else from Qt's own. Without the file they stay
// in English. The program's designed texts are set as they are and never translated.
void LoadQtItalian(QApplication& application) {
    // Owned by the application once installed.
    auto translator = std::make_unique<QTranslator>(&application);
    const QStringList folders = {QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations"),
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    for (const QString& folder : folders) {
        if (translator->load(QStringLiteral("qtbase_it"), folder)) {
            QCoreApplication::installTranslator(translator.release());
            return;
        }
    }
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    PrepareApplication(*this);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    Guarded(receiver, [&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void PrepareApplication(QApplication& application) {
    application.setApplicationName(QString::fromUtf8(ApplicationTitle));
    LoadQtItalian(application);
    // Every window takes the program's icon from here. Read as PNG by Qt's own reader: left
    // to find the format itself, the reader first loads every image format plugin installed.
    QImageReader icon(QStringLiteral(":/quotario.png"), "png");
    icon.setAutoDetectImageFormat(false);
    application.setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));
    // The windows are drawn for Windows' 8-point "MS Sans Serif"; elsewhere Liberation Sans,
    // which has Arial's metrics, stands in for it.
#ifdef _WIN32
    // Where the bitmap face is not offered, its TrueType successor; Liberation Sans where
    // neither is there (the tests under Wine).
    QFont windowFont(QStringLiteral("MS Sans Serif"), 8);
    windowFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                            QStringLiteral("Liberation Sans")});
    windowFont.setStyleHint(QFont::SansSerif);
    QApplication::setFont(windowFont);
#else
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
#endif
    // Every hint of the program shows on aqua after the mouse has rested 200 ms. Set before
    // any window exists: a style set later is sent to every widget already made.
    SetProgramHints(QColor(0, 255, 255), 200);
}

int EndProgram(int exitCode) {
    if (SlipPrintFlow::HandOverUnderWay()) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
