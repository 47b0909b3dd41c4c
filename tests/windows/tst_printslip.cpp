// "Stampa il bollettino" pressed in the summary window, on a system with no print server: the
// essential texts, the errors that end the print, where the labels go, and the page that the
// user may keep as a PDF file instead (read back and checked like a printed one).
#include "frame/HandlerGuard.h"
#include "frame/SlipPdfFile.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "support/MessageRecorder.h"
#include "support/ModalBoxes.h"
#include "support/PrintedPage.h"
#include "support/TestMain.h"
#include "support/WindowSetFixture.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

class TestPrintSlip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase() { StopWindowSet(); }

    void anEmptyEssentialTextStopsThePrint_data();
    void anEmptyEssentialTextStopsThePrint();
    void aDeductionThatIsNoNumberReachesAppException();
    void aBadCorrectionEndsThePrint_data();
    void aBadCorrectionEndsThePrint();
    void aFirstRunWithoutPositionPrintsAtTheDesignPlaces();
    void runsInARowPlaceAnewAndKeepTheLastPlaces();
    void withNoPrinterThePageCanBeKeptAsPdf();
    void aDeclinedOrCancelledOfferWritesNothing_data();
    void aDeclinedOrCancelledOfferWritesNothing();
    void aPdfThatCannotBeWrittenIsReported();
    void theOfferIsARealQuestionInItalian();
    void theRealSaveDialogProposesTheDocumentsFolder();

private:
    // Presses the print button as the user does; the offer of a PDF is answered by `answer`.
    void pressStampa();
    void choose(const char* radio, const QString& vertical, const QString& horizontal);

    ModalWatchdog watchdog_;
    std::unique_ptr<QTemporaryDir> directory_;
    std::unique_ptr<MessageRecorder> recorder_;
    QStringList errors_;    // what reached the error handler, by its own text
    QStringList chosen_;    // the proposed paths the save dialog was opened with
    QString chooserAnswer_; // the file the substituted dialog returns
    QWidget* chooserParent_ = nullptr;
};

Q_DECLARE_METATYPE(MessageKind)

using enum SlipLabelId;

namespace {

const QString NoPrinterMessage =
    QString::fromUtf8("Nessuna stampante disponibile: il bollettino non è stato stampato.\r"
                      "Vuoi salvarlo come file PDF, da stampare in seguito?");
const QString InsufficientData = "Dati insufficienti per stampare !! \r..Cliccare su CORREGGI!....";

QLabel* SummaryBox(const QString& name) {
    return Form2->findChild<QLabel*>(name);
}

// The main window filled in and computed, so that every slip text has its value.
bool FillAndCompute() {
    Box("EdCCNR")->setText("12345678");
    Box("EdIntest1")->setText("COMUNE DI ROMA");
    Box("EdIntest2")->setText("SERVIZIO TESORERIA");
    Box("EdNome")->setText("ROSSI MARIO ROMA VIA ROMA 1");
    Box("EdComun")->setText("ROMA");
    Box("EdCodFisc")->setText("RSSMRA80A01H501U");
    Box("EdNum")->setText("2");
    Box("EdAnno")->setText("07");
    const char* boxes[] = {"REND1", "RIVAL1", "ALIQ1", "DETR1", "PERC1", "MESI1",
                           "Edit1", "Edit2",  "Edit3", "Edit5", "Edit6"};
    const char* texts[] = {"500", "5", "5", "200", "100", "12", "500", "5", "5", "100", "12"};
    for (int i = 0; i < 11; ++i)
        Box(boxes[i])->setText(texts[i]);
    QTest::mouseClick(Button("CalcolaBtn"), Qt::LeftButton);
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    return Form1->isHidden() && QTest::qWaitForWindowActive(Form2);
}

QList<std::pair<int, int>> Places(const SlipReport& report) {
    QList<std::pair<int, int>> places;
    for (const SlipLabel& label : report.labels())
        places.append({label.top, label.left});
    return places;
}

QList<std::pair<int, int>> DesignPlaces() {
    return Places(SlipReport());
}

QStringList Texts(const SlipReport& report) {
    QStringList texts;
    for (const SlipLabel& label : report.labels())
        texts.append(QString::fromStdString(label.text));
    return texts;
}

QString Text(SlipLabelId label) {
    return QString::fromStdString(QRFM->QREP.label(label).text);
}

} // namespace

