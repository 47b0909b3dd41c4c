#include "windows/SlipPrintFlow.h"

#include "frame/BoxTexts.h"
#include "frame/HandlerGuard.h"
#include "frame/MessageBoxes.h"
#include "frame/ReadmeLaunch.h"
#include "frame/SlipPdfFile.h"
#include "page/PrintSystem.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Nothing was printed: the page can still be kept as a PDF file and printed later.
constexpr const char* NoPrinterMessage =
    "Nessuna stampante disponibile: il bollettino non è stato stampato.\r"
    "Vuoi salvarlo come file PDF, da stampare in seguito?";
constexpr const char* ServerNotAnsweringMessage =
    "Il server di stampa non risponde: il bollettino non è stato stampato.\r"
    "Vuoi salvarlo come file PDF, da stampare in seguito?";
constexpr const char* NoAnswerMessage =
    "Il server di stampa non risponde più: non si sa se il bollettino è stato stampato.\r"
    "Vuoi salvarlo come file PDF, da stampare in seguito?";

QString PrintRefusedMessage(const QString& printer) {
    return QText("La stampante \"%1\" non ha accettato la stampa: il bollettino non è stato "
                 "stampato.\rVuoi salvarlo come file PDF, da stampare in seguito?")
        .arg(printer);
}

QString NotPrintedMessage(const QString& printer) {
    return QText("La stampante \"%1\" non ha stampato il bollettino.\r"
                 "Vuoi salvarlo come file PDF, da stampare in seguito?")
        .arg(printer);
}

// Whatever the answer, the job is withdrawn: it would come out on whatever paper is in the
// printer once the printer is back.
QString UnreachableMessage(const QString& printer) {
    return QText("La stampante \"%1\" non è raggiungibile: il bollettino non è stato stampato e "
                 "la stampa viene ritirata.\rVuoi salvarlo come file PDF, da stampare in seguito?")
        .arg(printer);
}

// The job waits on: it prints once the user has seen to the printer.
QString StalledMessage(const QString& printer) {
    return QText("La stampante \"%1\" è ferma (senza carta, in errore o in attesa di un "
                 "intervento): il bollettino non è ancora stato stampato.\rLa stampa resta in "
                 "coda e uscirà quando la stampante riprende.")
        .arg(printer);
}

QString NotWithdrawnMessage(const QString& printer) {
    return QText("Non è stato possibile ritirare la stampa dalla stampante \"%1\": il bollettino "
                 "potrebbe uscire quando la stampante torna disponibile.\rControllare la coda di "
                 "stampa.")
        .arg(printer);
}

// The windows are gone: the user learns that the page may still come out.
constexpr const char* NotWithdrawnAtEndMessage =
    "Non è stato possibile ritirare la stampa prima della chiusura del programma: il bollettino "
    "potrebbe uscire quando la stampante torna disponibile.\rControllare la coda di stampa.";

QString NotFollowedMessage(const QString& printer) {
    return QText("Il bollettino è stato mandato alla stampante \"%1\", ma il programma non può "
                 "seguire la stampa.\rControllare che il bollettino sia stato stampato.")
        .arg(printer);
}

QString PdfNotWrittenMessage(const QString& fileName) {
    return QText("Impossibile scrivere il file PDF\r%1\rIl bollettino non è stato salvato.")
        .arg(fileName);
}

// The print a report speaks of, when it comes after the press: two prints are told apart.
QString PrintNameMessage(int number, const QString& printer, const QTime& pressed) {
    const QString time = pressed.toString(QStringLiteral("HH:mm:ss"));
    if (printer.isEmpty())
        return QText("Stampa n. %1 (ore %2)").arg(number).arg(time);
    return QText("Stampa n. %1 (ore %2, stampante \"%3\")").arg(number).arg(time, printer);
}

QString EndQuestionMessage(const QString& prints) {
    return QText("Il programma sta per chiudersi, ma la stampante non ha ancora preso:\r%1\r"
                 "(stampante non raggiungibile, ferma o in errore, oppure il server di stampa non "
                 "risponde o non ne ha ancora dato notizia).\r"
                 "Sì: ritirare la stampa e chiudere il programma.\r"
                 "No: chiudere il programma e lasciare la stampa in coda: uscirà quando la "
                 "stampante sarà pronta, sulla carta che vi si troverà allora.\r"
                 "Annulla: non chiudere il programma e continuare a seguire la stampa.")
        .arg(prints);
}

// The hand-over threads that have not returned yet.
std::atomic<int> HandOversRunning{0};

PrintJobFollowTiming& FollowTiming() {
    static PrintJobFollowTiming timing = PrintJobFollowTiming::Usual();
    return timing;
}

