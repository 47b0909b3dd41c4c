#include "frame/HandlerGuard.h"
#include "frame/MessageBoxes.h"
#include "frame/UpDown.h"
#include "frame/WindowActivation.h"
#include "support/DataRows.h"
#include "support/MessageRecorder.h"
#include "support/ModalBoxes.h"
#include "support/ProgramErrorLog.h"
#include "support/TestMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <climits>
#include <optional>

// The frame every window relies on: the message boxes, the handler guard with the
// application's last safety net, and activation among the program's windows.
class TestAppFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void boxesShowEveryLineOnItsOwnLine_data();
    void boxesShowEveryLineOnItsOwnLine();
    void plainBoxIsCaptionedWithTheTitle();
    void warningHasItsCaptionAndIcon();
    void informationAnswersYesByDefaultAndNoOnEscape();
    void errorBoxBelongsToItsOwner();
    void boxesSitAtTheCentre_data();
    void boxesSitAtTheCentre();
    void recorderStandsInAndStepsAside();
    void guardDropsTheSilentAbortAndHandsOnTheRest();
    void aFailingErrorHandlerDoesNotEscape();
    void applicationCatchesWhatNoGuardCaught();
    void activationCountsOnlyChangesBetweenTheProgramsWindows();
    void aSpinnerStepsAsFarAsItsLimitsWhateverTheIncrement_data();
    void aSpinnerStepsAsFarAsItsLimitsWhateverTheIncrement();

private:
    ModalWatchdog watchdog_;
    std::optional<ProgramErrorLog> errors_;
};

namespace {

// A window whose event function throws without a guard: only the application's last net
// stands between it and Qt.
class UnguardedWindow : public QWidget {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            throw EConvertError("'x' is not a valid integer value");
        return QWidget::event(event);
    }
};

} // namespace

void TestAppFrame::init() {
    errors_.emplace(ErrorsGoOn::Nowhere);
    watchdog_.start();
}

void TestAppFrame::cleanup() {
    errors_.reset();
    watchdog_.verifyNoneClosed();
}

void TestAppFrame::boxesShowEveryLineOnItsOwnLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one line") << "OK"
                              << "OK";
    QTest::newRow("CR") << "a\rb\rc"
                        << "a\nb\nc";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\nb";
    QTest::newRow("empty line") << "a\r\rb"
                                << "a\n\nb";
}

void TestAppFrame::boxesShowEveryLineOnItsOwnLine() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(DisplayText(text), shown);
}

void TestAppFrame::plainBoxIsCaptionedWithTheTitle() {
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK");
    ShowMessage("ERRORE!! Il campo X\rnon può essere lasciato vuoto!");
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Quotario"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QStringList({"OK"}));
    QCOMPARE(seen.text, QString("ERRORE!! Il campo X\nnon può essere lasciato vuoto!"));
}

void TestAppFrame::warningHasItsCaptionAndIcon() {
    SeenBox seen;
    EscapeNextMessageBox(&seen);
    MessageWarning("uno\rdue");
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Warning"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QStringList({"OK"}));
    QCOMPARE(seen.text, QString("uno\ndue"));
}

void TestAppFrame::informationAnswersYesByDefaultAndNoOnEscape() {
    SeenBox seen;
    AnswerNextMessageBox(&seen, "&Yes");
    QVERIFY(MessageInformationYesNo("Aprire il sito?"));
    QCOMPARE(seen.title, QString("Information"));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.buttons, QStringList({"&Yes", "&No"}));
    QCOMPARE(seen.defaultButton, QString("&Yes"));
    QCOMPARE(seen.escapeButton, QString("&No"));

    EscapeNextMessageBox(&seen);
    QVERIFY(!MessageInformationYesNo("Aprire il sito?"));
    AnswerNextMessageBox(&seen, "&No");
    QVERIFY(!MessageInformationYesNo("Aprire il sito?"));
}

