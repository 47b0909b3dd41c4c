#pragma once
// Where the slip goes when it cannot be printed: a PDF file the user chooses with the save
// dialog. Tests put a chooser of their own in place of the dialog.
#include <QString>

#include <functional>

class QWidget;

// Asks for the file's name, starting from the proposed path; empty when the user cancels.
using PdfFileChooser = std::function<QString(QWidget* parent, const QString& proposedPath)>;

// Installs a chooser in place of the save dialog and returns the one it replaces; an empty
// chooser puts the dialog back.
PdfFileChooser SetPdfFileChooser(PdfFileChooser chooser);

QString ChooseSlipPdfFile(QWidget* parent, const QString& proposedPath);

// "Bollettino ICI.pdf" in the user's documents folder (the home folder when there is none).
QString ProposedSlipPdfPath();
