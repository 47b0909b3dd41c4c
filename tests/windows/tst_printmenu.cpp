// The print button's menu through the summary window, on a private print server with two
// queues: the preview, the test sheet, the PDF at any time and another printer each make the
// page of the designed print, with every text where the labels are, within 0.1 mm.
#include "frame/SlipPdfFile.h"
#include "support/MessageRecorder.h"
#include "support/PrintedPage.h"
#include "support/PrivateCupsd.h"
#include "support/StandIn.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"
#include "windows/PrinterChoice.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <optional>

Q_DECLARE_METATYPE(MenuRequest)

class TestPrintMenu : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void theMenuOpensFromTheMouseAndTheKeys_data();
    void theMenuOpensFromTheMouseAndTheKeys();
    void everyItemRefusesWhatThePrintButtonRefuses_data();
    void everyItemRefusesWhatThePrintButtonRefuses();
    void thePreviewShowsThePageThatPrints_data();
    void thePreviewShowsThePageThatPrints();
    void theTestSheetCarriesTheSlipAndItsBoxes();
    void aRefusedTestSheetCanBeKeptAsPdf();
    void thePdfIsSavedWithoutPrinting();
    void anotherPrinterGetsThePageAndTheDefaultNothing();

private:
    PrivateCupsd server_;
    std::unique_ptr<MessageRecorder> recorder_;
    QStringList proposedPrinters_; // what the substituted print dialog was opened with
    std::optional<StandIn<PrinterChooser>> printerChooser_;
};

namespace {

const QString InsufficientData = "Dati insufficienti per stampare !! \r..Cliccare su CORREGGI!....";

// Paper at the right, both corrections 26, as the shipped alignment and a click set them.
void ChooseRightPaper() {
    QTest::mouseClick(Radio("RBTND"), Qt::LeftButton);
}

QString PrintedTexts(const QString& pdfFile) {
    QStringList words;
    for (const PrintedWord& word : ReadPrintedPage(pdfFile).words)
        words << word.text;
    return words.join(' ');
}

} // namespace

void TestPrintMenu::initTestCase() {
    QVERIFY(server_.start());
}

void TestPrintMenu::init() {
    WindowTest::init();
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    QFile::remove(server_.jobFile());
    QFile::remove(server_.otherJobFile());
    proposedPrinters_.clear();
    printerChooser_.emplace(SetPrinterChooser, [this](QWidget*, const QString& proposed) {
        proposedPrinters_ << proposed;
        return QStringLiteral("Altra");
    });
    QVERIFY(FillComputeAndShowSummary());
    recorder_ = std::make_unique<MessageRecorder>();
}

void TestPrintMenu::cleanup() {
    recorder_.reset();
    printerChooser_.reset();
    WindowTest::cleanup();
}

void TestPrintMenu::cleanupTestCase() {
    WindowTest::cleanupTestCase();
    server_.stop();
}

void TestPrintMenu::theMenuOpensFromTheMouseAndTheKeys_data() {
    QTest::addColumn<MenuRequest>("request");
    QTest::newRow("right mouse button") << MenuRequest::RightButton;
    QTest::newRow("Shift+F10") << MenuRequest::ShiftF10;
    QTest::newRow("menu key") << MenuRequest::MenuKey;
}

void TestPrintMenu::theMenuOpensFromTheMouseAndTheKeys() {
    QFETCH(MenuRequest, request);
    QMenu* menu = OpenStampaMenu(request);
    QVERIFY(menu);
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text();
    QCOMPARE(items,
             QStringList({QString::fromUtf8("&Anteprima di stampa…"),
                          "Stampa di &prova su carta bianca", QString::fromUtf8("Salva come P&DF…"),
                          QString::fromUtf8("Stampa su un'altra &stampante…")}));
    QTest::keyClick(menu, Qt::Key_Escape);
    QVERIFY(!menu->isVisible());
    // Opening the menu prints nothing.
    QVERIFY(recorder_->messages.isEmpty());
    QVERIFY(PrivateCupsd::queueIsEmpty());
    QVERIFY(!QFile::exists(server_.jobFile()));
}

