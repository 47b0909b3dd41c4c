// "Stampa il bollettino" pressed in the summary window, on a system with no print server: the
// essential texts, the errors that end the print, where the labels go, and the page that the
// user may keep as a PDF file instead (read back and checked like a printed one).
#include "frame/SlipPdfFile.h"
#include "rules/SlipPlacement.h"
#include "support/DataRows.h"
#include "support/MessageRecorder.h"
#include "support/PrintedPage.h"
#include "support/ProgramErrorLog.h"
#include "support/StandIn.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

class TestPrintSlip : public WindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void anEmptyEssentialTextStopsThePrint_data();
    void anEmptyEssentialTextStopsThePrint();
    void unconvertibleTextsStopThePrintAndKeepTheEntries_data();
    void unconvertibleTextsStopThePrintAndKeepTheEntries();
    void correctionsThatPutTheSlipOffTheSheetPrintNothing_data();
    void correctionsThatPutTheSlipOffTheSheetPrintNothing();
    void aFirstRunWithoutPositionPrintsAtTheDesignPlaces();
    void runsInARowPlaceAnewAndKeepTheLastPlaces();
    void withNoPrinterThePageCanBeKeptAsPdf();
    void aDeclinedOrCancelledOfferWritesNothing_data();
    void aDeclinedOrCancelledOfferWritesNothing();
    void aPdfThatCannotBeWrittenIsReported();
    void theOfferIsARealQuestionInItalian();
    void theRealSaveDialogProposesTheDocumentsFolder();

private:
    void choose(const char* radio, const QString& vertical, const QString& horizontal);

    std::unique_ptr<MessageRecorder> recorder_;
    std::unique_ptr<ProgramErrorLog> errors_; // what reached the error handler, by its own text
    QStringList chosen_;                      // the proposed paths the save dialog was opened with
    std::optional<StandIn<PdfFileChooser>> chooser_;
    QString chooserAnswer_; // the file the substituted dialog returns
    QWidget* chooserParent_ = nullptr;
};

Q_DECLARE_METATYPE(MessageKind)

using enum SlipLabelId;

namespace {

const QString InsufficientData = "Dati insufficienti per stampare !! \r..Cliccare su CORREGGI!....";
const QString OffSheet = QString::fromUtf8(
    "Le correzioni dell'allineamento portano il bollettino fuori dal foglio: il bollettino non è "
    "stato stampato.\rControllare le correzioni e riprovare.");

QList<std::pair<int, int>> Places(const SlipReport& report) {
    QList<std::pair<int, int>> places;
    for (const SlipLabel& label : report.Labels())
        places.append({label.top, label.left});
    return places;
}

QList<std::pair<int, int>> DesignPlaces() {
    return Places(SlipReport());
}

QStringList Texts(const SlipReport& report) {
    QStringList texts;
    for (const SlipLabel& label : report.Labels())
        texts.append(QString::fromStdString(label.text));
    return texts;
}

} // namespace

void TestPrintSlip::initTestCase() {
    QVERIFY2(qEnvironmentVariable("CUPS_SERVER").startsWith("/nonexistent"),
             "run with CUPS_SERVER pointing nowhere");
}

void TestPrintSlip::init() {
    WindowTest::init();
    errors_ = std::make_unique<ProgramErrorLog>(ErrorsGoOn::ToMainWindow);
    QVERIFY(QDir().mkpath(testFile("out")));
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));

    chosen_.clear();
    chooserParent_ = nullptr;
    chooserAnswer_ = testFile("out/Bollettino ICI.pdf");
    chooser_.emplace(SetPdfFileChooser, [this](QWidget* parent, const QString& proposed) {
        chooserParent_ = parent;
        chosen_.append(proposed);
        return chooserAnswer_;
    });
    QVERIFY(FillComputeAndShowSummary());
    recorder_ = std::make_unique<MessageRecorder>();
}

void TestPrintSlip::cleanup() {
    recorder_.reset();
    chooser_.reset();
    errors_.reset();
    WindowTest::cleanup();
}

