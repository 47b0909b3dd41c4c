#include "Unit2.h"

#include "AppInfo.h"
#include "HandlerGuard.h"
#include "HintSettings.h"
#include "Unit1.h"
#include "WindowActivation.h"

#include <QCloseEvent>

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TForm2>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("  Riepilogo Bollettino Postale") +
                   QString(26, QLatin1Char(' ')) + QString::fromUtf8(AuthorWebAddress));
    setFixedSize(522, 473);
    WatchActivation(this);
    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
    // Every hint of the program shows on aqua after the mouse has rested 200 ms.
    SetProgramHints(QColor(0, 255, 255), 200);
}

void TForm2::closeEvent(QCloseEvent* event) {
    // Closing only hides this window; the main window comes back.
    Guarded(this, [this] { FormClose(); });
    event->accept();
}

void TForm2::FormClose() {
    Form1->show();
}
