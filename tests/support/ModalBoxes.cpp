#include "support/ModalBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

constexpr int PollMs = 20;

void readBox(QMessageBox* box, SeenBox* seen) {
    seen->seen = true;
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->parent = box->parentWidget();
    seen->buttons.clear();
    for (QAbstractButton* button : box->buttons())
        seen->buttons.append(button->text());
    seen->defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    seen->escapeButton = box->escapeButton() ? box->escapeButton()->text() : QString();
}

void whenBoxOpens(std::function<void(QMessageBox*)> act) {
    QTimer::singleShot(
        PollMs, qApp,
        [act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) {
                whenBoxOpens(act);
                return;
            }
            act(box);
        });
}

} // namespace

void AnswerNextMessageBox(SeenBox* seen, const QString& buttonText,
                          std::function<void(QMessageBox*)> whileOpen) {
    whenBoxOpens([seen, buttonText, whileOpen](QMessageBox* box) {
        readBox(box, seen);
        if (whileOpen)
            whileOpen(box);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == buttonText) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        }
        box->reject();
    });
}

void EscapeNextMessageBox(SeenBox* seen) {
    whenBoxOpens([seen](QMessageBox* box) {
        readBox(box, seen);
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

void EnterInNextMessageBox(SeenBox* seen) {
    whenBoxOpens([seen](QMessageBox* box) {
        readBox(box, seen);
        QTest::keyClick(box, Qt::Key_Return);
    });
}

void ActivateBox(QMessageBox* box) {
    box->windowHandle()->requestActivate();
    QTRY_VERIFY(box->isActiveWindow());
}

ModalWatchdog::ModalWatchdog(int patienceMs) : patienceMs_(patienceMs) {
    timer_.setInterval(PollMs * 5);
    connect(&timer_, &QTimer::timeout, this, &ModalWatchdog::check);
}

void ModalWatchdog::start() {
    closed_.clear();
    current_ = nullptr;
    openForMs_ = 0;
    timer_.start();
}

void ModalWatchdog::verifyNoneClosed() const {
    QVERIFY2(closed_.isEmpty(), qPrintable(closed_.join(QLatin1String(" | "))));
}

void ModalWatchdog::check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != current_) {
        current_ = modal;
        openForMs_ = 0;
        return;
    }
    if (!modal)
        return;
    openForMs_ += timer_.interval();
    if (openForMs_ < patienceMs_)
        return;
    closed_.append(modal->windowTitle() + QLatin1String(": ") +
                   (qobject_cast<QMessageBox*>(modal) ? qobject_cast<QMessageBox*>(modal)->text()
                                                      : modal->objectName()));
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
    current_ = nullptr;
    openForMs_ = 0;
}
