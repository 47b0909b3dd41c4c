#include "support/PrintedPage.h"

#include "rules/SlipReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtDebug>

#include <algorithm>
#include <cmath>

#ifdef _WIN32
#include <QDir>
#include <QTemporaryDir>

#include "base/WindowsApi.h"
#endif

namespace {

#ifdef _WIN32
// The Windows build's tests run under Wine, and the poppler tools are the Linux machine's own:
// Wine starts a Linux program named by its full path, which is given Linux paths.
QString LinuxPath(const QString& path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return path;
    const std::wstring windowsPath = QDir::toNativeSeparators(path).toStdWString();
    char* unixPath = toUnix(windowsPath.c_str());
    if (unixPath == nullptr)
        return path;
    const QString result = QString::fromUtf8(unixPath);
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}
#endif

#ifdef _WIN32
// Wine starts a Linux program but cannot wait for it: a shell runs the tool, keeps its output,
// error output and exit code in files, and renames the output file last, which is awaited.
QString Run(const QString& program, const QStringList& arguments, QString& error) {
    QTemporaryDir folder;
    const QString output = folder.filePath("output");
    QStringList linuxArguments{"-c",
                               "out=$1; shift; \"$@\" >\"$out.tmp\" 2>\"$out.err\"; "
                               "echo $? >\"$out.code\"; mv \"$out.tmp\" \"$out\"",
                               "sh", LinuxPath(folder.path()) + "/output", "/usr/bin/" + program};
    // Files, and files to be written, go by their Linux paths.
    static const QRegularExpression drivePath("^[A-Za-z]:[/\\\\]");
    for (const QString& argument : arguments)
        linuxArguments << (QFile::exists(argument) || drivePath.match(argument).hasMatch()
                               ? LinuxPath(argument)
                               : argument);
    QElapsedTimer clock;
    clock.start();
    if (QProcess::startDetached("Z:/bin/sh", linuxArguments))
        while (!QFile::exists(output) && clock.elapsed() < 30000)
            QThread::msleep(20);
    QFile result(output), code(output + ".code"), errors(output + ".err");
    if (!result.open(QIODevice::ReadOnly) || !code.open(QIODevice::ReadOnly) ||
        code.readAll().trimmed() != "0") {
        errors.open(QIODevice::ReadOnly);
        error = program + " failed: " + QString::fromLocal8Bit(errors.readAll());
        return QString();
    }
    return QString::fromUtf8(result.readAll());
}
#else
QString Run(const QString& program, const QStringList& arguments, QString& error) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error = program + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}
#endif

QString Unescape(QString text) {
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
    return text.replace("&amp;", "&");
}

PrintedWord* FindWord(QList<PrintedWord>& words, const QString& text, double x, double top,
                      bool byCentre, double tolerance) {
    for (PrintedWord& word : words) {
        const double wordX = byCentre ? (word.xMin + word.xMax) / 2 : word.xMin;
        if (!word.matched && word.text == text && std::abs(wordX - x) <= tolerance &&
            std::abs(word.yMin - top) <= tolerance)
            return &word;
    }
    return nullptr;
}

// A proportional text starts at the label's left; its words follow one another on the line.
void CheckProportional(const SlipLabel& label, double top, QList<PrintedWord>& words,
                       QStringList& faults, double tolerance) {
    const QStringList tokens = QString::fromStdString(label.text).split(' ', Qt::SkipEmptyParts);
    PrintedWord* previous =
        FindWord(words, tokens.first(), label.left * PointsPerUnit, top, false, tolerance);
    if (!previous) {
        faults << QString("%1: \"%2\" not at left %3 pt, top %4 pt")
                      .arg(label.design->name.data(), tokens.first())
                      .arg(label.left * PointsPerUnit)
                      .arg(top);
        return;
    }
    previous->matched = true;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        PrintedWord* next = nullptr;
        for (PrintedWord& word : words)
            if (!word.matched && word.text == tokens[i] && std::abs(word.yMin - top) <= tolerance &&
                word.xMin > previous->xMax && word.xMin - previous->xMax < 5)
                next = &word;
        if (!next) {
            faults << QString("%1: word \"%2\" does not follow")
                          .arg(label.design->name.data(), tokens[i]);
            return;
        }
        next->matched = true;
        previous = next;
    }
}

// A spaced text has one character per cell, centred; a right-aligned box ends its last cell
// at left + width. Characters whose cell runs off the sheet may be missing.
void CheckSpaced(const SlipLabel& label, double top, QList<PrintedWord>& words, QStringList& faults,
                 double tolerance) {
    const SlipLabelDesign& design = *label.design;
    const QList<uint> characters = QString::fromStdString(label.text).toUcs4();
    double cell = SpacedCellWidth(design.pointSize);
    if (design.widthRule == SlipWidthRule::Fixed)
        cell = std::min(cell, double(design.width) / characters.size());
    const double start = design.alignment == SlipAlignment::Right
                             ? label.left + design.width - cell * characters.size()
                             : label.left;
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const char32_t code = characters[i];
        const QString character = QString::fromUcs4(&code, 1);
        if (character == " ")
            continue;
        const double centre = (start + cell * (i + 0.5)) * PointsPerUnit;
        PrintedWord* word = FindWord(words, character, centre, top, true, tolerance);
        if (word)
            word->matched = true;
        else if (start + cell * (i + 1) <= SlipPageWidthUnits)
            faults << QString("%1: '%2' not centred at %3 pt, top %4 pt")
                          .arg(design.name.data(), character)
                          .arg(centre)
                          .arg(top);
    }
}

} // namespace