void TestPrintSlip::initTestCase() {
    QVERIFY2(qEnvironmentVariable("CUPS_SERVER").startsWith("/nonexistent"),
             "run with CUPS_SERVER pointing nowhere");
}

void TestPrintSlip::init() {
    QVERIFY(StartWindowSet());
    errors_.clear();
    SetProgramErrorHandler([this](QObject* sender, std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            errors_.append(QString::fromUtf8(e.what()));
        }
        Form1->AppException(sender, error);
    });
    directory_ = std::make_unique<QTemporaryDir>();
    QVERIFY(directory_->isValid());
    QDir().mkpath(directory_->filePath("out"));
    QFile alignment(directory_->filePath("Allinea.ini"));
    QVERIFY(alignment.open(QIODevice::WriteOnly));
    alignment.write("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n");
    alignment.close();
    Form2->SetAlignmentDirectory(directory_->path().toStdString());

    chosen_.clear();
    chooserParent_ = nullptr;
    chooserAnswer_ = directory_->filePath("out/Bollettino ICI.pdf");
    SetPdfFileChooser([this](QWidget* parent, const QString& proposed) {
        chooserParent_ = parent;
        chosen_.append(proposed);
        return chooserAnswer_;
    });
    QVERIFY(FillAndCompute());
    recorder_ = std::make_unique<MessageRecorder>();
    watchdog_.start();
}

void TestPrintSlip::cleanup() {
    recorder_.reset();
    SetPdfFileChooser({});
    QVERIFY2(watchdog_.closedDialogs().isEmpty(),
             qPrintable(watchdog_.closedDialogs().join(QLatin1String(" | "))));
}

void TestPrintSlip::pressStampa() {
    QTest::mouseClick(Form2->findChild<QToolButton*>("StampaBtn1"), Qt::LeftButton);
}

void TestPrintSlip::choose(const char* radio, const QString& vertical, const QString& horizontal) {
    if (radio)
        QTest::mouseClick(Form2->findChild<QRadioButton*>(radio), Qt::LeftButton);
    Form2->findChild<QLineEdit*>("Edit1")->setText(vertical);
    Form2->findChild<QLineEdit*>("Edit2")->setText(horizontal);
}

void TestPrintSlip::anEmptyEssentialTextStopsThePrint_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("stops");
    for (const char* box : {"CCNR", "IMPLETT", "INTEST1", "NOME", "Comune", "CODFISC"})
        QTest::addRow("%s empty", box) << box << "" << true;
    QTest::newRow("CCNR of blanks") << "CCNR"
                                    << "   " << false;
    QTest::newRow("CODFISC of one blank") << "CODFISC"
                                          << " " << false;
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
    pressStampa();
    QCOMPARE(recorder_->messages.size(), 1);
    const RecordedMessage& message = recorder_->messages[0];
    QCOMPARE(message.caption, QString("Quotario"));
    QVERIFY(errors_.isEmpty());
    if (stops) {
        QCOMPARE(message.kind, MessageKind::Plain);
        QCOMPARE(message.text, InsufficientData);
        // Nothing copied, nothing placed.
        QCOMPARE(Texts(QRFM->QREP), Texts(SlipReport()));
        QCOMPARE(Places(QRFM->QREP), DesignPlaces());
    } else {
        QCOMPARE(message.kind, MessageKind::Question);
        QCOMPARE(message.text, NoPrinterMessage);
        QCOMPARE(QRFM->QREP.label(QRCCNR1).top, 26 - 10 + 406 + 24);
    }
    QVERIFY(chosen_.isEmpty());
    QVERIFY(Form2->isVisible());
}