void TestPrintSlip::choose(const char* radio, const QString& vertical, const QString& horizontal) {
    if (radio)
        QTest::mouseClick(Radio(radio), Qt::LeftButton);
    SummaryEdit("Edit1")->setText(vertical);
    SummaryEdit("Edit2")->setText(horizontal);
}

void TestPrintSlip::anEmptyEssentialTextStopsThePrint_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("stops");
    for (const char* box : {"CCNR", "IMPLETT", "INTEST1", "NOME", "Comune", "CODFISC"})
        QTest::addRow("%s empty", box) << box << "" << true;
    AddRow("CCNR of blanks", "CCNR", "   ", false);
    AddRow("CODFISC of one blank", "CODFISC", " ", false);
    for (const char* box : {"INTEST2", "Imp", "CENT", "FABB", "ANNO", "ACC", "SALDO"})
        QTest::addRow("%s empty is not tested", box) << box << "" << false;
}

void TestPrintSlip::anEmptyEssentialTextStopsThePrint() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(bool, stops);
    choose("RBTND", "26", "26");
    SummaryBox(box)->setText(text);
    recorder_->answers = {MessageAnswer::No};
    PressStampa();
    QCOMPARE(recorder_->shown(), QStringList{stops ? "Plain Quotario: " + InsufficientData
                                                   : "Question Quotario: " + NoPrinterMessage});
    QVERIFY(errors_->texts.isEmpty());
    if (stops) {
        // Nothing copied, nothing placed.
        QCOMPARE(Texts(QRFM->QREP), Texts(SlipReport()));
        QCOMPARE(Places(QRFM->QREP), DesignPlaces());
    } else {
        QCOMPARE(QRFM->QREP.Label(QRCCNR1).top, 26 - 10 + 406 + 24);
    }
    QVERIFY(chosen_.isEmpty());
    QVERIFY(Form2->isVisible());
}

// A deduction or corrections that do not convert stop the print before anything is copied,
// with a message that says how to mend them; the entries stay.
void TestPrintSlip::unconvertibleTextsStopThePrintAndKeepTheEntries_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("deduction"); // the summary's DETRAZ
    QTest::addColumn<QString>("message");   // empty: the print goes on
    const QString deductionMessage = QString::fromUtf8(
        "La detrazione \"12a\" non è un numero: il bollettino non è stato stampato.\rCliccare "
        "su CORREGGI, correggere la detrazione e poi cliccare su Calcola.");
    const QString correctionsMessage = QString::fromUtf8(
        "Le correzioni dell'allineamento non sono numeri interi: il bollettino non è stato "
        "stampato.\rCliccare su \"Carica valori di DEFAULT\" e riprovare.");
    AddRow("deduction no number", "RBTNS", "26", "26", "12a", deductionMessage);
    AddRow("no file: default value, centre", "RBTNC", "default value", "default value", "200",
           correctionsMessage);
    AddRow("bad vertical only, left", "RBTNS", "", "26", "200", correctionsMessage);
    AddRow("bad horizontal only, right", "RBTND", "30", "2x", "200", correctionsMessage);
    AddRow("no position: the corrections are not read", "", "default value", "default value", "200",
           "");
}

void TestPrintSlip::unconvertibleTextsStopThePrintAndKeepTheEntries() {
    QFETCH(QString, radio);
    QFETCH(QString, vertical);
    QFETCH(QString, horizontal);
    QFETCH(QString, deduction);
    QFETCH(QString, message);
    choose(radio.isEmpty() ? nullptr : radio.toLatin1().constData(), vertical, horizontal);
    SummaryBox("DETRAZ")->setText(deduction);
    recorder_->answers = {MessageAnswer::No};
    PressStampa();
    QVERIFY(errors_->texts.isEmpty());
    QVERIFY(chosen_.isEmpty());
    QCOMPARE(Box("REND1")->text(), QString("500"));
    if (!message.isEmpty()) {
        QCOMPARE(recorder_->shown(), QStringList{"Plain Quotario: " + message});
        QCOMPARE(Texts(QRFM->QREP), Texts(SlipReport()));
        QCOMPARE(Places(QRFM->QREP), DesignPlaces());
        return;
    }
    QCOMPARE(recorder_->texts(), QStringList{NoPrinterMessage});
    QCOMPARE(ReportText(QRDETRAZ11), QString("20000"));
    QCOMPARE(Places(QRFM->QREP), DesignPlaces());
}

