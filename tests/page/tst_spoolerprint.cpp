// Windows' print system for real: under Wine, through its spooler and PostScript driver, on
// Windows' default printer, the default queue of a private print server (tst_spoolerprint.sh
// starts it and names in QUOTARIO_PRINT_JOB the file where the queue's jobs land). A normal
// print is handed over, followed to its end and printed, and nothing on the way says anything
// else; a printer or a job that is not there is told as such. Wine's spooler hands every job
// on to CUPS at once: the states of a printer in trouble are tst_spooleranswers' cases.
#include "page/PrintSystem.h"
#include "support/PrintedPage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTest>
#include <QThread>

class TestSpoolerPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void theDefaultPrinterAnswersReady();
    void aPrintIsHandedOverFollowedAndPrinted();
    void aPrinterThatIsNotThereGetsNoPage();
    void aJobThatIsNotThereIsGoneAndNotWithdrawn();

private:
    QString job_;
};

namespace {

const QString Queue = QStringLiteral("Quotario");

bool PaintWords(QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.drawText(QPointF(1000, 1000), QStringLiteral("Bollettino di prova"));
    return painter.end();
}

} // namespace

void TestSpoolerPrint::initTestCase() {
    job_ = qEnvironmentVariable("QUOTARIO_PRINT_JOB");
    QVERIFY2(!job_.isEmpty(), "QUOTARIO_PRINT_JOB names no file: run tst_spoolerprint.sh");
}

void TestSpoolerPrint::theDefaultPrinterAnswersReady() {
    const std::shared_ptr<PrintSystem> system = CurrentPrintSystem();
    QVERIFY(system->ServerAnswers());
    QVERIFY(system->QueueAcceptsJobs(Queue));
    QCOMPARE(system->LookAtPrinter(Queue), PrinterCondition::Ready);
}

void TestSpoolerPrint::aPrintIsHandedOverFollowedAndPrinted() {
    const std::shared_ptr<PrintSystem> system = CurrentPrintSystem();
    QFile::remove(job_);
    std::optional<PrintJobMark> mark;
    const PageHandOverResult handedOver =
        system->HandOverPage(QString(), QStringLiteral("Bollettino"), PaintWords, mark);
    QCOMPARE(handedOver.outcome, PageHandOver::HandedOver);
    QCOMPARE(handedOver.queue, Queue);
    QVERIFY(mark);
    QCOMPARE(mark->queue, Queue);
    QVERIFY2(mark->documentName.startsWith("Bollettino ") &&
                 mark->documentName.size() == QString("Bollettino 10/12/2026 11:00:00").size(),
             qPrintable(mark->documentName));

    // As the print's follower does: its job, or none when it has left the queue already, then
    // looked at until it ends. Nothing on the way may say trouble or no answer.
    const std::optional<int> job = system->FindJob(*mark, {});
    QVERIFY2(job, "the spooler gave no answer");
    QElapsedTimer clock;
    clock.start();
    for (PrintJobState state = PrintJobState::Waiting;
         *job != 0 && state != PrintJobState::Completed && state != PrintJobState::Gone;
         QThread::msleep(250)) {
        state = system->LookAtJob(mark->queue, *job);
        QVERIFY2(state == PrintJobState::Waiting || state == PrintJobState::Completed ||
                     state == PrintJobState::Gone,
                 qPrintable(QString("job %1 in state %2").arg(*job).arg(static_cast<int>(state))));
        QVERIFY2(clock.elapsed() < 30000, "the job did not end within 30 s");
    }
    QVERIFY2(WaitForJobFile(job_), "the print job did not reach the queue's file");
}

void TestSpoolerPrint::aPrinterThatIsNotThereGetsNoPage() {
    const std::shared_ptr<PrintSystem> system = CurrentPrintSystem();
    std::optional<PrintJobMark> mark;
    bool painted = false;
    const PageHandOverResult handedOver = system->HandOverPage(
        QStringLiteral("Nessuna stampante"), QStringLiteral("Bollettino"),
        [&painted](QPagedPaintDevice&) { return painted = true; }, mark);
    QCOMPARE(handedOver.outcome, PageHandOver::NoPrinter);
    QVERIFY(!mark);
    QVERIFY(!painted);
    QCOMPARE(system->LookAtPrinter(QStringLiteral("Nessuna stampante")), PrinterCondition::Offline);
}

void TestSpoolerPrint::aJobThatIsNotThereIsGoneAndNotWithdrawn() {
    const std::shared_ptr<PrintSystem> system = CurrentPrintSystem();
    QCOMPARE(system->LookAtJob(Queue, 4711), PrintJobState::Gone);
    QCOMPARE(system->CancelJob(Queue, 4711), JobCancel::AlreadyEnd);
}

QTEST_MAIN(TestSpoolerPrint)
#include "tst_spoolerprint.moc"
