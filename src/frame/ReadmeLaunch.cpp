#include "frame/ReadmeLaunch.h"

#include "base/ProgramDirectory.h"
#include "frame/MessageBoxes.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace {

bool waiting = false;
// What waits for the read-me's editor to close: each runs once, queued, when it has.
QList<std::pair<QPointer<QObject>, std::function<void()>>> afterWait;

void RunAfterWait() {
    const auto queued = std::exchange(afterWait, {});
    for (const auto& [context, then] : queued)
        if (context)
            QMetaObject::invokeMethod(context, then, Qt::QueuedConnection);
}

// While the editor is open the program's windows stay painted but disabled, so that what the
// user clicks or types on them meanwhile is dropped there and then, not carried out once the
// editor closes. A disabled window still takes its close box, which is dropped here too.
class WaitingWindows : public QObject {
public:
    WaitingWindows() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isEnabled())
                continue;
            // Disabling drops the focus, which each window gets back afterwards.
            disabled_.append(
                std::pair<QPointer<QWidget>, QPointer<QWidget>>(window, window->focusWidget()));
            window->setEnabled(false);
            window->installEventFilter(this);
        }
        waiting = true;
    }
    ~WaitingWindows() override {
        waiting = false;
        for (const auto& [window, focus] : disabled_) {
            if (!window)
                continue;
            window->removeEventFilter(this);
            window->setEnabled(true);
            if (focus)
                focus->setFocus();
        }
        RunAfterWait();
    }
    WaitingWindows(const WaitingWindows&) = delete;
    WaitingWindows& operator=(const WaitingWindows&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::Close && event->spontaneous();
    }

private:
    QList<std::pair<QPointer<QWidget>, QPointer<QWidget>>> disabled_; // window, its focus
};

// What the launch thread shares with the window thread. The thread keeps it alive: when the
// program ends before the editor, the thread is left to wait on its own and ends with the
// program, while the editor stays open.
struct Launch {
    std::mutex mutex;
    TAppExec launcher;
    std::exception_ptr error;
    bool ended = false;
    QEventLoop* loop = nullptr; // while the window thread waits in it
};

// Execute with the launcher's wait, on a thread of its own, while this thread goes on handling
// the windows' painting and drops their input; an error of Execute comes back here. A program
// asked to end meanwhile ends every loop: then this returns at once, and true only when the
// editor has ended.
bool ExecuteKeepingWindowsPainted(TAppExec& launcher) {
    const WaitingWindows windows;
    QEventLoop loop;
    auto launch = std::make_shared<Launch>();
    launch->launcher = launcher;
    launch->loop = &loop;
    std::thread thread([launch] {
        std::exception_ptr error;
        try {
            launch->launcher.Execute();
        } catch (...) {
            error = std::current_exception();
        }
        const std::lock_guard lock(launch->mutex);
        launch->error = error;
        launch->ended = true;
        if (launch->loop)
            QMetaObject::invokeMethod(launch->loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    bool ended = false;
    {
        const std::lock_guard lock(launch->mutex);
        ended = launch->ended;
    }
    if (!ended)
        loop.exec();
    {
        const std::lock_guard lock(launch->mutex);
        launch->loop = nullptr;
        ended = launch->ended;
    }
    if (!ended) {
        thread.detach();
        return false;
    }
    thread.join();
    launcher = launch->launcher;
    // Input that arrived up to the end goes to the windows while they are still disabled.
    QApplication::processEvents();
    if (launch->error)
        std::rethrow_exception(launch->error);
    return true;
}

} // namespace

QString ReadmeNotOpenedMessage(int exitCode) {
    return QString("Impossibile aprire il file %1.\rIl programma \"%2\" ha risposto con il "
                   "codice di errore %3.")
        .arg(ReadmeFileName, TextEditorProgram)
        .arg(exitCode);
}

bool WaitingForReadme() {
    return waiting;
}

void AfterReadmeWait(QObject* context, std::function<void()> then) {
    afterWait.append({QPointer<QObject>(context), std::move(then)});
    if (!waiting)
        RunAfterWait();
}

void OpenReadmeIn(TAppExec& launcher, const std::string& directory) {
    launcher.Clear();
    launcher.SetExeName(TextEditorProgram);
    launcher.SetWait(true);
    launcher.SetChangeDir(true);
    // The editor gets the read-me's bare name, since the launcher splits its command line at
    // spaces; it finds the file because it starts in the program's directory. A program started
    // from a desktop menu runs in the user's home, where there is no read-me.
    launcher.SetExePath(directory);
    launcher.ExeParams().push_back(ReadmeFileName);
    try {
        if (!ExecuteKeepingWindowsPainted(launcher))
            return;
    } catch (const EAppExec& error) {
        ShowMessage(QString::fromUtf8(error.what()));
        return;
    }
    // The desktop's opener starts, then finds no program for text files (or no file): it
    // ends with an error code, and the user would otherwise see nothing happen at all.
    if (launcher.ExitCode() != 0)
        ShowMessage(ReadmeNotOpenedMessage(launcher.ExitCode()));
}

void OpenReadme(TAppExec& launcher) {
    OpenReadmeIn(launcher, ProgramDirectory());
}
