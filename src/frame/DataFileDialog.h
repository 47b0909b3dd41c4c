#pragma once
// The dialogs that choose the taxpayer's data file, to save or to open. Tests put a chooser of
// their own in place of the dialogs.
#include <QString>

#include <functional>

class QWidget;

enum class DataFileDialog { Save, Open };

// Asks for the file, starting from the proposed path (a folder, or a file in it, to save);
// empty when the user cancels.
using DataFileChooser =
    std::function<QString(QWidget* parent, DataFileDialog dialog, const QString& proposedPath)>;

// Installs a chooser in place of the dialogs and returns the one it replaces; an empty chooser
// puts the dialogs back.
DataFileChooser SetDataFileChooser(DataFileChooser chooser);

// The file chosen; a name to save without an extension gets the data files' one.
QString ChooseDataFile(QWidget* parent, DataFileDialog dialog, const QString& proposedPath);

// The folder the dialogs start in: that of the data file in use, else the user's documents
// folder.
QString DataFileFolder(const QString& folderInUse);

// "ICI <payer> <year>.ici" in `folder`, the year in four digits; without the characters a file
// name cannot hold. "Dati ICI.ici" when the payer is empty.
QString ProposedDataFilePath(const QString& folder, const QString& payer, const QString& taxYear);
