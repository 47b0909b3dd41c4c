// The print system on Windows: the spooler, asked through winspool's wide calls. A call to a
// network printer goes to its print server and can hang there for minutes, so every spooler
// call runs on a thread of its own and is given up after CallLimit; a call given up on ends
// on its own later, holding only copies of what it needs.
#include "page/PrintSystem.h"

#include "base/WindowsApi.h"
#include "base/WindowsText.h"
#include "page/QtPageHandOver.h"
#include "page/SpoolerAnswers.h"

#include <winspool.h>

#include <QDateTime>
#include <QPrinterInfo>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A local spooler answers within milliseconds; a print server that takes longer than this
// counts as not answering, and the print's follower asks again later.
constexpr auto CallLimit = 2000ms;

// The answer of `call`, run on a thread of its own; nothing when it did not come within
// `limit`, when the call failed with an exception, or when no thread could be started.
template <typename Call>
std::optional<std::invoke_result_t<Call>> WithinLimit(Call call, std::chrono::milliseconds limit) {
    using Answer = std::invoke_result_t<Call>;
    struct Pending {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        std::optional<Answer> answer;
    };
    const auto pending = std::make_shared<Pending>();
    try {
        std::thread([pending, call = std::move(call)]() mutable {
            std::optional<Answer> answer;
            try {
                answer = call();
            } catch (const std::exception&) {
                // No answer: the caller treats it as a spooler that did not answer.
            }
            const std::lock_guard lock(pending->mutex);
            pending->answer = std::move(answer);
            pending->finished = true;
            pending->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt;
    }
    std::unique_lock lock(pending->mutex);
    if (!pending->done.wait_for(lock, limit, [&pending] { return pending->finished; }))
        return std::nullopt;
    return std::move(pending->answer);
}

std::wstring Wide(const QString& text) {
    return Utf8ToWide(text.toStdString());
}

QString FromWide(const std::wstring& text) {
    return QString::fromStdString(WideToUtf8(text));
}

// A printer handle for the life of the object; the error when the printer could not be opened.
class OpenedPrinter {
public:
    explicit OpenedPrinter(std::wstring name) {
        SetLastError(ERROR_SUCCESS);
        if (!OpenPrinterW(name.data(), &handle_, nullptr)) {
            handle_ = nullptr;
            error_ = GetLastError();
        }
    }
    ~OpenedPrinter() {
        if (handle_)
            ClosePrinter(handle_);
    }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE Handle() const { return handle_; }
    DWORD Error() const { return error_; }

private:
    HANDLE handle_ = nullptr;
    DWORD error_ = ERROR_SUCCESS;
};

// Calls a spooler function that fills a buffer (buffer, its size, the size needed) until its
// answer fits; false when it fails otherwise, with the error.
template <typename Fill> bool FillBuffer(std::vector<BYTE>& buffer, DWORD& error, Fill fill) {
    // The answer can grow between the call that measures it and the one that takes it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = 0;
        SetLastError(ERROR_SUCCESS);
        if (fill(buffer.empty() ? nullptr : buffer.data(), static_cast<DWORD>(buffer.size()),
                 &needed))
            return true;
        error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size())
            return false;
        buffer.resize(needed);
    }
    return false;
}

std::optional<SpoolerPrinter> DescribePrinter(HANDLE printer) {
    std::vector<BYTE> buffer;
    DWORD error = ERROR_SUCCESS;
    if (!FillBuffer(buffer, error,
                    [printer](BYTE* data, DWORD size, DWORD* needed) {
                        return GetPrinterW(printer, 2, data, size, needed);
                    }) ||
        buffer.size() < sizeof(PRINTER_INFO_2W))
        return std::nullopt;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    return SpoolerPrinter{info->Status, info->Attributes};
}

struct JobStatus {
    std::optional<DWORD> status; // nothing when the spooler gave no job
    DWORD error = ERROR_SUCCESS;
};

JobStatus ReadJob(HANDLE printer, int job) {
    std::vector<BYTE> buffer;
    JobStatus read;
    if (FillBuffer(buffer, read.error,
                   [printer, job](BYTE* data, DWORD size, DWORD* needed) {
                       return GetJobW(printer, static_cast<DWORD>(job), 1, data, size, needed);
                   }) &&
        buffer.size() >= sizeof(JOB_INFO_1W))
        read.status = reinterpret_cast<const JOB_INFO_1W*>(buffer.data())->Status;
    return read;
}

// Windows' default printer for this user: nothing when there is none.
std::optional<std::wstring> DefaultPrinter() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return std::nullopt;
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size))
        return std::nullopt;
    name.resize(size > 0 ? size - 1 : 0);
    return name.empty() ? std::nullopt : std::optional(name);
}

struct OpenedQueue {
    PageHandOver outcome; // HandedOver: the printer is there and can be handed the page
    std::wstring name;
};

class SpoolerPrintSystem final : public PrintSystem {
public:
    bool ServerAnswers() override {
        // The local spooler itself; one that is not running refuses at once, which counts as
        // an answer (the print then finds no printer).
        return WithinLimit(
                   [] {
                       HANDLE server = nullptr;
                       if (OpenPrinterW(nullptr, &server, nullptr))
                           ClosePrinter(server);
                       return true;
                   },
                   CallLimit)
            .has_value();
    }

    bool QueueAcceptsJobs(const QString& queue) override {
        const auto described = WithinLimit(
            [name = Wide(queue)]() -> std::optional<SpoolerPrinter> {
                const OpenedPrinter printer(name);
                return printer ? DescribePrinter(printer.Handle()) : std::nullopt;
            },
            CallLimit);
        return !described || !*described || SpoolerQueueAcceptsJobs(**described);
    }

