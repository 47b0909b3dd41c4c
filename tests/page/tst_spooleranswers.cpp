// Windows only: what the spooler's answers mean for a print. Every state a printer or a job can
// be in, which Wine's spooler never shows (it hands each job on to CUPS at once), given as the
// bits and lists the spooler answers with.
#include "page/SpoolerAnswers.h"

#include <QList>
#include <QTest>

struct ListedJob {
    DWORD id;
    const wchar_t* document;
    int millisecondsAfterMark; // the job's submission, against the start of the hand-over
};
Q_DECLARE_METATYPE(ListedJob)
Q_DECLARE_METATYPE(PrintJobState)
Q_DECLARE_METATYPE(PrinterCondition)
Q_DECLARE_METATYPE(JobCancel)
Q_DECLARE_METATYPE(PageHandOver)

class TestSpoolerAnswers : public QObject {
    Q_OBJECT
private slots:
    void jobStateFromItsBitsAndItsPrinters_data();
    void jobStateFromItsBitsAndItsPrinters();
    void printerConditionFromItsStatusAndAttributes_data();
    void printerConditionFromItsStatusAndAttributes();
    void onlyAPausedOrVanishingPrinterRefusesJobs_data();
    void onlyAPausedOrVanishingPrinterRefusesJobs();
    void theOwnJobIsTheOldestOfThePrintsNameNotTaken_data();
    void theOwnJobIsTheOldestOfThePrintsNameNotTaken();
    void aWithdrawalTheSpoolerTookIsLookedAtAgain_data();
    void aWithdrawalTheSpoolerTookIsLookedAtAgain();
    void anErrorNumberSaysGoneOrNoAnswerOrRefused_data();
    void anErrorNumberSaysGoneOrNoAnswerOrRefused();
};

namespace {

const wchar_t* const PrintsName = L"Bollettino 10/12/2026 11:00:00";
// The hand-over began at 10:00:00.000 UTC on 10 December 2026.
const SYSTEMTIME Mark{2026, 12, 4, 10, 10, 0, 0, 0};

std::chrono::system_clock::time_point MarkTime() {
    using namespace std::chrono;
    return sys_days(year(2026) / December / 10) + hours(10);
}

// The spooler's own stamp of a submission, through Windows' own calendar.
SYSTEMTIME Submitted(int millisecondsAfterMark) {
    FILETIME markFile;
    SystemTimeToFileTime(&Mark, &markFile);
    ULARGE_INTEGER ticks; // 100 ns each
    ticks.LowPart = markFile.dwLowDateTime;
    ticks.HighPart = markFile.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(millisecondsAfterMark) * 10000);
    const FILETIME submittedFile{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME submitted;
    FileTimeToSystemTime(&submittedFile, &submitted);
    return submitted;
}

// The spooler's bits and error numbers as the DWORD they come in.
constexpr DWORD Bits(DWORD bits) {
    return bits;
}

} // namespace

