// The slip page printed for real: through a private CUPS server on its default queue (as the
// program prints) and into a PDF file; every text is read back from the PDF with poppler and
// must lie within 0.1 mm of its label's place.
#include "PrintedPage.h"
#include "SlipCopy.h"
#include "SlipPlacement.h"
#include "SlipPrinting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cmath>

Q_DECLARE_METATYPE(PaperPlacement)

namespace {

constexpr double PointsPerUnit = 72.0 / 96.0;
constexpr double BandTopPoints = 0.2 / 25.4 * 72.0;
constexpr double Tolerance = 0.1 / 25.4 * 72.0; // 0.1 mm

SlipData FilledSlip() {
    SlipData slip;
    slip.CCNR = "12345678";
    slip.Imp = "1131";
    slip.CENT = "25";
    slip.IMPLETT = "#millecentotrentuno/25";
    slip.INTEST1 = "COMUNE DI ROMA";
    slip.INTEST2 = "SERV. TESORERIA";
    slip.NOME = "ROSSI MARIO ROMA VIA APPIA 12";
    slip.Comune = "ROMA";
    slip.CODFISC = "RSSMRA60A01H501U";
    slip.FABB = "2";
    slip.ANNO = "07";
    slip.ACC = "X";
    slip.SALDO = "";
    slip.ABPRINC = "1000,5";
    slip.ALTRIFABB = "130,75";
    slip.DETRAZ = "103,29";
    return slip;
}

SlipReport PlacedReport(PaperPlacement placement, int vertical, int horizontal) {
    SlipReport report;
    CopySlipToReport(FilledSlip(), report);
    PlaceSlip(report, placement, std::to_string(vertical), std::to_string(horizontal));
    return report;
}

PrintedWord* FindWord(QList<PrintedWord>& words, const QString& text, double x, double top,
                      bool byCentre) {
    for (PrintedWord& word : words) {
        const double wordX = byCentre ? (word.xMin + word.xMax) / 2 : word.xMin;
        if (!word.matched && word.text == text && std::abs(wordX - x) <= Tolerance &&
            std::abs(word.yMin - top) <= Tolerance)
            return &word;
    }
    return nullptr;
}

// A proportional text starts at the label's left; its words follow one another on the line.
void CheckProportional(const SlipLabel& label, double top, QList<PrintedWord>& words,
                       QStringList& faults) {
    const QStringList tokens = QString::fromStdString(label.text).split(' ', Qt::SkipEmptyParts);
    PrintedWord* previous = FindWord(words, tokens.first(), label.left * PointsPerUnit, top, false);
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
            if (!word.matched && word.text == tokens[i] && std::abs(word.yMin - top) <= Tolerance &&
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
void CheckSpaced(const SlipLabel& label, double top, QList<PrintedWord>& words,
                 QStringList& faults) {
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
        PrintedWord* word = FindWord(words, character, centre, top, true);
        if (word)
            word->matched = true;
        else if (start + cell * (i + 1) <= SlipPageWidthUnits)
            faults << QString("%1: '%2' not centred at %3 pt, top %4 pt")
                          .arg(design.name.data(), character)
                          .arg(centre)
                          .arg(top);
    }
}

// Every text where its label says, one landscape A4 page, nothing else on it.
QStringList CheckPrintedPage(const QString& pdfFile, const SlipReport& report) {
    PrintedPage page = ReadPrintedPage(pdfFile);
    if (!page.error.isEmpty())
        return {page.error};
    QStringList faults;
    if (page.pages != 1)
        faults << QString("%1 pages").arg(page.pages);
    if (std::abs(page.width - 841.89) > 0.5 || std::abs(page.height - 595.28) > 0.5 ||
        page.rotation != 0)
        faults << QString("page %1 x %2 pt, rotated %3")
                      .arg(page.width)
                      .arg(page.height)
                      .arg(page.rotation);
    for (const SlipLabel& label : report.labels()) {
        if (label.text.empty())
            continue;
        const double top = BandTopPoints + label.top * PointsPerUnit;
        if (label.design->face == SlipFace::Spaziato)
            CheckSpaced(label, top, page.words, faults);
        else
            CheckProportional(label, top, page.words, faults);
    }
    for (const PrintedWord& word : page.words)
        if (!word.matched && word.xMin < page.width)
            faults << QString("unexpected \"%1\" at %2, %3")
                          .arg(word.text)
                          .arg(word.xMin)
                          .arg(word.yMin);
    return faults;
}

bool WaitForJobFile(const QString& file) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        if (QFile(file).size() > 0) {
            QProcess lpstat;
            lpstat.start("lpstat", {"-o"});
            if (lpstat.waitForFinished(10000) && lpstat.exitCode() == 0 &&
                lpstat.readAllStandardOutput().trimmed().isEmpty())
                return true;
        }
        QThread::msleep(20);
    }
    return false;
}

} // namespace

class TestSlipPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void printsOnTheDefaultPrinter_data();
    void printsOnTheDefaultPrinter();
    void printsToAPdfFile();
    void keepsAnOverlongAmountInsideItsBox();
    void reportsAFileThatCannotBeWritten();

private:
    QTemporaryDir m_files;
    QTemporaryDir m_server{"/tmp/quotario-cups-XXXXXX"}; // short: it holds the socket
    bool m_serverStarted = false;

    bool privateCupsd(const QStringList& arguments, QString* output = nullptr);
};

