#include "WindowSetFixture.h"

#include "WindowSet.h"

#include <QTest>

bool StartWindowSet() {
    StopWindowSet();
    CreateWindowSet();
    Form1->show();
    return QTest::qWaitForWindowActive(Form1);
}

void StopWindowSet() {
    if (Form1)
        DestroyWindowSet();
}

QString FocusedName(QWidget* window) {
    QWidget* focused = window->focusWidget();
    return focused ? focused->objectName() : QString();
}
