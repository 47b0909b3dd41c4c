#include "support/WindowSetFixture.h"

#include "program/WindowSet.h"

#include <QTest>

#include <memory>

namespace {
std::unique_ptr<WindowSet> windowSet;
}

bool StartWindowSet() {
    StopWindowSet();
    windowSet = std::make_unique<WindowSet>();
    Form1->show();
    return QTest::qWaitForWindowActive(Form1);
}

void StopWindowSet() {
    windowSet.reset();
}

QString FocusedName(QWidget* window) {
    QWidget* focused = window->focusWidget();
    return focused ? focused->objectName() : QString();
}