PrintedPage ReadPrintedPage(const QString& pdfFile) {
    PrintedPage page;
    const QString info = Run("pdfinfo", {pdfFile}, page.error);
    if (!page.error.isEmpty())
        return page;
    const auto field = [&info](const QString& name) {
        return QRegularExpression("^" + name + ":\\s*(.*)$", QRegularExpression::MultilineOption)
            .match(info)
            .captured(1)
            .trimmed();
    };
    page.pages = field("Pages").toInt();
    page.rotation = field("Page rot").toInt();
    const QRegularExpressionMatch size =
        QRegularExpression("([0-9.]+) x ([0-9.]+) pts").match(field("Page size"));
    page.width = size.captured(1).toDouble();
    page.height = size.captured(2).toDouble();

    const QString boxes =
        Run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdfFile, "-"}, page.error);
    static const QRegularExpression word(
        "<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">"
        "(.*?)</word>");
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        page.words.append({Unescape(m.captured(5)), m.captured(1).toDouble(),
                           m.captured(2).toDouble(), m.captured(3).toDouble(),
                           m.captured(4).toDouble()});
    }
    return page;
}

namespace {

// How far below its label's top pdftotext puts a text of each face, in ems: the face's own
// ascent (Liberation Sans for "Arial", Liberation Mono for the spaced face) less the one the PDF
// declares for it.
struct TopShifts {
    double arial = 0;
    double spaziato = 0;
};

TopShifts DeclaredTopShifts(const QString& pdfFile, QString& error) {
    const QString objects = Run("qpdf", {"--qdf", "--object-streams=disable", pdfFile, "-"}, error);
    static const QRegularExpression descriptor(
        "/Ascent ([-0-9.]+)[^>]*?/FontName /[A-Z]{6}\\+Liberation(Sans|Mono)",
        QRegularExpression::DotMatchesEverythingOption);
    TopShifts shifts;
    for (auto it = descriptor.globalMatch(objects); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const double declared = m.captured(1).toDouble() / 1000;
        if (m.captured(2) == "Sans")
            shifts.arial = 1854.0 / 2048 - declared;
        else
            shifts.spaziato = 1705.0 / 2048 - declared;
    }
    return shifts;
}

} // namespace

QStringList CheckPrintedPage(const QString& pdfFile, const SlipReport& report, OtherTexts others,
                             double tolerance, TextTops tops) {
    PrintedPage page = ReadPrintedPage(pdfFile);
    if (!page.error.isEmpty())
        return {page.error};
    TopShifts shifts;
    if (tops == TextTops::DeclaredAscents) {
        shifts = DeclaredTopShifts(pdfFile, page.error);
        if (!page.error.isEmpty())
            return {page.error};
    }
    QStringList faults;
    if (page.pages != 1)
        faults << QString("%1 pages").arg(page.pages);
    if (std::abs(page.width - 841.89) > 0.5 || std::abs(page.height - 595.28) > 0.5 ||
        page.rotation != 0)
        faults << QString("page %1 x %2 pt, rotated %3")
                      .arg(page.width)
                      .arg(page.height)
                      .arg(page.rotation);
    for (const SlipLabel& label : report.Labels()) {
        if (label.text.empty())
            continue;
        const bool spaced = label.design->face == SlipFace::Spaziato;
        const double top = BandTopPoints + label.top * PointsPerUnit +
                           (spaced ? shifts.spaziato : shifts.arial) * label.design->pointSize;
        if (spaced)
            CheckSpaced(label, top, page.words, faults, tolerance);
        else
            CheckProportional(label, top, page.words, faults, tolerance);
    }
    for (const PrintedWord& word : page.words)
        if (others == OtherTexts::Unexpected && !word.matched && word.xMin < page.width)
            faults << QString("unexpected \"%1\" at %2, %3")
                          .arg(word.text)
                          .arg(word.xMin)
                          .arg(word.yMin);
    return faults;
}

namespace {

constexpr int DotsPerInch = 254; // one dot a tenth of a millimetre
constexpr double DotsPerUnit = DotsPerInch / 96.0;
constexpr double BandTopDots = 2.0;
constexpr int Slack = 2; // dots an edge may stray: the line is 0.2 mm wide

// The page as grey levels, one dot a tenth of a millimetre.
class RenderedPage {
public:
    explicit RenderedPage(const QString& pdfFile, QString& error) {
        QTemporaryDir folder;
        Run("pdftoppm",
            {"-r", QString::number(DotsPerInch), "-gray", "-singlefile", "-f", "1", "-l", "1",
             pdfFile, folder.filePath("page")},
            error);
        if (error.isEmpty() && !image_.load(folder.filePath("page.pgm")))
            error = "the rendered page could not be read";
    }

