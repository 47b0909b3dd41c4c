#pragma once
// Reads a printed PDF back as poppler sees it: page count and size from pdfinfo, every word's
// box from pdftotext -bbox (points from the top-left corner).
#include <QList>
#include <QString>

struct PrintedWord {
    QString text;
    double xMin, yMin, xMax, yMax;
    bool matched = false;
};

struct PrintedPage {
    int pages = 0;
    double width = 0;  // points
    double height = 0; // points
    int rotation = -1;
    QList<PrintedWord> words; // of the first page
    QString error;            // why the file could not be read; empty when it was
};

PrintedPage ReadPrintedPage(const QString& pdfFile);
