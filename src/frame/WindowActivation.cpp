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
// A watched window the program shows is activated at once as well: without a window manager
// nobody else hands it the focus.
class ActivationTracker : public QObject {
public:
    explicit ActivationTracker(QObject* parent) : QObject(parent) {
        connect(qApp, &QGuiApplication::focusWindowChanged, this,
                &ActivationTracker::FocusWindowChanged);
    }

    void Watch(QWidget* window, std::function<void()> onActivation) {
        watched_.push_back({window, std::move(onActivation)});
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Queued: the window's own show handler runs first, and the window is mapped by then.
        if (event->type() == QEvent::Show && !event->spontaneous())
            QMetaObject::invokeMethod(
                this,
                [this, window = QPointer<QWidget>(static_cast<QWidget*>(watched))] {
                    if (window && window->isVisible())
                        ShownByTheProgram(window);
                },
                Qt::QueuedConnection);
        return false;
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
            if (w.window->windowHandle() == focusWindow) {
                Activated(w);
                return;
            }
        }
    }

    void ShownByTheProgram(QWidget* window) {
        // A message box open over the program keeps the keyboard.
        if (!QApplication::activeModalWidget())
            window->activateWindow();
        for (const Watched& w : watched_) {
            if (w.window == window) {
                Activated(w);
                return;
            }
        }
    }

    void Activated(Watched w) {
        if (lastActive_ == w.window)
            return;
        lastActive_ = w.window;
        if (const auto onActivation = w.onActivation)
            Guarded(w.window, onActivation);
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
