#include "frame/SlipPdfFile.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace {

QString SaveDialog(QWidget* parent, const QString& proposedPath) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Salva il bollettino come PDF"),
                                        proposedPath, QStringLiteral("File PDF (*.pdf)"));
}

PdfFileChooser& CurrentChooser() {
    static PdfFileChooser current = SaveDialog;
    return current;
}

} // namespace

PdfFileChooser SetPdfFileChooser(PdfFileChooser replacement) {
    PdfFileChooser previous = std::move(CurrentChooser());
    CurrentChooser() = replacement ? std::move(replacement) : PdfFileChooser(SaveDialog);
    return previous;
}

QString ChooseSlipPdfFile(QWidget* parent, const QString& proposedPath) {
    return CurrentChooser()(parent, proposedPath);
}

QString ProposedSlipPdfPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("Bollettino ICI.pdf"));
}
