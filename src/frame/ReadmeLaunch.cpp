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

#include <atomic>
#include <exception>
#include <thread>
#include <utility>

namespace {

bool waiting = false;

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

// Execute with the launcher's wait, on a thread of its own, while this thread goes on handling
// the windows' painting and drops their input; an error of Execute comes back here.
void ExecuteKeepingWindowsPainted(TAppExec& launcher) {
    const WaitingWindows windows;
    QEventLoop loop;
    std::atomic<bool> ended{false};
    std::exception_ptr error;
    std::thread launch([&] {
        try {
            launcher.Execute();
        } catch (...) {
            error = std::current_exception();
        }
        ended = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    if (!ended)
        loop.exec();
    // A program asked to end meanwhile ends every loop: it waits for the editor here.
    launch.join();
    // Input that arrived up to the end goes to the windows while they are still disabled.
    QApplication::processEvents();
    if (error)
        std::rethrow_exception(error);
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
        ExecuteKeepingWindowsPainted(launcher);
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