void TestPrintSlip::correctionsThatPutTheSlipOffTheSheetPrintNothing_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<QString>("horizontal");
    AddRow("largest vertical, right", "RBTND", "2147483647", "26");
    AddRow("smallest horizontal, left", "RBTNS", "26", "-2147483648");
    AddRow("right part beyond the right edge", "RBTNC", "26", "600");
    AddRow("below the sheet, centre", "RBTNC", "600", "26");
}

void TestPrintSlip::correctionsThatPutTheSlipOffTheSheetPrintNothing() {
    QFETCH(QString, radio);
    QFETCH(QString, vertical);
    QFETCH(QString, horizontal);
    choose(radio.toLatin1().constData(), vertical, horizontal);
    PressStampa();
    // The refusal says why, and no offer to keep the page follows: there is no page to keep.
    QCOMPARE(recorder_->shown(), QStringList{"Plain Quotario: " + OffSheet});
    QVERIFY(errors_->texts.isEmpty());
    QVERIFY(chosen_.isEmpty());
    QVERIFY(Form2->isVisible());

    // Corrections back in range: the same run prints again.
    choose(radio.toLatin1().constData(), "60", "60");
    recorder_->answers = {MessageAnswer::No};
    PressStampa();
    QCOMPARE(recorder_->texts().last(), NoPrinterMessage);
}

