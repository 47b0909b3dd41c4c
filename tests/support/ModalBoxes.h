#pragma once
// Driving the real modal boxes from a test, and a watchdog that fails a test when a modal
// dialog nobody expected stays open (it closes it, so that the test run goes on).
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// What the user saw in a message box.
struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QString escapeButton;
    QWidget* parent = nullptr;
};

// Waits for the next modal message box, reads it into *seen, runs whileOpen (if any) with the
// box, and presses the button with the given text. Returns at once: the box opens later.
void AnswerNextMessageBox(SeenBox* seen, const QString& buttonText,
                          std::function<void(QMessageBox*)> whileOpen = {});

// Presses Escape, or Enter, in the next modal message box instead of a button.
void EscapeNextMessageBox(SeenBox* seen);
void EnterInNextMessageBox(SeenBox* seen);

// For whileOpen: the box takes the activation while it is open, as under a window manager.
void ActivateBox(QMessageBox* box);

class ModalWatchdog : public QObject {
public:
    explicit ModalWatchdog(int patienceMs = 3000);
    // Clears the record and starts watching; call in init().
    void start();
    // The dialogs it had to close since start(); empty when all went as expected.
    QStringList closedDialogs() const { return closed_; }
    // Fails the running test, naming them, when it had to close any; call in cleanup().
    void verifyNoneClosed() const;

private:
    void check();
    QTimer timer_;
    QWidget* current_ = nullptr;
    int openForMs_ = 0;
    int patienceMs_;
    QStringList closed_;
};