// The cursor while the print system or the disk is at work, gone before any box shows: the
// hourglass while the window waits, the arrow with it while the work goes on behind a window
// that can be used.
class BusyCursor {
public:
    explicit BusyCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

// A page on its way to the printer. The hand-over thread keeps it alive: a flow that goes
// first (the program ends) is told nothing.
struct SlipPrintFlow::HandOver {
    Press press; // not changed once the thread runs
    std::chrono::steady_clock::time_point pressed;
    std::mutex mutex;
    std::condition_variable done;
    std::optional<SlipPrintResult> result;
    SlipPrintFlow* flow = nullptr; // told once the page is handed over; none once it has gone
    std::optional<BusyCursor> busy;

    void Run(int id) {
        SlipPrintResult handedOver =
            PrintSlipOnSystemPrinter(press.page, press.printer, press.paint);
        const std::lock_guard lock(mutex);
        result = std::move(handedOver);
        if (flow)
            QMetaObject::invokeMethod(
                flow,
                [flow = flow, id] { Guarded(flow->window_, [flow, id] { flow->HandedOver(id); }); },
                Qt::QueuedConnection);
        done.notify_all();
    }
};

SlipPrintFlow::SlipPrintFlow(QWidget* window)
    : QObject(window), window_(window),
      follower_(
          [this](int job, PrintJobNews news) {
              Guarded(window_, [this, job, news] { NewsArrived(job, news); });
          },
          FollowTiming()) {}

PrintJobFollowTiming SlipPrintFlow::SetFollowTiming(PrintJobFollowTiming timing) {
    return std::exchange(FollowTiming(), timing);
}

bool SlipPrintFlow::HandOverUnderWay() {
    return HandOversRunning > 0;
}

SlipPrintFlow::~SlipPrintFlow() {
    for (const auto& [id, handOver] : handOvers_) {
        const std::lock_guard lock(handOver->mutex);
        handOver->flow = nullptr;
        handOver->busy.reset();
    }
}

// The printer look-up and the hand-over may take long on a slow or frozen print system: they
// run on a thread of their own, and the window goes on at once.
void SlipPrintFlow::Print(const SlipReport& page, const QString& printerName,
                          const SlipPagePainter& paint) {
    const Press press{page, paint, printerName, QTime::currentTime(), nextPress_++};
    const int id = nextHandOver_++;
    auto handOver = std::make_shared<HandOver>();
    handOver->press = press;
    handOver->pressed = std::chrono::steady_clock::now();
    handOver->flow = this;
    handOver->busy.emplace(Qt::BusyCursor);
    ++HandOversRunning;
    try {
        std::thread([handOver, id] {
            handOver->Run(id);
            --HandOversRunning;
        }).detach();
    } catch (const std::system_error&) {
        --HandOversRunning;
        // No thread for it: the page is handed over here, as long as that takes.
        SlipPrintResult result = PrintSlipOnSystemPrinter(page, printerName, paint);
        handOver->busy.reset();
        TakeResult(press, result, false);
        return;
    }
    handOvers_[id] = handOver;
}

// A page handed over soon after its press is told as the press's own outcome; one that took
// longer names its print, as the user may have gone on meanwhile.
void SlipPrintFlow::HandedOver(int id) {
    const auto found = handOvers_.find(id);
    if (found == handOvers_.end())
        return;
    const std::shared_ptr<HandOver> handOver = found->second;
    handOvers_.erase(found);
    handOver->busy.reset();
    TakeResult(handOver->press, *handOver->result,
               std::chrono::steady_clock::now() - handOver->pressed > NamedAfter);
}

// A report that comes after its press names its print: there may be two by then.
void SlipPrintFlow::TakeResult(const Press& press, const SlipPrintResult& result, bool later) {
    const auto named = [&press, later](const QString& printer, const QString& text) {
        return later ? PrintNameMessage(press.number, printer, press.time) + QStringLiteral(":\r") +
                           text
                     : text;
    };
    switch (result.status) {
    case SlipPrintStatus::Printed: {
        if (!result.mark)
            return;
        Press followed = press;
        followed.printer = result.target;
        const std::optional<int> job = follower_.Follow(*result.mark);
        if (job) {
            followed_[*job] = {followed};
            return;
        }
        const QString text = named(result.target, NotFollowedMessage(result.target));
        Report([text] { ShowMessage(text); });
        return;
    }
    case SlipPrintStatus::NoPrinter: {
        const QString text = named(press.printer, QText(NoPrinterMessage));
        Report([this, text, press] { OfferPageAsPdf(text, press.page, press.paint); });
        return;
    }
    case SlipPrintStatus::NotStarted: {
        const QString text = named(result.target, PrintRefusedMessage(result.target));
        Report([this, text, press] { OfferPageAsPdf(text, press.page, press.paint); });
        return;
    }
    case SlipPrintStatus::ServerNotAnswering: {
        const QString text = named(press.printer, QText(ServerNotAnsweringMessage));
        Report([this, text, press] { OfferPageAsPdf(text, press.page, press.paint); });
        return;
    }
    }
}

// A job that ends needs no word; what needs one waits for its turn. While the user is asked
// about a print, its end only marks it ended: the answer finds it so.
void SlipPrintFlow::NewsArrived(int job, PrintJobNews news) {
    const auto found = followed_.find(job);
    if (found == followed_.end())
        return;
    switch (news) {
    case PrintJobNews::Printed:
    case PrintJobNews::Cancelled:
    case PrintJobNews::Withdrawn:
        if (found->second.asking)
            found->second.ended = true;
        else
            followed_.erase(found);
        return;
    case PrintJobNews::NotPrinted:
    case PrintJobNews::NoAnswer:
        // The user is being asked about it already, with the PDF offer.
        if (found->second.asking)
            return;
        break;
    case PrintJobNews::Unreachable:
    case PrintJobNews::Stalled:
    case PrintJobNews::NotWithdrawn:
        break;
    }
    Report([this, job, news] { ReportNews(job, news); });
}

void SlipPrintFlow::ReportNews(int job, PrintJobNews news) {
    const auto found = followed_.find(job);
    if (found == followed_.end())
        return;
    const Press press = found->second.press;
    const QString name =
        PrintNameMessage(press.number, press.printer, press.time) + QStringLiteral(":\r");
    switch (news) {
    case PrintJobNews::Unreachable:
        AskUnreachable(job);
        return;
    case PrintJobNews::Stalled:
        ShowMessage(name + StalledMessage(press.printer));
        return;
    // A job the print system has not confirmed gone stays among the prints not taken, which
    // the program's end asks about.
    case PrintJobNews::NotWithdrawn:
        ShowMessage(name + NotWithdrawnMessage(press.printer));
        return;
    case PrintJobNews::NotPrinted:
        OfferPageAsPdf(name + NotPrintedMessage(press.printer), press.page, press.paint);
        return;
    case PrintJobNews::NoAnswer:
        OfferPageAsPdf(name + QText(NoAnswerMessage), press.page, press.paint);
        return;
    case PrintJobNews::Printed:
    case PrintJobNews::Cancelled:
    case PrintJobNews::Withdrawn:
        return;
    }
}

// The job waits on while the user reads: a printer back before the answer simply prints.
// Otherwise it is withdrawn now, and a withdrawal the print system refuses is told.
void SlipPrintFlow::AskUnreachable(int job) {
    FollowedPrint& print = followed_.at(job);
    print.asking = true;
    const Press press = print.press;
    const bool wantsPdf =
        MessageQuestionYesNo(PrintNameMessage(press.number, press.printer, press.time) +
                             QStringLiteral(":\r") + UnreachableMessage(press.printer));
    const auto found = followed_.find(job);
    if (found == followed_.end())
        return;
    // Printed or cancelled meanwhile: nothing left to withdraw or to keep.
    if (found->second.ended) {
        followed_.erase(found);
        return;
    }
    found->second.asking = false;
    follower_.Withdraw(job);
    if (wantsPdf)
        OfferPageAsPdf(QString(), press.page, press.paint);
}

void SlipPrintFlow::Report(std::function<void()> report) {
    pending_.push_back(std::move(report));
    ShowPending();
}

// The boxes lead to the windows, which are disabled while the read-me is open: the reports wait
// for the editor to close.
void SlipPrintFlow::ShowPending() {
    if (reporting_ || waitingForReadme_)
        return;
    if (WaitingForReadme()) {
        waitingForReadme_ = true;
        AfterReadmeWait(this, [this] {
            waitingForReadme_ = false;
            Guarded(window_, [this] { ShowPending(); });
        });
        return;
    }
    reporting_ = true;
    const auto done = qScopeGuard([this] { reporting_ = false; });
    while (!pending_.empty()) {
        const std::function<void()> report = std::move(pending_.front());
        pending_.pop_front();
        report();
    }
}

// With no reason, as "Salva come PDF…" asks for the file, nothing is asked first.
void SlipPrintFlow::OfferPageAsPdf(const QString& reason, const SlipReport& page,
                                   const SlipPagePainter& paint) {
    if (!reason.isEmpty() && !MessageQuestionYesNo(reason))
        return;
    const QString fileName = ChooseSlipPdfFile(window_, ProposedSlipPdfPath());
    if (fileName.isEmpty())
        return;
    const SlipPrintStatus written = [&fileName, &page, &paint] {
        const BusyCursor busy(Qt::WaitCursor);
        return PrintSlipToPdf(page, fileName, paint).status;
    }();
    if (written != SlipPrintStatus::Printed)
        ShowMessage(PdfNotWrittenMessage(fileName));
}

bool SlipPrintFlow::ServerAnswersOrOffer(const SlipReport& page) {
    const bool answers = [] {
        const BusyCursor busy(Qt::WaitCursor);
        return CurrentPrintSystem()->ServerAnswers();
    }();
    if (!answers)
        OfferPageAsPdf(QText(ServerNotAnsweringMessage), page, PaintSlipReport);
    return answers;
}

// Each print the question speaks of, on a line of its own.
QString SlipPrintFlow::PrintsNotTaken(const std::vector<int>& jobs) const {
    QStringList prints;
    for (const int job : jobs) {
        const auto found = followed_.find(job);
        if (found != followed_.end())
            prints.append(PrintNameMessage(found->second.press.number, found->second.press.printer,
                                           found->second.press.time));
    }
    for (const auto& [id, handOver] : handOvers_)
        prints.append(PrintNameMessage(handOver->press.number, handOver->press.printer,
                                       handOver->press.time));
    return prints.join(QLatin1Char('\r'));
}

// A print waiting normally at its printer is left to the print system without a word, as most
// users close the program right after printing. One the printer has not taken would come out
// whenever the printer comes back, on whatever paper is in it then: the user decides.
bool SlipPrintFlow::MayEnd() {
    if (endDecided_)
        return true;
    AwaitNewsOfNewPrints();
    const std::vector<int> jobs = follower_.JobsNotTaken();
    const QString prints = PrintsNotTaken(jobs);
    if (prints.isEmpty()) {
        endDecided_ = true;
        return true;
    }
    switch (MessageQuestionYesNoCancel(EndQuestionMessage(prints))) {
    case MessageAnswer::Yes:
        toWithdraw_ = jobs;
        withdrawHandOvers_ = true;
        break;
    case MessageAnswer::No:
        break;
    case MessageAnswer::Ok:
    case MessageAnswer::Cancel:
        return false;
    }
    endDecided_ = true;
    return true;
}

// An end asked for right after a print: an unreachable printer is found out by the print
// system only after a few seconds, so the end waits a little for that print's news, the
// windows painted meanwhile and the user's keys and clicks held back. News told meanwhile is
// shown as ever.
void SlipPrintFlow::AwaitNewsOfNewPrints() {
    if (!follower_.AnyJobTooNewToTell())
        return;
    const BusyCursor busy(Qt::WaitCursor);
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer look;
    connect(&look, &QTimer::timeout, &loop, [this, &clock, &loop] {
        if (!follower_.AnyJobTooNewToTell() || clock.hasExpired(EndWaitsForNews.count()))
            loop.quit();
    });
    look.start(50);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool SlipPrintFlow::HoldsTheEnd() const {
    return !toWithdraw_.empty() || !handOvers_.empty();
}

// A page still on its way is waited for a part of the time, so that the program does not end
// in the middle of the hand-over; once handed over, its job is withdrawn with the others when
// the user chose so.
void SlipPrintFlow::WithdrawBeforeEnd(std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    const Clock::time_point handOversBy = Clock::now() + limit / 2;
    // A page the user chose to withdraw that may still come out is told, never left in silence.
    bool withdrawn = true;
    for (const auto& [id, handOver] : handOvers_) {
        std::unique_lock lock(handOver->mutex);
        if (!handOver->done.wait_until(lock, handOversBy,
                                       [&handOver] { return handOver->result.has_value(); })) {
            withdrawn = withdrawn && !withdrawHandOvers_;
            continue;
        }
        const SlipPrintResult& result = *handOver->result;
        if (!withdrawHandOvers_ || result.status != SlipPrintStatus::Printed || !result.mark)
            continue;
        if (const std::optional<int> job = follower_.Follow(*result.mark))
            toWithdraw_.push_back(*job);
        else
            withdrawn = false;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    withdrawn =
        follower_.WithdrawAndStop(toWithdraw_, std::max(left, std::chrono::milliseconds(0))) &&
        withdrawn;
    toWithdraw_.clear();
    if (!withdrawn)
        ShowMessage(QText(NotWithdrawnAtEndMessage));
}