void TestPrintMenu::everyItemRefusesWhatThePrintButtonRefuses_data() {
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("fault");
    const std::pair<const char*, char> items[] = {
        {"preview", 'a'}, {"test sheet", 'p'}, {"PDF", 'd'}, {"another printer", 's'}};
    for (const auto& [item, letter] : items) {
        QTest::addRow("%s, no tax code", item) << letter << "no tax code";
        QTest::addRow("%s, rate changed since Calcola", item) << letter << "stale";
    }
}

// An empty tax code, or amounts that are not those of the entries, stop every item before any
// dialog opens or anything is printed; the watchdog fails the test if a dialog opens all the
// same.
void TestPrintMenu::everyItemRefusesWhatThePrintButtonRefuses() {
    QFETCH(char, letter);
    QFETCH(QString, fault);
    QString chosenFile;
    const StandIn<PdfFileChooser> chooser(SetPdfFileChooser,
                                          [&chosenFile](QWidget*, const QString& proposed) {
                                              chosenFile = proposed;
                                              return QString();
                                          });
    if (fault == "stale")
        Box("ALIQ1")->setText("6");
    else
        SummaryBox("CODFISC")->setText("");
    QVERIFY(ChooseFromStampaMenu(letter));
    QCOMPARE(recorder_->shown(), QStringList{"Plain Quotario: " +
                                             (fault == "stale" ? StaleAmounts : InsufficientData)});
    QVERIFY(chosenFile.isEmpty());
    QVERIFY(proposedPrinters_.isEmpty());
    QCOMPARE(ReportText(SlipLabelId::QRCCNR1), QString("QRCCNR1"));
    QVERIFY(PrivateCupsd::queueIsEmpty());
}

// The preview shows one whole page; what it paints, put into a PDF, is the page that prints.
// Its "Stampa" prints that page on the default printer, as the print button does; "Chiudi"
// prints nothing.
void TestPrintMenu::thePreviewShowsThePageThatPrints_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("closed") << QString("CloseBtn");
    QTest::newRow("printed") << QString("PrintBtn");
}