    PageHandOverResult HandOverPage(const QString& printerName, const QString& documentName,
                                    const PagePaint& paint,
                                    std::optional<PrintJobMark>& mark) override {
        mark.reset();
        const auto opened = WithinLimit(
            [name = Wide(printerName)]() -> OpenedQueue {
                std::optional<std::wstring> queue = name;
                if (name.empty())
                    queue = DefaultPrinter();
                if (!queue)
                    return {PageHandOver::NoPrinter, {}};
                const OpenedPrinter printer(*queue);
                return {printer ? PageHandOver::HandedOver : FailedOpen(printer.Error()), *queue};
            },
            CallLimit);
        if (!opened)
            return {PageHandOver::NoAnswer, printerName};
        const QString queue = FromWide(opened->name);
        if (opened->outcome != PageHandOver::HandedOver)
            return {opened->outcome, queue};
        // The spooler numbers jobs in no order the program can rely on, and lists every user's:
        // the print's job is told by a name of its own, with the date and time of the print.
        const auto from = std::chrono::system_clock::now();
        const QString uniqueName =
            documentName + ' ' +
            QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        mark = PrintJobMark{queue, uniqueName, 0, from};
        return {HandPageToQtPrinter(QPrinterInfo::printerInfo(queue), uniqueName, paint), queue};
    }

    std::optional<int> FindJob(const PrintJobMark& mark, const std::set<int>& taken) override {
        const auto found = WithinLimit(
            [name = Wide(mark.queue), document = Wide(mark.documentName),
             from = mark.handedOverFrom, taken]() -> std::optional<int> {
                const OpenedPrinter printer(name);
                if (!printer)
                    return std::nullopt;
                std::vector<BYTE> buffer;
                DWORD error = ERROR_SUCCESS;
                DWORD count = 0;
                const bool listed = FillBuffer(
                    buffer, error, [&printer, &count](BYTE* data, DWORD size, DWORD* needed) {
                        return EnumJobsW(printer.Handle(), 0, MAXDWORD, 1, data, size, needed,
                                         &count);
                    });
                // A spooler that lists nothing and gives no error holds no job: Wine's, which
                // hands every job on to CUPS as soon as it is complete.
                if (!listed)
                    return error == ERROR_SUCCESS ? std::optional(0) : std::nullopt;
                if (buffer.size() < count * sizeof(JOB_INFO_1W))
                    return std::nullopt;
                return OwnJob(
                    SpoolerJobs(reinterpret_cast<const JOB_INFO_1W*>(buffer.data()), count),
                    document, from, taken);
            },
            CallLimit);
        return found.value_or(std::nullopt);
    }

    PrintJobState LookAtJob(const QString& queue, int job) override {
        return WithinLimit(
                   [name = Wide(queue), job] {
                       // A network printer whose server is away can say it does not exist: no
                       // answer, not a job gone.
                       const OpenedPrinter printer(name);
                       if (!printer)
                           return PrintJobState::NoAnswer;
                       const JobStatus read = ReadJob(printer.Handle(), job);
                       if (!read.status)
                           return SaysNoSuchJob(read.error) ? PrintJobState::Gone
                                                            : PrintJobState::NoAnswer;
                       return SpoolerJobState(*read.status, DescribePrinter(printer.Handle()));
                   },
                   CallLimit)
            .value_or(PrintJobState::NoAnswer);
    }

    JobCancel CancelJob(const QString& queue, int job) override {
        return WithinLimit(
                   [name = Wide(queue), job] {
                       const OpenedPrinter printer(name);
                       if (!printer)
                           return FailedCancel(printer.Error()) == JobCancel::Refused
                                      ? JobCancel::Refused
                                      : JobCancel::NoAnswer;
                       const JobStatus read = ReadJob(printer.Handle(), job);
                       if (!read.status)
                           return FailedCancel(read.error);
                       // A job printed and kept in the queue has come out: withdrawing it would
                       // tell a lie.
                       const PrintJobState state = SpoolerJobState(*read.status, std::nullopt);
                       if (state == PrintJobState::Completed || state == PrintJobState::Cancelled)
                           return JobCancel::AlreadyEnd;
                       SetLastError(ERROR_SUCCESS);
                       if (!SetJobW(printer.Handle(), static_cast<DWORD>(job), 0, nullptr,
                                    JOB_CONTROL_DELETE))
                           return FailedCancel(GetLastError());
                       return TakenCancel(ReadJob(printer.Handle(), job).status);
                   },
                   CallLimit)
            .value_or(JobCancel::NoAnswer);
    }

    PrinterCondition LookAtPrinter(const QString& queue) override {
        return WithinLimit(
                   [name = Wide(queue)] {
                       const OpenedPrinter printer(name);
                       if (!printer)
                           return FailedOpen(printer.Error()) == PageHandOver::NoPrinter
                                      ? PrinterCondition::Offline
                                      : PrinterCondition::NoAnswer;
                       const std::optional<SpoolerPrinter> described =
                           DescribePrinter(printer.Handle());
                       return described ? SpoolerPrinterCondition(*described)
                                        : PrinterCondition::NoAnswer;
                   },
                   CallLimit)
            .value_or(PrinterCondition::NoAnswer);
    }
};

} // namespace

std::shared_ptr<PrintSystem> MakePlatformPrintSystem() {
    return std::make_shared<SpoolerPrintSystem>();
}
