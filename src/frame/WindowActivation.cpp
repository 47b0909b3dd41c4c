#include "frame/WindowActivation.h"

#include "frame/HandlerGuard.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace {

// Follows the focus window of the whole program and remembers which of the watched windows
// had it last. Message boxes and foreign windows are not watched, so when the focus returns
// from one of them to the window it left, nothing has changed among the program's windows.
class ActivationTracker : public QObject {
public:
    explicit ActivationTracker(QObject* parent) : QObject(parent) {
        connect(qApp, &QGuiApplication::focusWindowChanged, this,
                &ActivationTracker::FocusWindowChanged);
    }

    void Watch(QWidget* window, std::function<void()> onActivation) {
        watched_.push_back({window, std::move(onActivation)});
    }

private:
    struct Watched {
        QPointer<QWidget> window;
        std::function<void()> onActivation;
    };

    void FocusWindowChanged(QWindow* focusWindow) {
        if (!focusWindow)
            return;
        std::erase_if(watched_, [](const Watched& w) { return w.window.isNull(); });
        for (const Watched& w : watched_) {
            if (w.window->windowHandle() != focusWindow)
                continue;
            if (lastActive_ == w.window)
                return;
            lastActive_ = w.window;
            if (const auto onActivation = w.onActivation)
                Guarded(w.window, onActivation);
            return;
        }
    }

    std::vector<Watched> watched_;
    QPointer<QWidget> lastActive_;
};

ActivationTracker* Tracker() {
    static QPointer<ActivationTracker> instance;
    if (!instance)
        instance = new ActivationTracker(qApp);
    return instance;
}

} // namespace

void WatchActivation(QWidget* window, std::function<void()> onActivation) {
    Tracker()->Watch(window, std::move(onActivation));
}
