#pragma once
// The program's three windows for a test: made afresh for every test function, the main
// window shown and active, as at start-up.
#include "windows/Unit1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// Destroys any previous set, creates the windows in the program's order and shows the main
// window. False when the main window did not become active.
bool StartWindowSet();
void StopWindowSet();

// A control of a window by its name; fails the test (returns nullptr) when it is missing.
template <class Control> Control* Find(QWidget* window, const char* name) {
    return window->findChild<Control*>(QString::fromLatin1(name));
}
inline QLineEdit* Box(const char* name) {
    return Find<QLineEdit>(Form1, name);
}
inline QLabel* Label(const char* name) {
    return Find<QLabel>(Form1, name);
}
inline QPushButton* Button(const char* name) {
    return Find<QPushButton>(Form1, name);
}

// The name of the control that has the focus within the main window.
QString FocusedName(QWidget* window);