void TestPrintSlip::aFirstRunWithoutPositionPrintsAtTheDesignPlaces() {
    choose(nullptr, "40", "40");
    PressStampa();
    QCOMPARE(recorder_->texts(), QStringList({NoPrinterMessage}));
    QCOMPARE(Places(QRFM->QREP), DesignPlaces());
    QCOMPARE(ReportText(QRCCNR11), QString("12345678"));
    QCOMPARE(ReportText(QRINTEST1), QString("COMUNE DI ROMA SERVIZIO TESORERIA"));
    QCOMPARE(ReportText(QRIMPLETT1), SummaryBox("IMPLETT")->text());
    QCOMPARE(ReportText(QRDETRAZ1), QString("200"));
    QCOMPARE(ReportText(QRDETRAZ11), QString("20000"));
    const QStringList faults = CheckPrintedPage(chooserAnswer_, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestPrintSlip::runsInARowPlaceAnewAndKeepTheLastPlaces() {
    recorder_->answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    choose("RBTND", "60", "60");
    PressStampa();
    // The lowest label still ends inside the band's 793 units.
    QCOMPARE(QRFM->QREP.Label(QRDETRAZ1).top, 760);
    QCOMPARE(QRFM->QREP.Label(QRDETRAZ1).left, 162);

    choose("RBTNS", "10", "10");
    PressStampa();
    QCOMPARE(QRFM->QREP.Label(QRCCNR1).top, 24);
    QCOMPARE(QRFM->QREP.Label(QRCCNR1).left, 112);
    for (const SlipLabel& label : QRFM->QREP.Labels()) {
        QCOMPARE(label.top, label.design->row);
        QCOMPARE(label.left, label.design->column);
    }
    const QList<std::pair<int, int>> placedLast = Places(QRFM->QREP);

    // No position: the new texts print where the last placement put the labels.
    Radio("RBTNS")->setAutoExclusive(false);
    Radio("RBTNS")->setChecked(false);
    SummaryBox("CCNR")->setText("87654321");
    choose(nullptr, "0", "0");
    PressStampa();
    QCOMPARE(Places(QRFM->QREP), placedLast);
    QCOMPARE(ReportText(QRCCNR1), QString("87654321"));
    QCOMPARE(recorder_->texts(), QStringList(3, NoPrinterMessage));
    QVERIFY(errors_->texts.isEmpty());
}

void TestPrintSlip::withNoPrinterThePageCanBeKeptAsPdf() {
    choose("RBTNC", "26", "26");
    PressStampa();
    QCOMPARE(recorder_->shown(), QStringList{"Question Quotario: " + NoPrinterMessage});
    QCOMPARE(chosen_, QStringList({ProposedSlipPdfPath()}));
    QVERIFY(chosen_[0].endsWith("/Bollettino ICI.pdf"));
    QCOMPARE(chooserParent_, Form2);

    // The worked place of the centre position with both corrections 26.
    QCOMPARE(QRFM->QREP.Label(QRCCNR1).top, 26 - 10 + 203 + 24);
    QCOMPARE(QRFM->QREP.Label(QRCCNR1).left, 128);
    QCOMPARE(QRFM->QREP.Label(QRCENT11).left, 1082);
    const QStringList faults = CheckPrintedPage(chooserAnswer_, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestPrintSlip::aDeclinedOrCancelledOfferWritesNothing_data() {
    QTest::addColumn<bool>("declined");
    AddRow("answered No", true);
    AddRow("save dialog cancelled", false);
}

void TestPrintSlip::aDeclinedOrCancelledOfferWritesNothing() {
    QFETCH(bool, declined);
    choose("RBTNS", "26", "26");
    if (declined)
        recorder_->answers = {MessageAnswer::No};
    else
        chooserAnswer_.clear();
    PressStampa();
    QCOMPARE(recorder_->texts(), QStringList({NoPrinterMessage}));
    QCOMPARE(chosen_.size(), declined ? 0 : 1);
    QVERIFY(QDir(testFile("out")).isEmpty());
}

void TestPrintSlip::aPdfThatCannotBeWrittenIsReported() {
    chooserAnswer_ = testFile("no-such-folder/Bollettino ICI.pdf");
    PressStampa();
    QCOMPARE(recorder_->shown(),
             QStringList({"Question Quotario: " + NoPrinterMessage,
                          "Plain Quotario: Impossibile scrivere il file PDF\r" + chooserAnswer_ +
                              QString::fromUtf8("\rIl bollettino non è stato salvato.")}));
    QVERIFY(!QFile::exists(chooserAnswer_));
}

void TestPrintSlip::theOfferIsARealQuestionInItalian() {
    recorder_.reset();
    SeenBox seen;
    AnswerNextMessageBox(&seen, "&No");
    PressStampa();
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Quotario"));
    QCOMPARE(seen.text, QString(NoPrinterMessage).replace('\r', '\n'));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(seen.buttons, QStringList({QString::fromUtf8("&Sì"), "&No"}));
    QCOMPARE(seen.defaultButton, QString::fromUtf8("&Sì"));
    QCOMPARE(seen.escapeButton, QString("&No"));
    QVERIFY(chosen_.isEmpty());
}

void TestPrintSlip::theRealSaveDialogProposesTheDocumentsFolder() {
    const StandIn<PdfFileChooser> realDialog(SetPdfFileChooser, {});
    QString title;
    QStringList selected;
    int looks = 0;
    std::function<void()> look = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (++looks < 250) // five seconds; then the watchdog has its say
                QTimer::singleShot(20, look);
            return;
        }
        title = dialog->windowTitle();
        selected = dialog->selectedFiles();
        dialog->reject();
    };
    QTimer::singleShot(0, look);
    PressStampa();
    QTRY_VERIFY(looks >= 250 || !title.isEmpty());
    QCOMPARE(title, QString("Salva il bollettino come PDF"));
    QCOMPARE(selected, QStringList({ProposedSlipPdfPath()}));
    QCOMPARE(recorder_->texts(), QStringList({NoPrinterMessage}));
}

QUOTARIO_GUI_TEST_MAIN(TestPrintSlip)
#include "tst_printslip.moc"
