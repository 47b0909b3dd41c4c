#include "frame/ProgramFocus.h"

#include <QLineEdit>

void GiveFocus(QWidget* control) {
    control->setFocus(Qt::OtherFocusReason);
    // The selection outlives a message box still closing: the box's focus change keeps it.
    if (auto* box = qobject_cast<QLineEdit*>(control))
        box->selectAll();
}
