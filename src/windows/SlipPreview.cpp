#include "windows/SlipPreview.h"

#include "frame/HandlerGuard.h"
#include "page/SlipPainter.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

void ShowSlipPreview(QWidget* parent, const SlipReport& report) {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Bollettino"));
    printer.setFullPage(true);
    PrepareSlipPage(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    dialog.resize(900, 700);
    // Asked for the preview and again for the print, which may come after Qt's print dialog
    // has set the printer up its own way: the page is set up anew each time.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&dialog, &report](QPrinter* target) {
                         Guarded(&dialog, [target, &report] {
                             target->setFullPage(true);
                             PrepareSlipPage(*target);
                             QPainter painter(target);
                             PaintSlipReport(painter, report);
                         });
                     });
    if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
        view->fitInView();
    dialog.exec();
}
