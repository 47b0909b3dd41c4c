// The whole way from the main window to paper: the user fills the main window, computes, opens
// the summary, aligns the paper and presses "Stampa il bollettino"; the page goes to the default
// printer of a private print server, whose queue writes it to a file. Every text must lie where
// the paper position and the corrections put it, within 0.1 mm.
#include "frame/UpDown.h"
#include "support/MessageRecorder.h"
#include "support/ModalBoxes.h"
#include "support/PrintedPage.h"
#include "support/PrivateCupsd.h"
#include "support/TestMain.h"
#include "support/WindowSetFixture.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

class TestPrintSlipCups : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void printsTheComputedSlipWhereTheAlignmentPutsIt();
    void aQueueRejectingJobsOffersThePdf();

private:
    PrivateCupsd server_;
    QTemporaryDir directory_;
};

using enum SlipLabelId;

namespace {

// Types into a main window box as the user does, after emptying it.
void Type(const char* box, const QString& text) {
    Box(box)->clear();
    QTest::keyClicks(Box(box), text);
}

QToolButton* Arrow(const char* upDown, const char* which) {
    return Form2->findChild<TUpDown*>(upDown)->findChild<QToolButton*>(which);
}

QString Text(SlipLabelId label) {
    return QString::fromStdString(QRFM->QREP.label(label).text);
}

// The main window filled in as the user types it, computed, and the summary window opened.
bool FillComputeAndOpenSummary() {
    Type("EdCCNR", "12345678");
    Type("EdIntest1", "COMUNE DI ROMA");
    Type("EdIntest2", "SERV. TESORERIA");
    Type("EdNome", "ROSSI MARIO ROMA VIA APPIA 12");
    Type("EdComun", "ROMA");
    Type("EdCodFisc", "rssmra60a01h501u"); // upper case as it is typed
    Type("EdNum", "2");
    Type("EdAnno", "07");
    const char* boxes[] = {"REND1", "RIVAL1", "ALIQ1", "DETR1", "PERC1", "MESI1",
                           "Edit1", "Edit2",  "Edit3", "Edit5", "Edit6"};
    const char* texts[] = {"1500", "5", "7", "103,29", "100", "12", "800", "5", "7", "50", "12"};
    for (int i = 0; i < 11; ++i)
        Type(boxes[i], texts[i]);
    QTest::mouseClick(Button("CalcolaBtn"), Qt::LeftButton);
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    return QTest::qWaitForWindowActive(Form2);
}

} // namespace

void TestPrintSlipCups::initTestCase() {
    QVERIFY(directory_.isValid());
    // Before the first print: Qt's print support reads the server's settings then.
    QVERIFY(server_.start());
}

void TestPrintSlipCups::cleanupTestCase() {
    StopWindowSet();
    server_.stop();
}

void TestPrintSlipCups::printsTheComputedSlipWhereTheAlignmentPutsIt() {
    ModalWatchdog watchdog;
    watchdog.start();
    QVERIFY(StartWindowSet());
    QFile alignment(directory_.filePath("Allinea.ini"));
    QVERIFY(alignment.open(QIODevice::WriteOnly));
    alignment.write("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n");
    alignment.close();
    Form2->SetAlignmentDirectory(directory_.path().toStdString());

    MessageRecorder recorder;
    QVERIFY(FillComputeAndOpenSummary());

    // Paper at the right, the slip 4 units lower and 2 units further left than the default.
    QTest::mouseClick(Form2->findChild<QRadioButton*>("RBTND"), Qt::LeftButton);
    QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    QTest::mouseClick(Arrow("UpDown2", "down"), Qt::LeftButton);
    QCOMPARE(Form2->findChild<QLineEdit*>("Edit1")->text(), QString("30"));
    QCOMPARE(Form2->findChild<QLineEdit*>("Edit2")->text(), QString("24"));

    const QString job = server_.jobFile();
    QFile::remove(job);
    QTest::mouseClick(Form2->findChild<QToolButton*>("StampaBtn1"), Qt::LeftButton);
    QVERIFY2(recorder.texts().isEmpty(), qPrintable(recorder.texts().join(" | ")));
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");

    // The texts copied from the computation, each at the place of the right paper position.
    QCOMPARE(Text(QRCCNR1), QString("12345678"));
    QCOMPARE(Text(QRCODFISC11), QString("RSSMRA60A01H501U"));
    QCOMPARE(Text(QRIMPLETT11), Label("LabLett")->text());
    QVERIFY(Text(QRIMPLETT11).startsWith('#'));
    QCOMPARE(Text(QRDETRAZ1), QString("103,29"));
    QCOMPARE(Text(QRDETRAZ11), QString("10329"));
    QCOMPARE(Text(QRINTEST1), QString("COMUNE DI ROMA SERV. TESORERIA"));
    QCOMPARE(QRFM->QREP.label(QRCCNR1).top, 30 - 10 + 406 + 24);
    QCOMPARE(QRFM->QREP.label(QRCCNR1).left, 24 - 10 + 112);
    QCOMPARE(QRFM->QREP.label(QRDETRAZ1).top, 30 - 10 + 406 + 304);
    QCOMPARE(QRFM->QREP.label(QRCENT11).left, 24 - 10 + 1066);

    // One landscape A4 page with the 31 texts where the labels are, and nothing else.
    const QStringList faults = CheckPrintedPage(job, QRFM->QREP);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    // Kept beside the test for a look at the page (pdftoppm -png).
    const QString kept =
        QDir(QCoreApplication::applicationDirPath()).filePath("printed-from-window.pdf");
    QFile::remove(kept);
    QFile::copy(job, kept);
    qInfo().noquote() << "printed page kept in" << kept;

    QVERIFY(Form2->isVisible());
    QVERIFY2(watchdog.closedDialogs().isEmpty(), qPrintable(watchdog.closedDialogs().join(" | ")));
}

// The queue exists but rejects jobs: nothing reaches it, and instead of silence the user is
// asked whether to keep the page as a PDF. Once it accepts again the same press prints.
void TestPrintSlipCups::aQueueRejectingJobsOffersThePdf() {
    ModalWatchdog watchdog;
    watchdog.start();
    QVERIFY(StartWindowSet());
    Form2->SetAlignmentDirectory(directory_.path().toStdString());
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QVERIFY(FillComputeAndOpenSummary());

    const auto accept = qScopeGuard([this] { server_.setAcceptingJobs(true); });
    QVERIFY(server_.setAcceptingJobs(false));
    const QString job = server_.jobFile();
    QFile::remove(job);
    QTest::mouseClick(Form2->findChild<QToolButton*>("StampaBtn1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].kind, MessageKind::Question);
    QCOMPARE(recorder.messages[0].text,
             QString::fromUtf8("La stampante \"Quotario\" non ha accettato la stampa: il "
                               "bollettino non è stato stampato.\r"
                               "Vuoi salvarlo come file PDF, da stampare in seguito?"));
    QVERIFY2(server_.queueIsEmpty(), "a job waits in the queue");
    QVERIFY(!QFile::exists(job));

    QVERIFY(server_.setAcceptingJobs(true));
    QTest::mouseClick(Form2->findChild<QToolButton*>("StampaBtn1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(WaitForJobFile(job), "the print job did not reach the queue's file");
    QVERIFY(Form2->isVisible());
    QVERIFY2(watchdog.closedDialogs().isEmpty(), qPrintable(watchdog.closedDialogs().join(" | ")));
}

QUOTARIO_GUI_TEST_MAIN(TestPrintSlipCups)
#include "tst_printslipcups.moc"
