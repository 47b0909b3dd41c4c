#include "frame/EnterKey.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        // A held key presses once, as a held Space does.
        auto* button = static_cast<QAbstractButton*>(watched);
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void PressButtonsOnEnter(QWidget* window) {
    auto* filter = new EnterPressesButton(window);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button))
            button->installEventFilter(filter);
}