void TestSpoolerAnswers::jobStateFromItsBitsAndItsPrinters_data() {
    QTest::addColumn<DWORD>("job");
    QTest::addColumn<bool>("printerDescribed");
    QTest::addColumn<DWORD>("printer");
    QTest::addColumn<DWORD>("attributes");
    QTest::addColumn<PrintJobState>("expected");
    using S = PrintJobState;
    const DWORD none = 0;
    QTest::newRow("queued") << none << true << none << none << S::Waiting;
    QTest::newRow("printing, printer busy")
        << Bits(JOB_STATUS_PRINTING) << true << Bits(PRINTER_STATUS_PRINTING | PRINTER_STATUS_BUSY)
        << none << S::Waiting;
    QTest::newRow("paused by the user")
        << Bits(JOB_STATUS_PAUSED) << true << none << none << S::Waiting;
    QTest::newRow("printed") << Bits(JOB_STATUS_PRINTED) << true << none << none << S::Completed;
    QTest::newRow("sent to the printer whole")
        << Bits(JOB_STATUS_COMPLETE) << true << none << none << S::Completed;
    QTest::newRow("printed, being removed")
        << Bits(JOB_STATUS_PRINTED | JOB_STATUS_DELETING) << true << none << none << S::Completed;
    QTest::newRow("deleted while printing")
        << Bits(JOB_STATUS_PRINTING | JOB_STATUS_DELETING) << true << none << none << S::Cancelled;
    QTest::newRow("deleted") << Bits(JOB_STATUS_DELETED) << true << none << none << S::Cancelled;
    QTest::newRow("deleting, printer offline")
        << Bits(JOB_STATUS_DELETING) << true << Bits(PRINTER_STATUS_OFFLINE) << none
        << S::Cancelled;
    QTest::newRow("job offline") << Bits(JOB_STATUS_OFFLINE) << true << none << none
                                 << S::Unreachable;
    QTest::newRow("job offline and in error")
        << Bits(JOB_STATUS_OFFLINE | JOB_STATUS_ERROR) << true << none << none << S::Unreachable;
    QTest::newRow("job out of paper")
        << Bits(JOB_STATUS_PAPEROUT | JOB_STATUS_PRINTING) << true << none << none << S::Stalled;
    QTest::newRow("job in error") << Bits(JOB_STATUS_ERROR) << true << none << none << S::Stalled;
    QTest::newRow("job blocked") << Bits(JOB_STATUS_BLOCKED_DEVQ) << true << none << none
                                 << S::Stalled;
    QTest::newRow("job asks for the user")
        << Bits(JOB_STATUS_USER_INTERVENTION) << true << none << none << S::Stalled;
    QTest::newRow("queued, printer offline")
        << none << true << Bits(PRINTER_STATUS_OFFLINE) << none << S::Unreachable;
    QTest::newRow("queued, printer used offline")
        << none << true << none << Bits(PRINTER_ATTRIBUTE_WORK_OFFLINE) << S::Unreachable;
    QTest::newRow("printing, paper jam") << Bits(JOB_STATUS_PRINTING) << true
                                         << Bits(PRINTER_STATUS_PAPER_JAM) << none << S::Stalled;
    QTest::newRow("printing, printer in error")
        << Bits(JOB_STATUS_PRINTING) << true << Bits(PRINTER_STATUS_ERROR) << none << S::Stalled;
    QTest::newRow("queued, printer paused")
        << none << true << Bits(PRINTER_STATUS_PAUSED) << none << S::Stalled;
    QTest::newRow("queued, printer warming up")
        << none << true << Bits(PRINTER_STATUS_WARMING_UP) << none << S::Waiting;
    QTest::newRow("queued, printer not described")
        << none << false << Bits(PRINTER_STATUS_OFFLINE) << none << S::Waiting;
}

void TestSpoolerAnswers::jobStateFromItsBitsAndItsPrinters() {
    QFETCH(DWORD, job);
    QFETCH(bool, printerDescribed);
    QFETCH(DWORD, printer);
    QFETCH(DWORD, attributes);
    QFETCH(PrintJobState, expected);
    const std::optional<SpoolerPrinter> described =
        printerDescribed ? std::optional(SpoolerPrinter{printer, attributes}) : std::nullopt;
    QCOMPARE(SpoolerJobState(job, described), expected);
}

void TestSpoolerAnswers::printerConditionFromItsStatusAndAttributes_data() {
    QTest::addColumn<DWORD>("status");
    QTest::addColumn<DWORD>("attributes");
    QTest::addColumn<PrinterCondition>("expected");
    using C = PrinterCondition;
    const DWORD none = 0;
    QTest::newRow("idle") << none << none << C::Ready;
    QTest::newRow("printing, busy, sending")
        << Bits(PRINTER_STATUS_PRINTING | PRINTER_STATUS_BUSY | PRINTER_STATUS_IO_ACTIVE) << none
        << C::Ready;
    QTest::newRow("toner low") << Bits(PRINTER_STATUS_TONER_LOW) << none << C::Ready;
    QTest::newRow("offline") << Bits(PRINTER_STATUS_OFFLINE) << none << C::Offline;
    QTest::newRow("not available") << Bits(PRINTER_STATUS_NOT_AVAILABLE) << none << C::Offline;
    QTest::newRow("server unknown") << Bits(PRINTER_STATUS_SERVER_UNKNOWN) << none << C::Offline;
    QTest::newRow("used offline") << none << Bits(PRINTER_ATTRIBUTE_WORK_OFFLINE) << C::Offline;
    QTest::newRow("offline and out of paper")
        << Bits(PRINTER_STATUS_OFFLINE | PRINTER_STATUS_PAPER_OUT) << none << C::Offline;
    QTest::newRow("paper out") << Bits(PRINTER_STATUS_PAPER_OUT) << none << C::PaperOut;
    QTest::newRow("paper jam") << Bits(PRINTER_STATUS_PAPER_JAM) << none << C::PaperOut;
    QTest::newRow("error") << Bits(PRINTER_STATUS_ERROR) << none << C::Error;
    QTest::newRow("asks for the user")
        << Bits(PRINTER_STATUS_USER_INTERVENTION) << none << C::Error;
    QTest::newRow("door open") << Bits(PRINTER_STATUS_DOOR_OPEN) << none << C::Error;
    QTest::newRow("paused") << Bits(PRINTER_STATUS_PAUSED) << none << C::Stopped;
    QTest::newRow("being deleted") << Bits(PRINTER_STATUS_PENDING_DELETION) << none << C::Stopped;
    QTest::newRow("paused and in error")
        << Bits(PRINTER_STATUS_PAUSED | PRINTER_STATUS_ERROR) << none << C::Error;
}

