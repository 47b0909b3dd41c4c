#pragma once
// A private print server for one test program (scripts/private-cupsd): its queue "Quotario" is
// the default printer and writes every job's PDF unchanged to jobFile(); its second queue,
// "Altra", writes to otherJobFile(). Starting it points
// this process's print settings at it, before the first print; it stops with stop(), with
// the object, or with the test process.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class PrivateCupsd {
public:
    PrivateCupsd();
    ~PrivateCupsd();
    PrivateCupsd(const PrivateCupsd&) = delete;
    PrivateCupsd& operator=(const PrivateCupsd&) = delete;

    bool start();
    void stop();
    QString jobFile() const;
    QString otherJobFile() const;
    // The queue as cupsaccept/cupsreject and cupsenable/cupsdisable leave it.
    bool setAcceptingJobs(bool accepting);
    bool setPrinterEnabled(bool enabled);
    // The queue still says it accepts jobs, but refuses each one at hand-over (its policy).
    bool setJobsForbidden(bool forbidden);
    // The server stopped with SIGSTOP: it keeps its socket but answers nothing; SIGCONT again
    // (which also calls off a freeze still to come).
    bool setAnswering(bool answering);
    // The server stopped with SIGSTOP once it has answered `requests` more requests: a server
    // that freezes in the middle of a print.
    bool freezeAfterRequests(int requests);
    // Every job of the server cancelled.
    bool cancelAllJobs();
    // The queue's device a file in a folder that does not exist: the server takes each job
    // and then stops it, as it does with a printer it cannot reach.
    bool setDeviceOpenable(bool openable);
    // A further queue on the test's page description, made the default printer, with its
    // device: sleepingDevice() for a printer that behaves like a real one, or any device URI
    // ("socket://127.0.0.1:9": a printer that cannot be reached).
    bool addDefaultQueue(const QString& name, const QString& device);
    // A device that takes `seconds` over each job and then writes it to the folder
    // sleepingFolder() as job-ID.pdf, or, failing, gives up then and stops its printer.
    enum class Sleeping { Prints, Fails };
    QString sleepingDevice(double seconds, Sleeping outcome = Sleeping::Prints) const;
    QString sleepingFolder() const;
    // True when the server holds no job, printing or waiting.
    static bool queueIsEmpty();

private:
    bool run(const QStringList& arguments, QString* output = nullptr);
    bool runOnServer(const QString& program, const QStringList& arguments);

    QTemporaryDir directory_{"/tmp/quotario-cups-XXXXXX"}; // short: it holds the socket
    bool started_ = false;
};
