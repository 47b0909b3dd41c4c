#include "frame/DataFileDialog.h"

#include "base/Seam.h"
#include "frame/DocumentsFolder.h"
#include "rules/DataFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString FileTypes() {
    return QStringLiteral("Dati ICI di Quotario (*.%1)")
        .arg(QString::fromLatin1(DataFileExtension));
}

QString Dialog(QWidget* parent, DataFileDialog dialog, const QString& proposedPath) {
    if (dialog == DataFileDialog::Save)
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Salva i dati"), proposedPath,
                                            FileTypes());
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Apri i dati"), proposedPath,
                                        FileTypes());
}

Seam<DataFileChooser>& Chooser() {
    static Seam<DataFileChooser> seam(Dialog);
    return seam;
}

} // namespace

DataFileChooser SetDataFileChooser(DataFileChooser replacement) {
    return Chooser().Replace(std::move(replacement));
}

QString ChooseDataFile(QWidget* parent, DataFileDialog dialog, const QString& proposedPath) {
    QString chosen = Chooser().Current()(parent, dialog, proposedPath);
    if (dialog == DataFileDialog::Save && !chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += QStringLiteral(".") + QString::fromLatin1(DataFileExtension);
    return chosen;
}

QString DataFileFolder(const QString& folderInUse) {
    return !folderInUse.isEmpty() && QDir(folderInUse).exists() ? folderInUse : DocumentsFolder();
}

QString ProposedDataFilePath(const QString& folder, const QString& payer, const QString& taxYear) {
    // What Windows and the usual file systems refuse in a name, and control characters.
    static const QRegularExpression notInAName(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1F]"));
    QString name = QString(payer).replace(notInAName, QStringLiteral(" ")).simplified();
    name.truncate(60);
    name = name.trimmed();
    const QString year = taxYear.size() == 2 && taxYear.at(0).isDigit() && taxYear.at(1).isDigit()
                             ? QStringLiteral("20") + taxYear
                             : QString();
    QString base = name.isEmpty() ? QStringLiteral("Dati ICI") : QStringLiteral("ICI ") + name;
    if (!year.isEmpty())
        base += QStringLiteral(" ") + year;
    return QDir(folder).filePath(base + QStringLiteral(".") +
                                 QString::fromLatin1(DataFileExtension));
}