void TestSpoolerAnswers::printerConditionFromItsStatusAndAttributes() {
    QFETCH(DWORD, status);
    QFETCH(DWORD, attributes);
    QFETCH(PrinterCondition, expected);
    QCOMPARE(SpoolerPrinterCondition({status, attributes}), expected);
}

void TestSpoolerAnswers::onlyAPausedOrVanishingPrinterRefusesJobs_data() {
    QTest::addColumn<DWORD>("status");
    QTest::addColumn<DWORD>("attributes");
    QTest::addColumn<bool>("accepts");
    QTest::newRow("idle") << Bits(0) << Bits(0) << true;
    QTest::newRow("offline: the job waits for it")
        << Bits(PRINTER_STATUS_OFFLINE) << Bits(0) << true;
    QTest::newRow("paused") << Bits(PRINTER_STATUS_PAUSED) << Bits(0) << false;
    QTest::newRow("being deleted") << Bits(PRINTER_STATUS_PENDING_DELETION) << Bits(0) << false;
}

void TestSpoolerAnswers::onlyAPausedOrVanishingPrinterRefusesJobs() {
    QFETCH(DWORD, status);
    QFETCH(DWORD, attributes);
    QFETCH(bool, accepts);
    QCOMPARE(SpoolerQueueAcceptsJobs({status, attributes}), accepts);
}

void TestSpoolerAnswers::theOwnJobIsTheOldestOfThePrintsNameNotTaken_data() {
    QTest::addColumn<QList<ListedJob>>("queue");
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<int>("expected");
    const wchar_t* other = L"Documento - Blocco note";
    QTest::newRow("an empty queue") << QList<ListedJob>{} << QList<int>{} << 0;
    QTest::newRow("other programs' jobs only")
        << QList<ListedJob>{{3, other, -90000}, {4, other, 300}} << QList<int>{} << 0;
    QTest::newRow("the print's job among others")
        << QList<ListedJob>{{3, other, -90000}, {7, PrintsName, 250}, {8, other, 400}}
        << QList<int>{} << 7;
    QTest::newRow("a job of that name from an hour before")
        << QList<ListedJob>{{5, PrintsName, -3600000}} << QList<int>{} << 0;
    QTest::newRow("a print server's clock a minute behind")
        << QList<ListedJob>{{5, PrintsName, -60000}} << QList<int>{} << 5;
    QTest::newRow("two of that name: the older")
        << QList<ListedJob>{{9, PrintsName, 900}, {8, PrintsName, 400}} << QList<int>{} << 8;
    QTest::newRow("the older taken by another print: the next")
        << QList<ListedJob>{{9, PrintsName, 900}, {8, PrintsName, 400}} << QList<int>{8} << 9;
    QTest::newRow("submitted in the same millisecond: the lower number")
        << QList<ListedJob>{{12, PrintsName, 300}, {11, PrintsName, 300}} << QList<int>{} << 11;
    QTest::newRow("another print's time in the name")
        << QList<ListedJob>{{4, L"Bollettino 10/12/2026 11:00:01", 300}} << QList<int>{} << 0;
    QTest::newRow("a job with no name")
        << QList<ListedJob>{{6, nullptr, 300}, {7, PrintsName, 500}} << QList<int>{} << 7;
}