void TestPrintSlip::aDeductionThatIsNoNumberReachesAppException() {
    choose("RBTNS", "26", "26");
    SummaryBox("DETRAZ")->setText("12a");
    pressStampa();
    QCOMPARE(errors_, QStringList({"'12a' is not a valid floating point value"}));
    QCOMPARE(recorder_->messages.size(), 1);
    QCOMPARE(recorder_->messages[0].kind, MessageKind::Error);
    QVERIFY(recorder_->messages[0].text.startsWith("ERRORE.........\r"));
    QCOMPARE(Box("REND1")->text(), QString("00,00"));
    QCOMPARE(Box("DETR1")->text(), QString("00,00"));
    QVERIFY(chosen_.isEmpty());
    // The copy went as far as the deduction in cents; nothing was placed.
    QCOMPARE(Text(QRDETRAZ1), QString("12a"));
    QCOMPARE(Text(QRABIT11),
             QString::fromStdString(AmountInCents(SummaryBox("ABPRINC")->text().toStdString())));
    QCOMPARE(Text(QRDETRAZ11), QString("QRDETRAZ11"));
    QCOMPARE(Places(QRFM->QREP), DesignPlaces());
}

void TestPrintSlip::aBadCorrectionEndsThePrint_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("topsMovedBy"); // -1: tops stay at the design places
    QTest::newRow("no file: default value, centre")
        << "RBTNC"
        << "default value"
        << "default value"
        << "'default value' is not a valid integer value" << -1;
    QTest::newRow("bad vertical only, left") << "RBTNS"
                                             << ""
                                             << "26"
                                             << "'' is not a valid integer value" << -1;
    QTest::newRow("bad horizontal only, right: tops already set")
        << "RBTND"
        << "30"
        << "2x"
        << "'2x' is not a valid integer value" << 30 - 10 + 406;
    QTest::newRow("no position: the corrections are not read") << ""
                                                               << "default value"
                                                               << "default value"
                                                               << "" << -1;
}

void TestPrintSlip::aBadCorrectionEndsThePrint() {
    QFETCH(QString, radio);
    QFETCH(QString, vertical);
    QFETCH(QString, horizontal);
    QFETCH(QString, error);
    QFETCH(int, topsMovedBy);
    choose(radio.isEmpty() ? nullptr : radio.toLatin1().constData(), vertical, horizontal);
    recorder_->answers = {MessageAnswer::No};
    pressStampa();
    QCOMPARE(recorder_->messages.size(), 1);
    if (error.isEmpty()) {
        QVERIFY(errors_.isEmpty());
        QCOMPARE(recorder_->messages[0].text, NoPrinterMessage);
    } else {
        QCOMPARE(errors_, QStringList({error}));
        QCOMPARE(recorder_->messages[0].kind, MessageKind::Error);
        QCOMPARE(Box("REND1")->text(), QString("00,00"));
    }
    QVERIFY(chosen_.isEmpty());
    QCOMPARE(Text(QRDETRAZ11), QString("20000"));
    for (const SlipLabel& label : QRFM->QREP.labels()) {
        const int top = topsMovedBy < 0 ? label.design->top : topsMovedBy + label.design->row;
        QCOMPARE(label.top, top);
        QCOMPARE(label.left, label.design->left);
    }
}