void TestAppFrame::errorBoxBelongsToItsOwner() {
    QWidget owner;
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK");
    ShowErrorBox(&owner, "ERRORE.........\rCOLORE GIALLO.");
    QCOMPARE(seen.parent, &owner);
    QCOMPARE(seen.title, QString("Quotario"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.text, QString("ERRORE.........\nCOLORE GIALLO."));
}

void TestAppFrame::boxesSitAtTheCentre_data() {
    QTest::addColumn<int>("kind"); // MessageKind
    QTest::addColumn<QString>("button");
    AddRow("plain", int(MessageKind::Plain), QString("OK"));
    AddRow("warning", int(MessageKind::Warning), QString("OK"));
    AddRow("information", int(MessageKind::Information), QString("&No"));
    AddRow("question", int(MessageKind::Question), QString("&No"));
    AddRow("save question", int(MessageKind::SaveQuestion), QString("Annulla"));
    AddRow("error, over its owner", int(MessageKind::Error), QString("OK"));
}

void TestAppFrame::boxesSitAtTheCentre() {
    QFETCH(int, kind);
    QFETCH(QString, button);
    // An owner away from the screen's centre.
    QWidget owner;
    owner.setGeometry(40, 60, 300, 200);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const QRect screen = owner.screen()->availableGeometry();
    const QString text = "Una riga\rUn'altra riga, piuttosto lunga, della stessa finestra";
    QRect where;
    SeenBox seen;
    AnswerNextMessageBox(&seen, button, [&](QMessageBox* box) { where = box->geometry(); });
    switch (MessageKind(kind)) {
    case MessageKind::Plain:
        ShowMessage(text);
        break;
    case MessageKind::Warning:
        MessageWarning(text);
        break;
    case MessageKind::Information:
        MessageInformationYesNo(text);
        break;
    case MessageKind::Question:
        MessageQuestionYesNo(text);
        break;
    case MessageKind::SaveQuestion:
        QCOMPARE(MessageSaveChanges(text), MessageAnswer::Cancel);
        break;
    case MessageKind::Error:
        ShowErrorBox(&owner, text);
        break;
    }
    QVERIFY(seen.seen);
    const QPoint centre =
        MessageKind(kind) == MessageKind::Error ? owner.geometry().center() : screen.center();
    // Exact under X11; the offscreen platform shifts a window by its pretended frame (2 or 3 px).
    const QPoint off = where.center() - centre;
    QVERIFY2(qAbs(off.x()) <= 3 && qAbs(off.y()) <= 3, qPrintable(QString("box at %1,%2 %3x%4")
                                                                      .arg(where.x())
                                                                      .arg(where.y())
                                                                      .arg(where.width())
                                                                      .arg(where.height())));
}

void TestAppFrame::recorderStandsInAndStepsAside() {
    {
        MessageRecorder recorder;
        recorder.answers = {MessageAnswer::No};
        QVERIFY(!MessageInformationYesNo("a\rb"));
        QVERIFY(MessageInformationYesNo("c"));
        QCOMPARE(recorder.texts(), QStringList({"a\rb", "c"}));
        QCOMPARE(recorder.messages[0].caption, QString("Information"));
    }
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK");
    ShowMessage("real again");
    QVERIFY(seen.seen);
}

void TestAppFrame::guardDropsTheSilentAbortAndHandsOnTheRest() {
    QPushButton button;
    int runs = 0;
    ConnectGuarded(&button, &QPushButton::clicked, &button, [&runs](QPushButton*) {
        if (++runs == 1)
            throw EAbort();
        throw EConvertError("'' is not a valid floating point value");
    });
    button.click();
    QVERIFY(errors_->texts.isEmpty());
    button.click();
    QCOMPARE(errors_->texts, QStringList({"'' is not a valid floating point value"}));
    Guarded(&button, [] { throw std::runtime_error("out of range"); });
    QCOMPARE(errors_->texts.size(), 2);
}

void TestAppFrame::aFailingErrorHandlerDoesNotEscape() {
    SetProgramErrorHandler([](QObject*, std::exception_ptr) { throw std::bad_alloc(); });
    QTest::ignoreMessage(QtCriticalMsg, "Unhandled error: std::bad_alloc");
    QTest::ignoreMessage(QtCriticalMsg, "Unhandled error: boom");
    Guarded(nullptr, [] { throw Exception("boom"); });
}

// The clicked button's error ends the handler that clicked, and is handled once, from there;
// an error after the click, or of a click that runs no handler of its own, goes on as usual.
void TestAppFrame::applicationCatchesWhatNoGuardCaught() {
    UnguardedWindow window;
    QEvent event(QEvent::User);
    QCOMPARE(QApplication::sendEvent(&window, &event), false);
    QCOMPARE(errors_->texts, QStringList({"'x' is not a valid integer value"}));
}

void TestAppFrame::activationCountsOnlyChangesBetweenTheProgramsWindows() {
    QWidget first;
    QWidget second;
    QStringList activations;
    WatchActivation(
        &first, [&] { activations.append("first"); });
    WatchActivation(&second, [&] { activations.append("second"); });
    const auto activate = [](QWidget* window) {
        window->windowHandle()->requestActivate();
        return QTest::qWaitForWindowActive(window);
    };

    first.show();
    QVERIFY(QTest::qWaitForWindowActive(&first));
    QCOMPARE(activations, QStringList({"first"}));

    // A message box takes the activation and gives it back.
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK", ActivateBox);
    ShowMessage("box");
    QVERIFY(activate(&first));
    QCOMPARE(activations, QStringList({"first"}));

    // Another of the program's windows, then back.
    second.show();
    QVERIFY(activate(&second));
    QVERIFY(activate(&first));
    QCOMPARE(activations, QStringList({"first", "second", "first"}));

    // A window that is none of the program's (as another application's would be).
    QWidget foreign;
    foreign.show();
    QVERIFY(activate(&foreign));
    QVERIFY(activate(&first));
    QCOMPARE(activations, QStringList({"first", "second", "first"}));

    // An activation handler that fails goes to the error handler like any other.
    QWidget failing;
    WatchActivation(&failing, [] { throw EConvertError("'a' is not a valid integer value"); });
    failing.show();
    QVERIFY(activate(&failing));
    QCOMPARE(errors_->texts, QStringList({"'a' is not a valid integer value"}));
}

void TestAppFrame::aSpinnerStepsAsFarAsItsLimitsWhateverTheIncrement_data() {
    QTest::addColumn<int>("increment");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("expected");
    QTest::newRow("largest step up") << INT_MAX << +1 << "1" << QString::number(INT_MAX);
    QTest::newRow("largest step down") << INT_MAX << -1 << "-2" << QString::number(INT_MIN);
    QTest::newRow("most negative step, down") << INT_MIN << -1 << "0" << QString::number(INT_MAX);
    QTest::newRow("most negative step, up") << INT_MIN << +1 << "-1" << QString::number(INT_MIN);
}

void TestAppFrame::aSpinnerStepsAsFarAsItsLimitsWhateverTheIncrement() {
    QFETCH(int, increment);
    QFETCH(int, direction);
    QFETCH(QString, start);
    QFETCH(QString, expected);
    QLineEdit box;
    TUpDown spinner;
    spinner.SetRange(INT_MIN, INT_MAX);
    spinner.SetIncrement(increment);
    spinner.SetAssociate(&box);
    box.setText(start);
    spinner.Step(direction);
    QCOMPARE(box.text(), expected);
}

QUOTARIO_GUI_TEST_MAIN(TestAppFrame)
#include "tst_appframe.moc"