    bool Dark(int x, int y) const { return image_.valid(x, y) && qGray(image_.pixel(x, y)) < 160; }
    bool AnyDark(int x, int from, int to) const {
        for (int y = from; y <= to; ++y)
            if (Dark(x, y))
                return true;
        return false;
    }
    // A line from (x, from) to (x, to), or from (from, y) to (to, y), at least 90 % dark.
    bool Column(int x, int from, int to) const {
        return Line(
            from, to, [&](int i) { return Dark(x, i); });
    }
    bool Row(int y, int from, int to) const {
        return Line(
            from, to, [&](int i) { return Dark(i, y); });
    }
    // The line nearest to where it should be, within the slack; -1 when there is none.
    int ColumnNear(int x, int from, int to) const {
        return Near(
            x, [&](int c) { return Column(c, from, to); });
    }
    int RowNear(int y, int from, int to) const {
        return Near(
            y, [&](int r) { return Row(r, from, to); });
    }

private:
    template <class IsDark> static bool Line(int from, int to, IsDark isDark) {
        int dark = 0;
        for (int i = from; i <= to; ++i)
            dark += isDark(i) ? 1 : 0;
        return to >= from && dark * 10 >= (to - from + 1) * 9;
    }
    template <class Found> static int Near(int at, Found found) {
        for (int offset = 0; offset <= Slack; ++offset)
            for (int candidate : {at - offset, at + offset})
                if (found(candidate))
                    return candidate;
        return -1;
    }

    QImage image_;
};

} // namespace

QStringList CheckBoxOutlines(const QString& pdfFile, const SlipReport& report) {
    QString error;
    const RenderedPage page(pdfFile, error);
    if (!error.isEmpty())
        return {error};
    QStringList faults;
    for (const SlipLabel& label : report.Labels()) {
        const SlipLabelDesign& design = *label.design;
        const QString name = QString::fromLatin1(design.name.data(), design.name.size());
        const int left = qRound(label.left * DotsPerUnit);
        const int top = qRound(BandTopDots + label.top * DotsPerUnit);
        const int bottom = qRound(BandTopDots + (label.top + SlipLabelHeight) * DotsPerUnit);
        const int innerTop = top + 2 * Slack;
        const int innerBottom = bottom - 2 * Slack;
        if (page.ColumnNear(left, innerTop, innerBottom) < 0) {
            faults << name + ": no left edge at " + QString::number(left);
            continue;
        }
        // The right edge: the first full-height line after the left one.
        int right = left + 2 * Slack;
        while (right < left + 2000 && !page.Column(right, innerTop, innerBottom))
            ++right;
        const int pageRight = qRound(SlipPageWidthUnits * DotsPerUnit);
        if (design.widthRule == SlipWidthRule::Fixed || label.text.empty()) {
            const int expected = qRound((label.left + design.width) * DotsPerUnit);
            // A box that runs off the sheet has no right edge on it.
            if (expected >= pageRight - Slack)
                right = pageRight - Slack;
            else if (std::abs(right - expected) > Slack)
                faults
                    << QString("%1: right edge at %2, not %3").arg(name).arg(right).arg(expected);
        } else {
            // Fits the text: the last ink before the edge is the text's, less than a spaced
            // character's cell (4.2 mm) before it.
            int lastInk = right - Slack - 1;
            while (lastInk > left + Slack && !page.AnyDark(lastInk, innerTop, innerBottom))
                --lastInk;
            if (right - lastInk > 25)
                faults << QString("%1: right edge at %2, text ends at %3")
                              .arg(name)
                              .arg(right)
                              .arg(lastInk);
        }
        const int inner = left + 2 * Slack;
        const int innerRight = right - 2 * Slack;
        if (page.RowNear(top, inner, innerRight) < 0 || page.RowNear(bottom, inner, innerRight) < 0)
            faults << QString("%1: no top or bottom edge at %2, %3").arg(name).arg(top).arg(bottom);
    }
    return faults;
}

void KeepPrintedPage(const QString& pdfFile, const QString& name) {
    const QString kept = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QFile::remove(kept);
    QFile::copy(pdfFile, kept);
    qInfo().noquote() << "printed page kept in" << kept;
}

bool WaitForJobFile(const QString& file) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        QString error;
        if (QFile(file).size() > 0 && Run("lpstat", {"-o"}, error).trimmed().isEmpty() &&
            error.isEmpty())
            return true;
        QThread::msleep(20);
    }
    return false;
}

QString TurnPrintedPage(const QString& pdfFile, const QString& turnedFile, int degrees) {
    QString error;
    Run("qpdf",
        {QString("--rotate=%1%2").arg(degrees < 0 ? "" : "+").arg(degrees), "--flatten-rotation",
         pdfFile, turnedFile},
        error);
    return error;
}
