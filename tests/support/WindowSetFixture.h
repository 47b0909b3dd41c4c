#pragma once
// The program's three windows for a test: made afresh for every test function, the main
// window shown and active, as at start-up; and their controls as the user reaches them.
#include "support/EntryTexts.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

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

// The texts of main window controls, each an entry box or a label.
QStringList Texts(const QStringList& names);
// The status line under the results.
QString StatusLine();

// Each box its text: set as a whole, or typed key by key into the emptied box.
void SetEntries(const EntryTexts& entries);
void TypeEntries(const EntryTexts& entries);

// "C&alcola", and "&Visualizza": false when the summary did not take the main window's place.
void PressCalcola();
bool ShowSummary();
// The main window filled in (account 12345678, holder "COMUNE DI ROMA" and "SERVIZIO
// TESORERIA", main residence income 500 with a deduction of 200) and computed, so that every
// slip text has its value, then the summary shown.
bool FillComputeAndShowSummary();

// The window made the active one, as the window manager does; false when it did not become so.
bool Activate(QWidget* window);

// The name of the control that has the focus within the main window.
QString FocusedName(QWidget* window);

// The summary window's controls: the slip's boxes, the two corrections with their spinners'
// arrows ("up", "down") and the paper positions; and its print button.
inline QLabel* SummaryBox(const QString& name) {
    return Form2->findChild<QLabel*>(name);
}
inline QLineEdit* SummaryEdit(const QString& name) {
    return Form2->findChild<QLineEdit*>(name);
}
inline QRadioButton* Radio(const QString& name) {
    return Form2->findChild<QRadioButton*>(name);
}
QToolButton* Arrow(const QString& upDown, const char* which);
// The print button clicked, then what the press leads to: the page goes to the printer on a
// thread of its own, and its outcome is told when that returns (waited for 2.5 s at most).
void PressStampa();
void AwaitHandOver();

// "Chiudi" pressed inside the program's own message loop, which runs until the program ends it
// or, after `patienceMs`, the test does (exit code 99).
struct ChiudiOutcome {
    int exitCode = 0;
    qint64 elapsedMs = 0;           // from the press to the loop's end
    bool windowsGoneAtOnce = false; // the summary hidden when the press returned
};
ChiudiOutcome PressChiudiAndRunTheLoop(int patienceMs);

// The print button's menu as the user opens it: with the right mouse button, or with
// Shift+F10 or the menu key while the button has the focus. Null when no menu opened.
enum class MenuRequest { RightButton, ShiftF10, MenuKey };
class QMenu;
QMenu* OpenStampaMenu(MenuRequest request = MenuRequest::RightButton);
// Opens the menu and chooses an item by its Alt letter, awaiting a print it starts as
// PressStampa does; false when there was no menu.
bool ChooseFromStampaMenu(char letter);

// A label's text in the report that the print fills.
QString ReportText(SlipLabelId label);
