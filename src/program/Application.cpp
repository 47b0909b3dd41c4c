#include "program/Application.h"

#include "base/AppInfo.h"
#include "frame/HandlerGuard.h"
#include "frame/HintSettings.h"

#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

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