void TestPrintMenu::thePreviewShowsThePageThatPrints() {
    QFETCH(QString, button);
    ChooseRightPaper();
    const QString file = testFile("preview.pdf");
    bool seen = false;
    int pages = 0;
    QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
    int looks = 0;
    std::function<void()> look = [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        auto* view = dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
        if (!view || !dialog->isVisible()) {
            if (++looks < 250)
                QTimer::singleShot(20, look);
            return;
        }
        seen = true;
        pages = view->pageCount();
        zoom = view->zoomMode();
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(file);
        emit view->paintRequested(&pdf);
        QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
    };
    QTimer::singleShot(0, look);
    QVERIFY(ChooseFromStampaMenu('a'));
    QVERIFY(seen);
    QCOMPARE(pages, 1);
    QCOMPARE(zoom, QPrintPreviewWidget::FitInView);
    const QStringList faults = CheckPrintedPage(file, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QVERIFY2(recorder_->texts().isEmpty(), qPrintable(recorder_->texts().join(" | ")));
    if (button == "CloseBtn") {
        QVERIFY(!QFile::exists(server_.jobFile()));
        return;
    }
    const QString job = server_.jobFile();
    QVERIFY2(WaitForJobFile(job), "the preview's print did not reach the default queue");
    const QStringList printedFaults = CheckPrintedPage(job, QRFM->QREP);
    QVERIFY2(printedFaults.isEmpty(), qPrintable(printedFaults.join('\n')));
}

void TestPrintMenu::theTestSheetCarriesTheSlipAndItsBoxes() {
    ChooseRightPaper();
    QVERIFY(ChooseFromStampaMenu('p'));
    QVERIFY2(recorder_->texts().isEmpty(), qPrintable(recorder_->texts().join(" | ")));
    const QString job = server_.jobFile();
    QVERIFY2(WaitForJobFile(job), "the test sheet did not reach the default queue");
    QCOMPARE(QRFM->QREP.Label(SlipLabelId::QRCCNR1).top, 26 - 10 + 406 + 24);
    KeepPrintedPage(job, "test-sheet.pdf");

    QStringList faults = CheckPrintedPage(job, QRFM->QREP, OtherTexts::Allowed);
    faults << CheckBoxOutlines(job, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    const QString texts = PrintedTexts(job);
    for (const char* legend : {"Carta a destra", "Correzione verticale: 26",
                               "Correzione orizzontale: 26", "1 passo = 0,26 mm"})
        QVERIFY2(texts.contains(legend), qPrintable(texts));

    // The plain slip carries no outline: the test sheet's boxes are its own.
    const QString slip = testFile("slip.pdf");
    const StandIn<PdfFileChooser> chooser(SetPdfFileChooser,
                                          [&slip](QWidget*, const QString&) { return slip; });
    QVERIFY(ChooseFromStampaMenu('d'));
    QVERIFY(!CheckBoxOutlines(slip, QRFM->QREP).isEmpty());
}

// The default queue rejects jobs: the test sheet is offered as a PDF, and the PDF is the sheet.
void TestPrintMenu::aRefusedTestSheetCanBeKeptAsPdf() {
    const auto accept = qScopeGuard([this] { server_.setAcceptingJobs(true); });
    QVERIFY(server_.setAcceptingJobs(false));
    const QString file = testFile("sheet.pdf");
    const StandIn<PdfFileChooser> chooser(SetPdfFileChooser,
                                          [&file](QWidget*, const QString&) { return file; });
    QVERIFY(ChooseFromStampaMenu('p'));
    QCOMPARE(recorder_->shown(),
             QStringList{QString::fromUtf8(
                 "Question Quotario: La stampante \"Quotario\" non ha accettato la stampa: il "
                 "bollettino non è stato stampato.\r"
                 "Vuoi salvarlo come file PDF, da stampare in seguito?")});
    const QStringList faults = CheckBoxOutlines(file, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestPrintMenu::thePdfIsSavedWithoutPrinting() {
    ChooseRightPaper();
    const QString file = testFile("kept.pdf");
    QStringList proposed;
    const StandIn<PdfFileChooser> chooser(SetPdfFileChooser, [&](QWidget*, const QString& path) {
        proposed << path;
        return file;
    });
    QVERIFY(ChooseFromStampaMenu('d'));
    QCOMPARE(proposed, QStringList{ProposedSlipPdfPath()});
    QVERIFY(recorder_->messages.isEmpty()); // no question: the user asked for the file
    const QStringList faults = CheckPrintedPage(file, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QVERIFY(PrivateCupsd::queueIsEmpty());
    QVERIFY(!QFile::exists(server_.jobFile()));

    // A file that cannot be written says so, as the offer does.
    const StandIn<PdfFileChooser> unwritable(
        SetPdfFileChooser, [this](QWidget*, const QString&) { return testFile("no/such.pdf"); });
    QVERIFY(ChooseFromStampaMenu('d'));
    QCOMPARE(recorder_->texts(),
             QStringList{"Impossibile scrivere il file PDF\r" + testFile("no/such.pdf") +
                         QString::fromUtf8("\rIl bollettino non è stato salvato.")});
}

// The page reaches the chosen queue and the default one gets nothing; the next time the dialog
// starts from that choice, and the alignment file keeps its five keys.
void TestPrintMenu::anotherPrinterGetsThePageAndTheDefaultNothing() {
    ChooseRightPaper();
    QVERIFY(ChooseFromStampaMenu('s'));
    QVERIFY2(recorder_->texts().isEmpty(), qPrintable(recorder_->texts().join(" | ")));
    QVERIFY2(WaitForJobFile(server_.otherJobFile()), "the page did not reach the other queue");
    QVERIFY(!QFile::exists(server_.jobFile()));
    const QStringList faults = CheckPrintedPage(server_.otherJobFile(), QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    QVERIFY(ChooseFromStampaMenu('s'));
    QCOMPARE(proposedPrinters_, QStringList({QString(), "Altra"}));
    QVERIFY(WaitForJobFile(server_.otherJobFile()));
    QVERIFY(!QFile::exists(server_.jobFile()));
    QCOMPARE(ReadBytes(testFile("Allinea.ini")), ShippedAlignment);

    // The plain click still prints at once on the default printer.
    PressStampa();
    QVERIFY2(WaitForJobFile(server_.jobFile()), "the plain click did not print on the default");
    QCOMPARE(proposedPrinters_.size(), 2);
}

QUOTARIO_GUI_TEST_MAIN(TestPrintMenu)
#include "tst_printmenu.moc"