bool TestSlipPrint::privateCupsd(const QStringList& arguments, QString* output) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(QUOTARIO_PRIVATE_CUPSD), arguments);
    const bool done = script.waitForFinished(60000) &&
                      script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    const QString text = QString::fromLocal8Bit(script.readAll());
    if (output)
        *output = text;
    if (!done)
        qWarning().noquote() << "private-cupsd" << arguments.join(' ') << "failed:" << text;
    return done;
}

void TestSlipPrint::initTestCase() {
    QVERIFY(m_files.isValid());
    QVERIFY(m_server.isValid());
    const QString dir = m_server.path();
    QVERIFY(privateCupsd({"start", dir, QString::number(QCoreApplication::applicationPid())}));
    m_serverStarted = true;

    // Only this test process talks to the private server.
    QString settings;
    QVERIFY(privateCupsd({"env", dir}, &settings));
    for (const QString& line : settings.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf('=');
        qputenv(line.left(equals).toLocal8Bit().constData(), line.mid(equals + 1).toLocal8Bit());
    }
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
}

void TestSlipPrint::cleanupTestCase() {
    if (m_serverStarted)
        privateCupsd({"stop", m_server.path()});
}

void TestSlipPrint::printsOnTheDefaultPrinter_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<int>("vertical");
    QTest::addColumn<int>("horizontal");
    const std::pair<const char*, PaperPlacement> positions[] = {{"left", PaperPlacement::Left},
                                                                {"centre", PaperPlacement::Centre},
                                                                {"right", PaperPlacement::Right}};
    for (const auto& [name, placement] : positions) {
        for (int correction : {0, 10, 26, 60})
            QTest::addRow("%s %d", name, correction) << placement << correction << correction;
        QTest::addRow("%s 0/60", name) << placement << 0 << 60;
    }
    QTest::newRow("no paper position: design places") << PaperPlacement::None << 26 << 26;
}

void TestSlipPrint::printsOnTheDefaultPrinter() {
    QFETCH(PaperPlacement, placement);
    QFETCH(int, vertical);
    QFETCH(int, horizontal);
    const SlipReport report = PlacedReport(placement, vertical, horizontal);
    const QString job = m_server.filePath("out/job.pdf");
    QFile::remove(job);

    const SlipPrintResult result = PrintSlipOnDefaultPrinter(report);
    QCOMPARE(result.status, SlipPrintStatus::Printed);
    QCOMPARE(result.target, QString("Quotario"));
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");

    const QStringList faults = CheckPrintedPage(job, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    if (placement == PaperPlacement::Right && vertical == 26) {
        // Kept beside the test for a look at the page (pdftoppm -png).
        const QString kept =
            QDir(QCoreApplication::applicationDirPath()).filePath("printed-right-26.pdf");
        QFile::remove(kept);
        QFile::copy(job, kept);
        qInfo().noquote() << "printed page kept in" << kept;
    }
}

void TestSlipPrint::printsToAPdfFile() {
    const SlipReport report = PlacedReport(PaperPlacement::Centre, 26, 26);
    const QString file = m_files.filePath("bollettino.pdf");
    const SlipPrintResult result = PrintSlipToPdf(report, file);
    QCOMPARE(result.status, SlipPrintStatus::Printed);
    QCOMPARE(result.target, file);
    const QStringList faults = CheckPrintedPage(file, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    // Arial's metric twin for the proportional texts, a bold monospace face for the spaced ones.
    QProcess pdffonts;
    pdffonts.start("pdffonts", {file});
    QVERIFY(pdffonts.waitForFinished(30000));
    const QString fonts = QString::fromUtf8(pdffonts.readAllStandardOutput());
    QVERIFY2(fonts.contains("LiberationSans-Bold") && fonts.contains("LiberationMono-Bold"),
             qPrintable(fonts));
}

// Nine digits in the eight cells of the euros box: all of them print, inside the box.
void TestSlipPrint::keepsAnOverlongAmountInsideItsBox() {
    SlipReport report = PlacedReport(PaperPlacement::Left, 10, 10);
    report.label("QRIMP11").text = "123456789";
    const QString file = m_files.filePath("overlong.pdf");
    QCOMPARE(PrintSlipToPdf(report, file).status, SlipPrintStatus::Printed);
    const QStringList faults = CheckPrintedPage(file, report);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    const PrintedPage page = ReadPrintedPage(file);
    const SlipLabel& label = report.label("QRIMP11");
    const double boxLeft = label.left * PointsPerUnit;
    const double boxRight = (label.left + label.design->width) * PointsPerUnit;
    int digits = 0;
    for (const PrintedWord& word : page.words)
        if (std::abs(word.yMin - (BandTopPoints + label.top * PointsPerUnit)) <= Tolerance &&
            word.xMin >= boxLeft && word.xMax <= boxRight)
            ++digits;
    QCOMPARE(digits, 9);
}

void TestSlipPrint::reportsAFileThatCannotBeWritten() {
    const QString file = m_files.filePath("no-such-folder/bollettino.pdf");
    QCOMPARE(PrintSlipToPdf(SlipReport(), file).status, SlipPrintStatus::NotStarted);
}

QTEST_MAIN(TestSlipPrint)
#include "tst_slipprint.moc"
