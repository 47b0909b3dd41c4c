#include "frame/ButtonMenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace {

class MenuOnRequest : public QObject {
public:
    MenuOnRequest(QWidget* control, QMenu* menu, bool mouse)
        : QObject(control), menu_(menu), mouse_(mouse) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::ContextMenu) {
            const auto* request = static_cast<QContextMenuEvent*>(event);
            if (!mouse_ && request->reason() == QContextMenuEvent::Mouse)
                return false;
            Open(control, request->reason() == QContextMenuEvent::Mouse ? request->globalPos()
                                                                        : BelowControl(control));
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (!menuKey && !shiftF10)
            return false;
        Open(control, BelowControl(control));
        return true;
    }

private:
    static QPoint BelowControl(const QWidget* control) {
        return control->mapToGlobal(QPoint(0, control->height()));
    }

    // A platform that also turns the menu key into a request must not open it twice.
    void Open(const QWidget* control, const QPoint& where) {
        if (menu_ && control->isEnabled() && !menu_->isVisible())
            menu_->popup(where);
    }

    QPointer<QMenu> menu_;
    bool mouse_;
};

} // namespace

void OpenMenuOnRequest(QWidget* control, QMenu* menu) {
    control->installEventFilter(new MenuOnRequest(control, menu, true));
}

void OpenMenuOnKeyRequest(QWidget* control, QMenu* menu) {
    control->installEventFilter(new MenuOnRequest(control, menu, false));
}
