#pragma once
// The slip's print on a printer, from the press to the end of its job: the page handed over on a
// thread of its own, its job followed, what the user is told (one box at a time), the PDF offer
// whenever a page does not reach the paper, and the question when the program is to end while
// a print has not been taken by its printer.
#include "page/PrintJobFollower.h"
#include "page/SlipPrinting.h"
#include "rules/SlipReport.h"

#include <QObject>
#include <QString>
#include <QTime>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QWidget;

class SlipPrintFlow : public QObject {
public:
    // The window owns the flow; the PDF file dialog belongs to it.
    explicit SlipPrintFlow(QWidget* window);
    // Never waits on the print system: a hand-over still under way is left to end on its own.
    ~SlipPrintFlow() override;
    SlipPrintFlow(const SlipPrintFlow&) = delete;
    SlipPrintFlow& operator=(const SlipPrintFlow&) = delete;

    // Hands a copy of the page to the printer of that name (the default printer when the name
    // is empty) on a thread of its own, and follows its job. Returns at once; whatever goes
    // wrong is told, with the PDF offer, as soon as it is known.
    void Print(const SlipReport& page, const QString& printerName, const SlipPagePainter& paint);

    // Asks whether to keep the page as a PDF file and writes it; with no reason, as
    // "Salva come PDF…" does, the file is asked for at once.
    void OfferPageAsPdf(const QString& reason, const SlipReport& page,
                        const SlipPagePainter& paint);

    // The preview and the print dialog ask the print server for its printers, which would hold
    // the window for a minute or two on a server that does not answer: it is asked first,
    // briefly. False, with the PDF offer of the page, when it does not answer.
    bool ServerAnswersOrOffer(const SlipReport& page);

    // Before the program ends: false when the user chose to wait for a print that its printer
    // has not taken. Asked once: after an answer to end, true at once.
    bool MayEnd();
    // True when the end waits a little: prints to withdraw, or a page still on its way.
    bool HoldsTheEnd() const;
    // The program's last step: the prints the user chose to withdraw are withdrawn, within
    // `limit` whatever the print system does; the follow-up stops.
    void WithdrawBeforeEnd(std::chrono::milliseconds limit);

    // The intervals a flow made from now on follows its jobs with: the program's own, or a
    // test's shorter ones. Returns the ones it replaces.
    static PrintJobFollowTiming SetFollowTiming(PrintJobFollowTiming timing);

    // True while a page is being handed over on its own thread, for a flow alive or gone: that
    // thread still paints with the application's fonts.
    static bool HandOverUnderWay();

    // A hand-over that takes longer than this after its press names its print when it is told.
    static constexpr std::chrono::milliseconds NamedAfter{2000};
    // How long the end may wait for news of a print just handed over before it asks.
    static constexpr std::chrono::milliseconds EndWaitsForNews{3000};

private:
    struct Press {
        SlipReport page;
        SlipPagePainter paint;
        QString printer; // as asked for; the queue's own name once it is known
        QTime time;
        int number = 0; // counted from 1 while the program runs
    };
    struct FollowedPrint {
        Press press;
        bool asking = false; // the user is being asked about it
        bool ended = false;  // its job ended while the user was asked
    };
    struct HandOver;

    void HandedOver(int handOver);
    void TakeResult(const Press& press, const SlipPrintResult& result, bool later);
    void NewsArrived(int job, PrintJobNews news);
    void ReportNews(int job, PrintJobNews news);
    void AskUnreachable(int job);
    void AwaitNewsOfNewPrints();

    // One box at a time: a report waits while another is open or while the read-me is open.
    void Report(std::function<void()> report);
    void ShowPending();

    // The jobs' prints and the pages still on their way, one a line.
    QString PrintsNotTaken(const std::vector<int>& jobs) const;

    QWidget* window_;
    PrintJobFollower follower_;
    std::map<int, FollowedPrint> followed_;
    std::map<int, std::shared_ptr<HandOver>> handOvers_;
    int nextHandOver_ = 1;
    int nextPress_ = 1;
    std::deque<std::function<void()>> pending_;
    bool reporting_ = false;
    bool waitingForReadme_ = false;
    bool endDecided_ = false;
    std::vector<int> toWithdraw_;
    bool withdrawHandOvers_ = false; // pages still on their way when the user chose to withdraw
};
