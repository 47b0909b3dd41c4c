#include "support/WindowSetFixture.h"

#include "frame/UpDown.h"
#include "program/WindowSet.h"
#include "windows/SlipPrintFlow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {
std::unique_ptr<WindowSet> windowSet;

QLineEdit* EntryBox(const QString& name) {
    QLineEdit* box = Box(name.toLatin1().constData());
    if (!box)
        QTest::qFail(qPrintable("no entry box " + name), __FILE__, __LINE__);
    return box;
}
} // namespace

bool StartWindowSet() {
    StopWindowSet();
    windowSet = std::make_unique<WindowSet>();
    Form1->show();
    return QTest::qWaitForWindowActive(Form1);
}

void StopWindowSet() {
    windowSet.reset();
}

QStringList Texts(const QStringList& names) {
    QStringList result;
    for (const QString& name : names) {
        const QByteArray n = name.toLatin1();
        if (QLineEdit* box = Box(n.constData()))
            result.append(box->text());
        else if (QLabel* label = Label(n.constData()))
            result.append(label->text());
        else
            result.append("<no control " + name + ">");
    }
    return result;
}

QString StatusLine() {
    return Label("StatusBar2")->text();
}

void SetEntries(const EntryTexts& entries) {
    for (const EntryText& entry : entries)
        if (QLineEdit* box = EntryBox(entry.box))
            box->setText(entry.text);
}

void TypeEntries(const EntryTexts& entries) {
    for (const EntryText& entry : entries) {
        if (QLineEdit* box = EntryBox(entry.box)) {
            box->clear();
            QTest::keyClicks(box, entry.text);
        }
    }
}

void PressCalcola() {
    QTest::mouseClick(Button("CalcolaBtn"), Qt::LeftButton);
}

bool ShowSummary() {
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    return Form1->isHidden() && QTest::qWaitForWindowActive(Form2);
}

bool FillComputeAndShowSummary() {
    SetEntries(EntriesOf(SamplePayer));
    SetEntries(EntriesOf({.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"},
                         {.income = "500", .revaluation = "5", .rate = "5"}));
    PressCalcola();
    return ShowSummary();
}

bool Activate(QWidget* window) {
    window->windowHandle()->requestActivate();
    return QTest::qWaitForWindowActive(window);
}

QString FocusedName(QWidget* window) {
    QWidget* focused = window->focusWidget();
    return focused ? focused->objectName() : QString();
}

QToolButton* Arrow(const QString& upDown, const char* which) {
    return Form2->findChild<TUpDown*>(upDown)->findChild<QToolButton*>(which);
}

void PressStampa() {
    QTest::mouseClick(Form2->findChild<QToolButton*>("StampaBtn1"), Qt::LeftButton);
    AwaitHandOver();
}

void AwaitHandOver() {
    // A hand-over that a frozen print system holds is left running, as the user would.
    static_cast<void>(QTest::qWaitFor([] { return !SlipPrintFlow::HandOverUnderWay(); }, 2500));
    QCoreApplication::processEvents();
}

ChiudiOutcome PressChiudiAndRunTheLoop(int patienceMs) {
    QTimer tooLong;
    tooLong.setSingleShot(true);
    QObject::connect(&tooLong, &QTimer::timeout, [] { QApplication::exit(99); });
    tooLong.start(patienceMs);
    ChiudiOutcome end;
    QElapsedTimer clock;
    QTimer::singleShot(0, Form2, [&clock, &end] {
        clock.start();
        QTest::mouseClick(Form2->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        end.windowsGoneAtOnce = Form2->isHidden();
    });
    end.exitCode = QApplication::exec();
    end.elapsedMs = clock.elapsed();
    return end;
}

QMenu* OpenStampaMenu(MenuRequest request) {
    auto* button = Form2->findChild<QToolButton*>("StampaBtn1");
    if (request == MenuRequest::RightButton) {
        // Through the window, as the platform delivers it: a click sent to the button itself
        // would never become a request for its menu.
        QTest::mouseClick(Form2->windowHandle(), Qt::RightButton, {},
                          button->mapTo(Form2, button->rect().center()));
    } else {
        button->setFocus();
        if (request == MenuRequest::ShiftF10)
            QTest::keyClick(button, Qt::Key_F10, Qt::ShiftModifier);
        else
            QTest::keyClick(button, Qt::Key_Menu);
    }
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu && QTest::qWaitForWindowExposed(menu) ? menu : nullptr;
}

bool ChooseFromStampaMenu(char letter) {
    QMenu* menu = OpenStampaMenu();
    if (!menu)
        return false;
    QTest::keyClick(menu, letter);
    AwaitHandOver();
    return true;
}

QString ReportText(SlipLabelId label) {
    return QString::fromStdString(QRFM->QREP.Label(label).text);
}
