#include "program/Application.h"

#include "base/AppInfo.h"
#include "frame/HandlerGuard.h"

#include <QFont>
#include <QIcon>
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
    // Every window takes the program's icon from here. Loaded as a pixmap, so that no image
    // format plugin is looked for at start-up.
    application.setWindowIcon(QIcon(QPixmap(QStringLiteral(":/quotario.png"))));
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
}
