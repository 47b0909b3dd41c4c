#include "support/PrivateCupsd.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QtDebug>

PrivateCupsd::PrivateCupsd() = default;

PrivateCupsd::~PrivateCupsd() {
    stop();
}

bool PrivateCupsd::run(const QStringList& arguments, QString* output) {
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

bool PrivateCupsd::start() {
    if (!directory_.isValid())
        return false;
    const QString dir = directory_.path();
    // The server also stops when this process ends, however it ends.
    if (!run({"start", dir, QString::number(QCoreApplication::applicationPid())}))
        return false;
    started_ = true;

    // Only this test process talks to the private server.
    QString settings;
    if (!run({"env", dir}, &settings))
        return false;
    for (const QString& line : settings.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf('=');
        qputenv(line.left(equals).toLocal8Bit().constData(), line.mid(equals + 1).toLocal8Bit());
    }
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    return true;
}

void PrivateCupsd::stop() {
    if (started_)
        run({"stop", directory_.path()});
    started_ = false;
}

QString PrivateCupsd::jobFile() const {
    return directory_.filePath("out/job.pdf");
}

QString PrivateCupsd::otherJobFile() const {
    return directory_.filePath("out/other.pdf");
}

bool PrivateCupsd::runOnServer(const QString& program, const QStringList& arguments) {
    QProcess command;
    command.setProcessChannelMode(QProcess::MergedChannels);
    command.start(program, QStringList{"-h", directory_.filePath("cups.sock")} + arguments);
    const bool done = command.waitForFinished(30000) &&
                      command.exitStatus() == QProcess::NormalExit && command.exitCode() == 0;
    if (!done)
        qWarning().noquote() << program << "failed:" << QString::fromLocal8Bit(command.readAll());
    return done;
}

bool PrivateCupsd::setAcceptingJobs(bool accepting) {
    return runOnServer(accepting ? "/usr/sbin/cupsaccept" : "/usr/sbin/cupsreject", {"Quotario"});
}

bool PrivateCupsd::setPrinterEnabled(bool enabled) {
    return runOnServer(enabled ? "/usr/sbin/cupsenable" : "/usr/sbin/cupsdisable", {"Quotario"});
}

bool PrivateCupsd::setJobsForbidden(bool forbidden) {
    const QString policy = forbidden ? "refuse-jobs" : "default"; // scripts/private-cupsd
    return runOnServer("/usr/sbin/lpadmin",
                       {"-p", "Quotario", "-o", "printer-op-policy=" + policy});
}

bool PrivateCupsd::setAnswering(bool answering) {
    if (answering)
        return run({"thaw", directory_.path()});
    QFile pidFile(directory_.filePath("cupsd.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return false;
    const QString pid = QString::fromLatin1(pidFile.readAll().trimmed());
    // kill(1) rather than kill(2): this file is built for the Windows tests too, which never
    // stop a server.
    return pid.toInt() > 0 &&
           QProcess::execute(QStringLiteral("kill"), {QStringLiteral("-STOP"), pid}) == 0;
}

bool PrivateCupsd::freezeAfterRequests(int requests) {
    return run({"freeze-after", directory_.path(), QString::number(requests)});
}

bool PrivateCupsd::cancelAllJobs() {
    return runOnServer("/usr/bin/cancel", {"-a"});
}

bool PrivateCupsd::setDeviceOpenable(bool openable) {
    const QString device = openable ? "file://" + jobFile() : "file:/nonexistent/quotario/job.pdf";
    return runOnServer("/usr/sbin/lpadmin", {"-p", "Quotario", "-v", device});
}

bool PrivateCupsd::addDefaultQueue(const QString& name, const QString& device) {
    return runOnServer("/usr/sbin/lpadmin", {"-p", name, "-E", "-v", device, "-P",
                                             directory_.filePath("quotario.ppd")}) &&
           runOnServer("/usr/sbin/lpadmin", {"-d", name});
}

QString PrivateCupsd::sleepingDevice(double seconds, Sleeping outcome) const {
    return "sleeping:" + sleepingFolder() + "?seconds=" + QString::number(seconds) +
           (outcome == Sleeping::Fails ? "&fail" : "");
}

QString PrivateCupsd::sleepingFolder() const {
    return directory_.filePath("out");
}

bool PrivateCupsd::queueIsEmpty() {
    QProcess lpstat;
    lpstat.start("lpstat", {"-o"});
    return lpstat.waitForFinished(10000) && lpstat.exitCode() == 0 &&
           lpstat.readAllStandardOutput().trimmed().isEmpty();
}