void TestSpoolerAnswers::theOwnJobIsTheOldestOfThePrintsNameNotTaken() {
    QFETCH(QList<ListedJob>, queue);
    QFETCH(QList<int>, taken);
    QFETCH(int, expected);
    std::vector<JOB_INFO_1W> listed;
    for (const ListedJob& job : queue) {
        JOB_INFO_1W info{};
        info.JobId = job.id;
        info.pDocument = const_cast<wchar_t*>(job.document);
        info.Submitted = Submitted(job.millisecondsAfterMark);
        listed.push_back(info);
    }
    const std::vector<SpoolerJob> jobs =
        SpoolerJobs(listed.data(), static_cast<DWORD>(listed.size()));
    QCOMPARE(OwnJob(jobs, PrintsName, MarkTime(), std::set<int>(taken.begin(), taken.end())),
             expected);
}

void TestSpoolerAnswers::aWithdrawalTheSpoolerTookIsLookedAtAgain_data() {
    QTest::addColumn<bool>("stillListed");
    QTest::addColumn<DWORD>("statusAfter");
    QTest::addColumn<JobCancel>("expected");
    using J = JobCancel;
    QTest::newRow("gone at once") << false << Bits(0) << J::Cancelled;
    QTest::newRow("being deleted") << true << Bits(JOB_STATUS_DELETING) << J::Cancelled;
    QTest::newRow("being deleted while printing")
        << true << Bits(JOB_STATUS_PRINTING | JOB_STATUS_DELETING) << J::Cancelled;
    QTest::newRow("printed meanwhile")
        << true << Bits(JOB_STATUS_PRINTED | JOB_STATUS_DELETING) << J::AlreadyEnd;
    QTest::newRow("still printing") << true << Bits(JOB_STATUS_PRINTING) << J::Refused;
    QTest::newRow("still queued (Wine)") << true << Bits(0) << J::Refused;
}

void TestSpoolerAnswers::aWithdrawalTheSpoolerTookIsLookedAtAgain() {
    QFETCH(bool, stillListed);
    QFETCH(DWORD, statusAfter);
    QFETCH(JobCancel, expected);
    QCOMPARE(TakenCancel(stillListed ? std::optional(statusAfter) : std::nullopt), expected);
}

void TestSpoolerAnswers::anErrorNumberSaysGoneOrNoAnswerOrRefused_data() {
    QTest::addColumn<DWORD>("error");
    QTest::addColumn<bool>("jobGone");               // a look at a job
    QTest::addColumn<JobCancel>("withdrawal");       // a withdrawal
    QTest::addColumn<PageHandOver>("printerOpened"); // the printer before a hand-over
    using J = JobCancel;
    using P = PageHandOver;
    QTest::newRow("no such job") << Bits(ERROR_INVALID_PARAMETER) << true << J::AlreadyEnd
                                 << P::Refused;
    QTest::newRow("no error given (Wine, a job handed on)")
        << Bits(ERROR_SUCCESS) << true << J::AlreadyEnd << P::Refused;
    QTest::newRow("not allowed") << Bits(ERROR_ACCESS_DENIED) << false << J::Refused << P::Refused;
    QTest::newRow("not a command it takes")
        << Bits(ERROR_INVALID_PRINTER_COMMAND) << false << J::Refused << P::Refused;
    QTest::newRow("no such printer")
        << Bits(ERROR_INVALID_PRINTER_NAME) << false << J::Refused << P::NoPrinter;
    QTest::newRow("printer deleted")
        << Bits(ERROR_PRINTER_DELETED) << false << J::Refused << P::NoPrinter;
    QTest::newRow("server away") << Bits(RPC_S_SERVER_UNAVAILABLE) << false << J::NoAnswer
                                 << P::NoAnswer;
    QTest::newRow("call failed") << Bits(RPC_S_CALL_FAILED_DNE) << false << J::NoAnswer
                                 << P::NoAnswer;
    QTest::newRow("network path gone")
        << Bits(ERROR_BAD_NETPATH) << false << J::NoAnswer << P::NoAnswer;
}

void TestSpoolerAnswers::anErrorNumberSaysGoneOrNoAnswerOrRefused() {
    QFETCH(DWORD, error);
    QFETCH(bool, jobGone);
    QFETCH(JobCancel, withdrawal);
    QFETCH(PageHandOver, printerOpened);
    QCOMPARE(SaysNoSuchJob(error), jobGone);
    QCOMPARE(FailedCancel(error), withdrawal);
    QCOMPARE(FailedOpen(error), printerOpened);
}

QTEST_APPLESS_MAIN(TestSpoolerAnswers)
#include "tst_spooleranswers.moc"
