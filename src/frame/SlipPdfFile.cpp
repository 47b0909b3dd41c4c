#include "frame/SlipPdfFile.h"

#include "base/Seam.h"
#include "frame/DocumentsFolder.h"

#include <QDir>
#include <QFileDialog>

namespace {

QString SaveDialog(QWidget* parent, const QString& proposedPath) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Salva il bollettino come PDF"),
                                        proposedPath, QStringLiteral("File PDF (*.pdf)"));
}

Seam<PdfFileChooser>& Chooser() {
    static Seam<PdfFileChooser> seam(SaveDialog);
    return seam;
}

} // namespace

PdfFileChooser SetPdfFileChooser(PdfFileChooser replacement) {
    return Chooser().Replace(std::move(replacement));
}

QString ChooseSlipPdfFile(QWidget* parent, const QString& proposedPath) {
    return Chooser().Current()(parent, proposedPath);
}

QString ProposedSlipPdfPath() {
    return QDir(DocumentsFolder()).filePath(QStringLiteral("Bollettino ICI.pdf"));
}
