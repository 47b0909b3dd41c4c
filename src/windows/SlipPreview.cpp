#include "windows/SlipPreview.h"

#include "frame/HandlerGuard.h"
#include "page/SlipPainter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* AddButton(QHBoxLayout* row, const char* text, const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

} // namespace

bool ShowSlipPreview(QWidget* parent, const SlipReport& report) {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Bollettino"));
    printer.setFullPage(true);
    PrepareSlipPage(printer);

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("SlipPreview"));
    dialog.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    auto* view = new QPrintPreviewWidget(&printer);
    view->setObjectName(QStringLiteral("SlipPreviewPage"));
    view->fitInView();
    // Asked again whenever the view repaints the page: the page is set up anew each time.
    QObject::connect(view, &QPrintPreviewWidget::paintRequested, &dialog,
                     [&dialog, &report](QPrinter* target) {
                         Guarded(&dialog, [target, &report] {
                             target->setFullPage(true);
                             PrepareSlipPage(*target);
                             QPainter painter(target);
                             PaintSlipReport(painter, report);
                         });
                     });

    auto* buttons = new QHBoxLayout;
    QObject::connect(
        AddButton(buttons, "Ingrand&isci", "ZoomInBtn"), &QPushButton::clicked, view,
        [view] { view->zoomIn(); });
    QObject::connect(AddButton(buttons, "Ri&duci", "ZoomOutBtn"), &QPushButton::clicked, view,
                     [view] { view->zoomOut(); });
    QObject::connect(AddButton(buttons, "&Pagina intera", "WholePageBtn"), &QPushButton::clicked,
                     view, &QPrintPreviewWidget::fitInView);
    buttons->addStretch();
    QObject::connect(AddButton(buttons, "&Stampa", "PrintBtn"), &QPushButton::clicked, &dialog,
                     &QDialog::accept);
    QObject::connect(AddButton(buttons, "&Chiudi", "CloseBtn"), &QPushButton::clicked, &dialog,
                     &QDialog::reject);

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(buttons);
    layout->addWidget(view, 1);
    dialog.resize(900, 700);
    return dialog.exec() == QDialog::Accepted;
}
