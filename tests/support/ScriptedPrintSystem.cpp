#include "support/ScriptedPrintSystem.h"

#include <QBuffer>
#include <QPdfWriter>

#include <utility>

namespace {

// The jobs of the queue before the first hand-over end here.
constexpr int NewestJobBeforeTheTest = 99;

bool Ended(PrintJobState state) {
    return state == PrintJobState::Completed || state == PrintJobState::Cancelled ||
           state == PrintJobState::Gone;
}

} // namespace

ScriptedPrintSystem::ScriptedPrintSystem(Settings settings) : settings_(std::move(settings)) {}

void ScriptedPrintSystem::SetCancelAnswer(JobCancel answer) {
    const std::lock_guard lock(mutex_);
    settings_.cancelAnswer = answer;
}

void ScriptedPrintSystem::Freeze() {
    const std::lock_guard lock(mutex_);
    frozen_ = true;
}

void ScriptedPrintSystem::Release() {
    {
        const std::lock_guard lock(mutex_);
        frozen_ = false;
    }
    released_.notify_all();
}

int ScriptedPrintSystem::FrozenCalls() const {
    const std::lock_guard lock(mutex_);
    return frozenCalls_;
}

int ScriptedPrintSystem::Calls(Call call) const {
    const std::lock_guard lock(mutex_);
    const auto found = calls_.find(call);
    return found == calls_.end() ? 0 : found->second;
}

std::vector<int> ScriptedPrintSystem::CancelledJobs() const {
    const std::lock_guard lock(mutex_);
    return cancelled_;
}

std::unique_lock<std::mutex> ScriptedPrintSystem::Enter(Call call) {
    std::unique_lock lock(mutex_);
    ++calls_[call];
    if (frozen_) {
        ++frozenCalls_;
        released_.wait(lock, [this] { return !frozen_; });
    }
    return lock;
}

ScriptedPrintSystem::Step ScriptedPrintSystem::StepNow(const Job& job) const {
    if (job.cancelled)
        return {PrintJobState::Cancelled};
    Clock::duration elapsed = Clock::now() - job.handedOver;
    for (std::size_t i = 0; i + 1 < job.script.size(); ++i) {
        if (elapsed < job.script[i].lasting)
            return job.script[i];
        elapsed -= job.script[i].lasting;
    }
    return job.script.back();
}

PrintJobMark ScriptedPrintSystem::HandOver() {
    std::optional<PrintJobMark> mark;
    HandOverPage(
        QString(), QStringLiteral("Bollettino"), [](QPagedPaintDevice&) { return true; }, mark);
    return mark.value_or(PrintJobMark());
}

bool ScriptedPrintSystem::ServerAnswers() {
    const auto lock = Enter(Call::ServerAnswers);
    return settings_.serverAnswers;
}

bool ScriptedPrintSystem::QueueAcceptsJobs(const QString&) {
    const auto lock = Enter(Call::QueueAcceptsJobs);
    return settings_.queueAccepts;
}

PageHandOverResult ScriptedPrintSystem::HandOverPage(const QString& printerName,
                                                     const QString& documentName,
                                                     const PagePaint& paint,
                                                     std::optional<PrintJobMark>& mark) {
    std::unique_lock lock = Enter(Call::HandOverPage);
    const QString queue = printerName.isEmpty() ? settings_.queue : printerName;
    mark.reset();
    if (settings_.handOver == PageHandOver::NoPrinter ||
        settings_.handOver == PageHandOver::NoAnswer)
        return {settings_.handOver, queue};
    const int newestBefore = jobs_.empty() ? NewestJobBeforeTheTest : jobs_.rbegin()->first;
    mark = PrintJobMark{queue, documentName, newestBefore, std::chrono::system_clock::now()};
    const PageHandOver scripted = settings_.handOver;
    // The paint may ask this print system again.
    lock.unlock();
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    QPdfWriter writer(&page);
    if (scripted != PageHandOver::HandedOver || !paint(writer))
        return {PageHandOver::Refused, queue};
    lock.lock();
    const std::size_t index = jobs_.size();
    const Script& script = settings_.scripts[std::min(index, settings_.scripts.size() - 1)];
    jobs_[newestBefore + 1] = Job{script, Clock::now()};
    return {PageHandOver::HandedOver, queue};
}

std::optional<int> ScriptedPrintSystem::FindJob(const PrintJobMark& mark,
                                                const std::set<int>& taken) {
    const auto lock = Enter(Call::FindJob);
    for (const auto& [id, job] : jobs_) {
        if (id <= mark.newestJobBefore || taken.contains(id))
            continue;
        const PrintJobState state = StepNow(job).state;
        if (state == PrintJobState::NoAnswer)
            return std::nullopt;
        // A job that left the queue at once is not among its jobs.
        if (state != PrintJobState::Gone)
            return id;
    }
    return 0;
}

PrintJobState ScriptedPrintSystem::LookAtJob(const QString&, int job) {
    const auto lock = Enter(Call::LookAtJob);
    const auto found = jobs_.find(job);
    return found == jobs_.end() ? PrintJobState::Gone : StepNow(found->second).state;
}

JobCancel ScriptedPrintSystem::CancelJob(const QString&, int job) {
    const auto lock = Enter(Call::CancelJob);
    cancelled_.push_back(job);
    const auto found = jobs_.find(job);
    if (found == jobs_.end() || Ended(StepNow(found->second).state))
        return JobCancel::AlreadyEnd;
    if (settings_.cancelAnswer == JobCancel::Cancelled)
        found->second.cancelled = true;
    return settings_.cancelAnswer;
}

PrinterCondition ScriptedPrintSystem::LookAtPrinter(const QString&) {
    const auto lock = Enter(Call::LookAtPrinter);
    if (jobs_.empty())
        return PrinterCondition::Ready;
    const Step step = StepNow(jobs_.rbegin()->second);
    return step.state == PrintJobState::NoAnswer ? PrinterCondition::NoAnswer : step.printer;
}