void TestPrintSlip::aFirstRunWithoutPositionPrintsAtTheDesignPlaces() {
    choose(nullptr, "40", "40");
    pressStampa();
    QCOMPARE(recorder_->texts(), QStringList({NoPrinterMessage}));
    QCOMPARE(Places(QRFM->QREP), DesignPlaces());
    QCOMPARE(Text(QRCCNR11), QString("12345678"));
    QCOMPARE(Text(QRINTEST1), QString("COMUNE DI ROMA SERVIZIO TESORERIA"));
    QCOMPARE(Text(QRIMPLETT1), SummaryBox("IMPLETT")->text());
    QCOMPARE(Text(QRDETRAZ1), QString("200"));
    QCOMPARE(Text(QRDETRAZ11), QString("20000"));
    const QStringList faults = CheckPrintedPage(chooserAnswer_, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestPrintSlip::runsInARowPlaceAnewAndKeepTheLastPlaces() {
    recorder_->answers = {MessageAnswer::No, MessageAnswer::No, MessageAnswer::No};
    choose("RBTND", "60", "60");
    pressStampa();
    // The lowest label still ends inside the band's 793 units.
    QCOMPARE(QRFM->QREP.label(QRDETRAZ1).top, 760);
    QCOMPARE(QRFM->QREP.label(QRDETRAZ1).left, 162);

    choose("RBTNS", "10", "10");
    pressStampa();
    QCOMPARE(QRFM->QREP.label(QRCCNR1).top, 24);
    QCOMPARE(QRFM->QREP.label(QRCCNR1).left, 112);
    for (const SlipLabel& label : QRFM->QREP.labels()) {
        QCOMPARE(label.top, label.design->row);
        QCOMPARE(label.left, label.design->column);
    }
    const QList<std::pair<int, int>> placedLast = Places(QRFM->QREP);

    // No position: the new texts print where the last placement put the labels.
    Form2->findChild<QRadioButton*>("RBTNS")->setAutoExclusive(false);
    Form2->findChild<QRadioButton*>("RBTNS")->setChecked(false);
    SummaryBox("CCNR")->setText("87654321");
    choose(nullptr, "0", "0");
    pressStampa();
    QCOMPARE(Places(QRFM->QREP), placedLast);
    QCOMPARE(Text(QRCCNR1), QString("87654321"));
    QCOMPARE(recorder_->texts(), QStringList(3, NoPrinterMessage));
    QVERIFY(errors_.isEmpty());
}

void TestPrintSlip::withNoPrinterThePageCanBeKeptAsPdf() {
    choose("RBTNC", "26", "26");
    pressStampa();
    QCOMPARE(recorder_->messages.size(), 1);
    QCOMPARE(recorder_->messages[0].kind, MessageKind::Question);
    QCOMPARE(recorder_->messages[0].caption, QString("Quotario"));
    QCOMPARE(recorder_->messages[0].text, NoPrinterMessage);
    QCOMPARE(chosen_, QStringList({ProposedSlipPdfPath()}));
    QVERIFY(chosen_[0].endsWith("/Bollettino ICI.pdf"));
    QCOMPARE(chooserParent_, Form2);

    // The worked place of the centre position with both corrections 26.
    QCOMPARE(QRFM->QREP.label(QRCCNR1).top, 26 - 10 + 203 + 24);
    QCOMPARE(QRFM->QREP.label(QRCCNR1).left, 128);
    QCOMPARE(QRFM->QREP.label(QRCENT11).left, 1082);
    const QStringList faults = CheckPrintedPage(chooserAnswer_, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestPrintSlip::aDeclinedOrCancelledOfferWritesNothing_data() {
    QTest::addColumn<bool>("declined");
    QTest::newRow("answered No") << true;
    QTest::newRow("save dialog cancelled") << false;
}

void TestPrintSlip::aDeclinedOrCancelledOfferWritesNothing() {
    QFETCH(bool, declined);
    choose("RBTNS", "26", "26");
    if (declined)
        recorder_->answers = {MessageAnswer::No};
    else
        chooserAnswer_.clear();
    pressStampa();
    QCOMPARE(recorder_->texts(), QStringList({NoPrinterMessage}));
    QCOMPARE(chosen_.size(), declined ? 0 : 1);
    QVERIFY(QDir(directory_->filePath("out")).isEmpty());
}

void TestPrintSlip::aPdfThatCannotBeWrittenIsReported() {
    chooserAnswer_ = directory_->filePath("no-such-folder/Bollettino ICI.pdf");
    pressStampa();
    QCOMPARE(recorder_->messages.size(), 2);
    QCOMPARE(recorder_->messages[1].kind, MessageKind::Plain);
    QCOMPARE(recorder_->messages[1].caption, QString("Quotario"));
    QCOMPARE(recorder_->messages[1].text,
             QString::fromUtf8("Impossibile scrivere il file PDF\r") + chooserAnswer_ +
                 QString::fromUtf8("\rIl bollettino non è stato salvato."));
    QVERIFY(!QFile::exists(chooserAnswer_));
}

void TestPrintSlip::theOfferIsARealQuestionInItalian() {
    recorder_.reset();
    SeenBox seen;
    AnswerNextMessageBox(&seen, "&No");
    pressStampa();
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
    SetPdfFileChooser({});
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
    pressStampa();
    QTRY_VERIFY(looks >= 250 || !title.isEmpty());
    QCOMPARE(title, QString("Salva il bollettino come PDF"));
    QCOMPARE(selected, QStringList({ProposedSlipPdfPath()}));
    QCOMPARE(recorder_->texts(), QStringList({NoPrinterMessage}));
}

QUOTARIO_GUI_TEST_MAIN(TestPrintSlip)
#include "tst_printslip.moc"
