#pragma once
// Reads a printed PDF back as poppler sees it: page count and size from pdfinfo, every word's
// box from pdftotext -bbox (points from the top-left corner).
#include <QList>
#include <QString>
#include <QStringList>

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

class SlipReport;

// Layout units and the band's top in the page's points, and how far a text may stray.
constexpr double PointsPerUnit = 72.0 / 96.0;
constexpr double BandTopPoints = 0.2 / 25.4 * 72.0;
constexpr double Tolerance = 0.1 / 25.4 * 72.0; // 0.1 mm

// Every text where its label says, within `tolerance` points, one landscape A4 page, nothing
// else on it (unless other texts are allowed): the faults found, none when the page is right.
// pdftotext puts a word's top at its baseline less the ascent that the PDF declares for its
// font: Qt declares the faces' own, a print server's PostScript-to-PDF filter the extent of the
// glyphs it embeds. With DeclaredAscents the tops are read back through the declared ones.
enum class OtherTexts { Unexpected, Allowed };
enum class TextTops { FacesOwnAscents, DeclaredAscents };
QStringList CheckPrintedPage(const QString& pdfFile, const SlipReport& report,
                             OtherTexts others = OtherTexts::Unexpected,
                             double tolerance = Tolerance,
                             TextTops tops = TextTops::FacesOwnAscents);

// Every label's box drawn as an outline where the label prints, read from the page rendered at
// 0.1 mm a dot: its left, top and bottom edges at the label's place; its right edge at its
// designed width when the box is fixed or has no text, and just past its text when the box
// fits the text. The faults found, none when all 31 are there.
QStringList CheckBoxOutlines(const QString& pdfFile, const SlipReport& report);

// Keeps a copy of a printed page beside the test program under `name`, for a look at the page
// (pdftoppm -png), and says where.
void KeepPrintedPage(const QString& pdfFile, const QString& name);

// Waits (30 s at most) until a print queue's job has reached its file and the queue is empty.
bool WaitForJobFile(const QString& file);

// A page that a printer driver sent as a portrait sheet with the content turned, as printers
// take landscape pages (Windows' PostScript driver does so): turned by `degrees` into a page of
// that shape of its own (qpdf), written to `turnedFile`. The error, empty when it was done.
QString TurnPrintedPage(const QString& pdfFile, const QString& turnedFile, int degrees);
