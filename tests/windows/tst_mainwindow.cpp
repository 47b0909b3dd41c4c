#include "frame/HandlerGuard.h"
#include "support/DataRows.h"
#include "support/MessageRecorder.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <QWindow>

class TestMainWindow : public WindowTest {
    Q_OBJECT
private slots:
    void startsWithItsStartTexts();
    void showsItsTitleSizeAndIcon();
    void entryBoxesHaveTheirLimitsHintsAndLook_data();
    void entryBoxesHaveTheirLimitsHintsAndLook();
    void buttonsHaveTheirCaptionsAndHints_data();
    void buttonsHaveTheirCaptionsAndHints();
    void tabGoesThroughTheDesignedOrder();
    void buttonsOutsideTheTabOrderAnswerAltKeys();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void typingRulesJudgeEachCharacter_data();
    void typingRulesJudgeEachCharacter();
    void textNotTypedFollowsTheTypingRules_data();
    void textNotTypedFollowsTheTypingRules();
    void taxCodeTurnsToCapitals();
    void anyMarkControlSwapsTheMarks_data();
    void anyMarkControlSwapsTheMarks();
    void aTypedMarkThatIsNotXCountsAsNone();
    void resetPutsBackTheYellowFields();
    void resetAllClearsTheSlipData();
    void activationPutsTheFocusInTheAccountNumber();
    void closingAMessageBoxLeavesTheFocusWhereTheHandlerPutIt();
    void visualizzaSwapsTheWindowsAndClosingTheSummaryBringsTheMainBack();
    void errorsFromAnotherWindowReachAppException();
    void silentAbortShowsNothing();
    void theProgramSetsItsHintsAndIcon();
    void chiudiClosesTheMainWindow();
};

namespace {

const char* const DigitsMessage = "Accetto solo valori numerici !!";
const char* const CommaMessage = "Accetto la virgola e valori numerici !!";

const QColor Yellow(255, 255, 0);

const QStringList YellowAndResults = {"REND1", "RIVAL1", "ALIQ1", "DETR1",  "PERC1",
                                      "MESI1", "TOT1",   "Edit1", "Edit2",  "Edit3",
                                      "Edit5", "Edit6",  "TOT2",  "LabIci", "StatusBar2"};

void scribbleOverTheColumns() {
    for (const QString& name : YellowAndResults) {
        const QByteArray n = name.toLatin1();
        if (QLineEdit* box = Box(n.constData()))
            box->setText("77");
        else
            Label(n.constData())->setText("77");
    }
    Label("LabIciTot")->setText("5");
    Label("LabCent")->setText("05");
    Label("LabLett")->setText("#CINQUE/00");
}

} // namespace

void TestMainWindow::startsWithItsStartTexts() {
    const QString year = QString::number(QDate::currentDate().year() % 100).rightJustified(2, '0');
    const QStringList names = {"EdCCNR",    "EdIntest1", "EdIntest2", "EdNome", "EdComun",
                               "EdCodFisc", "EdNum",     "EdAnno",    "EdAcc",  "EdSaldo"};
    QCOMPARE(Texts(names), QStringList({"", " ", "", "", "", "", "", year, "X", ""}));
    QCOMPARE(Texts(YellowAndResults),
             QStringList({"00,00", "0", "00,00", "00,00", "100", "12", "00,00", "00", "0", "00,00",
                          "100", "12", "00,00", "00", ""}));
    QCOMPARE(Texts({"LabIciTot", "LabCent", "LabLett"}), QStringList({"LabIciTot", "00", ""}));
    for (const char* hidden : {"LabIciTot", "LabIci", "LabCent", "LabLett"})
        QVERIFY2(Label(hidden)->isHidden(), hidden);
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));
    QCOMPARE(Label("Label10")->text(),
             QString("Calcolo  ICI  dei  fabbricati  di  cat.  A,  B,  C  (NO A10 e C1)"));
    QCOMPARE(Label("Label10")->font().pointSize(), 14);
    // Other windows reach these controls by name: each name belongs to one control only.
    for (const char* name :
         {"Label10", "Label18", "Label21", "Label26", "Label29", "GroupBox1", "StatusBar2", "TOT1",
          "TOT2", "LabIciTot", "LabIci", "LabCent", "LabLett", "InfoBtn", "ChiudiBtn", "ResetBtn",
          "ResetGenBtn", "Button1", "CalcolaBtn"})
        QVERIFY2(Form1->findChildren<QWidget*>(name).size() == 1, name);
    QCOMPARE(Label("Label18")->text(), QString("Abitazione Principale"));
    QCOMPARE(Label("Label26")->text(), QString("Altri Fabbricati"));
    QCOMPARE(Label("Label21")->text(), QString("Versamento d'acconto"));
    QCOMPARE(Label("Label29")->text(), QString("Versamento a Saldo"));
    QVERIFY(Label("Label10")->font().bold());
}

void TestMainWindow::showsItsTitleSizeAndIcon() {
    QCOMPARE(Form1->windowTitle(),
             QString(" Quotario   Programma Freeware      http://www.quotario.it"));
    QCOMPARE(Form1->size(), QSize(582, 412));
    QCOMPARE(Form1->minimumSize(), Form1->maximumSize());
    QCOMPARE(Form1->windowIcon().availableSizes().value(0), QSize(32, 32));
#ifdef _WIN32
    QCOMPARE(Form1->font().family(), QString("MS Sans Serif"));
#else
    QCOMPARE(Form1->font().family(), QString("Liberation Sans"));
#endif
    QCOMPARE(Form1->font().pointSize(), 8);
    QCOMPARE(qApp->applicationName(), QString("Quotario"));
    QVERIFY(Form2->isHidden());
    QVERIFY(QRFM && QRFM->isHidden());
}

void TestMainWindow::entryBoxesHaveTheirLimitsHintsAndLook_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("yellow");
    QTest::addColumn<bool>("hand");
    const int none = 32767;
    AddNamedRow("REND1", 8, "  Inserire qui la rendita catastale", true, true);
    AddNamedRow("RIVAL1", 3, "Inserire qui la rivalutazione catastale", true, true);
    AddNamedRow("ALIQ1", 5, "   Inserire qui l'aliquota ICI", true, true);
    AddNamedRow("DETR1", 7, "   Inserire qui la detrazione ICI ", true, true);
    AddNamedRow("PERC1", 3, "Percentuale di possesso senza il segno %", true, true);
    AddNamedRow("MESI1", 2, "   inserire qui il numero dei mesi di possesso", true, true);
    AddNamedRow("Edit1", none, "Inserire qui la rendita catastale", true, true);
    AddNamedRow("Edit2", none, "Inserire qui la rivalutazione catastale", true, true);
    AddNamedRow("Edit3", none, "Inserire qui l'aliquota ICI", true, true);
    AddNamedRow("Edit5", 3, "Percentaule di possesso senza il segno %", true, true);
    AddNamedRow("Edit6", 2, "Mesi di possesso", true, true);
    AddNamedRow("EdCCNR", 8, "", false, false);
    AddNamedRow("EdIntest1", 32, "", false, false);
    AddNamedRow("EdIntest2", 32, "", false, false);
    AddNamedRow("EdNome", 55, "", false, false);
    AddNamedRow("EdComun", 34, "", false, false);
    AddNamedRow("EdCodFisc", 16, "", false, false);
    AddNamedRow("EdNum", 2, "", false, false);
    AddNamedRow("EdAnno", none, "", false, false);
    AddNamedRow("EdAcc", none, "   Cliccare per cambiare", false, true);
    AddNamedRow("EdSaldo", none, "Cliccare per cambiare", false, true);
}

void TestMainWindow::entryBoxesHaveTheirLimitsHintsAndLook() {
    QFETCH(QString, name);
    QFETCH(int, maxLength);
    QFETCH(QString, hint);
    QFETCH(bool, yellow);
    QFETCH(bool, hand);
    QLineEdit* box = Box(name.toLatin1().constData());
    QVERIFY(box);
    QCOMPARE(box->maxLength(), maxLength);
    QCOMPARE(box->toolTip(), hint);
    QCOMPARE(box->palette().color(QPalette::Base) == Yellow, yellow);
    QCOMPARE(box->font().bold(), yellow || name.startsWith("EdAcc") || name == "EdSaldo");
    QCOMPARE(box->cursor().shape() == Qt::PointingHandCursor, hand);
    QCOMPARE(box->isReadOnly(), name == "EdSaldo");
}

void TestMainWindow::buttonsHaveTheirCaptionsAndHints_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("tabStop");
    AddNamedRow("InfoBtn", "&Inform.", " Licenza e informazioni sull'uso", false);
    AddNamedRow("ChiudiBtn", "&Chiudi", "   Chiude e termina il programma", false);
    AddNamedRow("ResetBtn", "R&eset", "   Azzera i campi gialli", false);
    AddNamedRow("ResetGenBtn", "&Reset tot.", "   Cancella tutti i  campi ", false);
    AddNamedRow("Button1", "&Visualizza", "   Visualizza il bollettino", true);
    AddNamedRow("CalcolaBtn", "C&alcola", "...Calcola l'ICI", true);
}

void TestMainWindow::buttonsHaveTheirCaptionsAndHints() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, tabStop);
    QPushButton* button = Button(name.toLatin1().constData());
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(button->font().bold());
    QCOMPARE(bool(button->focusPolicy() & Qt::TabFocus), tabStop);
}

void TestMainWindow::tabGoesThroughTheDesignedOrder() {
    const QStringList order = {"REND1",     "RIVAL1",     "ALIQ1",   "DETR1",     "PERC1",
                               "MESI1",     "Edit1",      "Edit2",   "Edit3",     "Edit5",
                               "Edit6",     "CalcolaBtn", "Button1", "EdCCNR",    "EdIntest1",
                               "EdIntest2", "EdNome",     "EdComun", "EdCodFisc", "EdNum",
                               "EdAnno",    "EdAcc",      "EdSaldo", "REND1"};
    MessageRecorder recorder;
    Box("REND1")->setFocus();
    QStringList visited = {FocusedName(Form1)};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(Form1->focusWidget(), Qt::Key_Tab);
        visited.append(FocusedName(Form1));
    }
    QCOMPARE(visited, order);
    QVERIFY(recorder.messages.isEmpty());
    QTest::keyClick(Form1->focusWidget(), Qt::Key_Backtab);
    QCOMPARE(FocusedName(Form1), QString("EdSaldo"));
}

void TestMainWindow::buttonsOutsideTheTabOrderAnswerAltKeys() {
    Box("REND1")->setText("5");
    Box("EdCCNR")->setText("123");
    // A mnemonic presses its button visibly, and the click follows a moment later.
    QTest::keyClick(Form1, Qt::Key_E, Qt::AltModifier); // R&eset
    QTRY_COMPARE(Box("REND1")->text(), QString("00,00"));
    QCOMPARE(FocusedName(Form1), QString("REND1"));
    QTest::keyClick(Form1, Qt::Key_R, Qt::AltModifier); // &Reset tot.
    QTRY_COMPARE(Box("EdCCNR")->text(), QString());
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));
    QTest::mouseClick(Button("ResetBtn"), Qt::LeftButton);
    QCOMPARE(FocusedName(Form1), QString("REND1"));
}

void TestMainWindow::enterPressesTheFocusedButton_data() {
    QTest::addColumn<bool>("summary"); // a button of the summary window, else of the main one
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int keypad = Qt::KeypadModifier;
    for (const char* name :
         {"CalcolaBtn", "Button1", "InfoBtn", "ChiudiBtn", "ResetBtn", "ResetGenBtn"}) {
        QTest::addRow("%s Return", name) << false << name << int(Qt::Key_Return) << 0;
        QTest::addRow("%s keypad Enter", name) << false << name << int(Qt::Key_Enter) << keypad;
    }
    for (const char* name : {"SalvaBtn", "StampaBtn1"}) {
        QTest::addRow("%s Return", name) << true << name << int(Qt::Key_Return) << 0;
        QTest::addRow("%s keypad Enter", name) << true << name << int(Qt::Key_Enter) << keypad;
    }
}

void TestMainWindow::enterPressesTheFocusedButton() {
    QFETCH(bool, summary);
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    if (summary)
        QVERIFY(ShowSummary());
    QWidget* window = summary ? static_cast<QWidget*>(Form2) : Form1;
    auto* button = window->findChild<QAbstractButton*>(name);
    QVERIFY(button);
    button->setFocus(Qt::MouseFocusReason);
    QCOMPARE(window->focusWidget(), button);
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicks.size(), 1);
    // With a modifier held it is no press.
    if (button->isVisible()) {
        QTest::keyClick(button, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(clicks.size(), 1);
    }
}

void TestMainWindow::typingRulesJudgeEachCharacter_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    const QString none;
    AddRow("digit in REND1", "REND1", "12", int(Qt::Key_3), "3", "123", none);
    AddRow("letter in REND1", "REND1", "00,00", int(Qt::Key_A), "a", "00,00", CommaMessage);
    AddRow("second comma in REND1", "REND1", "1,2", int(Qt::Key_Comma), ",", "1,2,", none);
    AddRow("comma in PERC1", "PERC1", "10", int(Qt::Key_Comma), ",", "10", DigitsMessage);
    AddRow("comma in DETR1", "DETR1", "10", int(Qt::Key_Comma), ",", "10,", none);
    AddRow("full stop in DETR1", "DETR1", "10", int(Qt::Key_Period), ".", "10", CommaMessage);
    AddRow("minus in Edit1", "Edit1", "5", int(Qt::Key_Minus), "-", "5", CommaMessage);
    AddRow("space in Edit3", "Edit3", "5", int(Qt::Key_Space), " ", "5", CommaMessage);
    AddRow("letter in EdCCNR", "EdCCNR", "", int(Qt::Key_X), "x", "", DigitsMessage);
    AddRow("comma in Edit6", "Edit6", "1", int(Qt::Key_Comma), ",", "1", DigitsMessage);
    AddRow("ninth digit in EdCCNR", "EdCCNR", "12345678", int(Qt::Key_9), "9", "12345678", none);
    AddRow("third digit in MESI1", "MESI1", "12", int(Qt::Key_3), "3", "12", none);
    AddRow("backspace in RIVAL1", "RIVAL1", "12", int(Qt::Key_Backspace), "\b", "1", none);
    AddRow("return in ALIQ1", "ALIQ1", "4", int(Qt::Key_Return), "\r", "4", none);
    AddRow("delete in Edit5 (U+007F)", "Edit5", "100", int(Qt::Key_Delete), QString(QChar(0x7F)),
           "00", none);
    AddRow("arrow in Edit2", "Edit2", "0", int(Qt::Key_Left), "", "0", none);
    AddRow("ctrl+v in REND1", "REND1", "1", int(Qt::Key_V), QString(QChar(0x16)), "1",
           CommaMessage);
    AddRow("escape in PERC1", "PERC1", "1", int(Qt::Key_Escape), QString(QChar(0x1B)), "1",
           DigitsMessage);
    AddRow("letter in EdNome", "EdNome", "Ros", int(Qt::Key_S), "s", "Ross", none);
    AddRow("full stop in EdNum", "EdNum", "1", int(Qt::Key_Period), ".", "1.", none);
    AddRow("letter in EdAcc", "EdAcc", "", int(Qt::Key_X), "x", "x", none);
}

void TestMainWindow::typingRulesJudgeEachCharacter() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(int, key);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, message);
    MessageRecorder recorder;
    QLineEdit* box = Box(name.toLatin1().constData());
    box->setText(before);
    box->setFocus();
    if (key == Qt::Key_Delete)
        box->home(false);
    const Qt::KeyboardModifiers modifiers =
        typed == QString(QChar(0x16)) ? Qt::ControlModifier : Qt::NoModifier;
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key(key), typed, modifiers);
    QCOMPARE(box->text(), after);
    QCOMPARE(recorder.shown(),
             message.isEmpty() ? QStringList() : QStringList{"Plain Quotario: " + message});
    QCOMPARE(FocusedName(Form1), name);
}

void TestMainWindow::textNotTypedFollowsTheTypingRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("how"); // "paste" (the context menu's), "Shift+Insert", "drop"
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");
    const QString digits = "Accetto solo valori numerici !!";
    const QString comma = "Accetto la virgola e valori numerici !!";
    AddRow("minus sign pasted", "REND1", "paste", "-500", "00,00", comma);
    AddRow("letter pasted with Shift+Insert", "PERC1", "Shift+Insert", "1a", "100", digits);
    AddRow("minus sign dropped", "Edit1", "drop", "-500", "00", comma);
    AddRow("digits and comma pasted", "DETR1", "paste", "103,29", "103,29", "");
    AddRow("comma pasted into a digits box", "EdCCNR", "Shift+Insert", "1,5", "", digits);
}

// Pasted or dropped text passes the box's rule as a whole: one character the rule does not take
// refuses it, with the rule's message, and the box keeps its text.
void TestMainWindow::textNotTypedFollowsTheTypingRules() {
    QFETCH(QString, name);
    QFETCH(QString, how);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(QString, message);
    MessageRecorder recorder;
    QLineEdit* box = Box(name.toLatin1().constData());
    box->setFocus();
    box->selectAll();
    if (how == "drop") {
        QMimeData data;
        data.setText(text);
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
    } else {
        QApplication::clipboard()->setText(text);
        if (how == "paste")
            box->paste();
        else
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    }
    QTRY_COMPARE(recorder.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(box->text(), after);
    // A text the program sets is its own: it is not judged.
    box->setText("x,y");
    QCOMPARE(box->text(), QString("x,y"));
    QTest::qWait(20);
    QCOMPARE(recorder.messages.size(), message.isEmpty() ? 0 : 1);
}

void TestMainWindow::taxCodeTurnsToCapitals() {
    QLineEdit* box = Box("EdCodFisc");
    box->setFocus();
    QTest::keyClicks(box, "rssmra80a01h501u");
    QCOMPARE(box->text(), QString("RSSMRA80A01H501U"));
    QTest::keyClicks(box, "z"); // the seventeenth character does not fit
    QCOMPARE(box->text(), QString("RSSMRA80A01H501U"));
}

void TestMainWindow::anyMarkControlSwapsTheMarks_data() {
    QTest::addColumn<QString>("control");
    for (const char* name : {"EdAcc", "Label21", "Label29", "EdSaldo"})
        AddRow(name, name);
}

void TestMainWindow::anyMarkControlSwapsTheMarks() {
    QFETCH(QString, control);
    QWidget* clicked = Form1->findChild<QWidget*>(control);
    QVERIFY(clicked);
    QTest::mouseClick(clicked, Qt::LeftButton);
    QCOMPARE(Texts({"EdAcc", "EdSaldo"}), QStringList({"", "X"}));
    QTest::mouseClick(clicked, Qt::LeftButton);
    QCOMPARE(Texts({"EdAcc", "EdSaldo"}), QStringList({"X", ""}));
    QTest::mouseClick(clicked, Qt::RightButton);
    QCOMPARE(Texts({"EdAcc", "EdSaldo"}), QStringList({"X", ""}));
    if (auto* label = qobject_cast<QLabel*>(clicked)) {
        QCOMPARE(label->toolTip(), QString("Cliccare per cambiare"));
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }
}

void TestMainWindow::aTypedMarkThatIsNotXCountsAsNone() {
    for (const QString typed : {"x", "XX", ""}) {
        Box("EdAcc")->setText(typed);
        Box("EdSaldo")->setText("X");
        QTest::mouseClick(Label("Label29"), Qt::LeftButton);
        QCOMPARE(Texts({"EdAcc", "EdSaldo"}), QStringList({"X", ""}));
    }
}

void TestMainWindow::resetPutsBackTheYellowFields() {
    scribbleOverTheColumns();
    Box("EdNome")->setText("ROSSI");
    Box("EdSaldo")->setText("X");
    QTest::mouseClick(Button("ResetBtn"), Qt::LeftButton);
    QCOMPARE(Texts(YellowAndResults),
             QStringList({"00,00", "0", "00,00", "00,00", "100", "12", "00", "00,00", "0", "00,00",
                          "100", "12", "00", "00", ""}));
    QCOMPARE(Texts({"LabIciTot", "LabCent", "LabLett", "EdNome", "EdSaldo"}),
             QStringList({"5", "05", "#CINQUE/00", "ROSSI", "X"}));
    QCOMPARE(FocusedName(Form1), QString("REND1"));
}

void TestMainWindow::resetAllClearsTheSlipData() {
    scribbleOverTheColumns();
    for (const char* name : {"EdCCNR", "EdIntest2", "EdNome", "EdComun", "EdCodFisc", "EdNum"})
        Box(name)->setText("1");
    Box("EdAcc")->clear();
    Box("EdSaldo")->setText("X");
    Box("REND1")->setFocus();
    QTest::mouseClick(Button("ResetGenBtn"), Qt::LeftButton);
    QCOMPARE(Texts({"EdCCNR", "EdIntest1", "EdIntest2", "EdNome", "EdComun", "EdCodFisc", "EdNum",
                    "EdAnno", "EdAcc", "EdSaldo"}),
             QStringList({"", "", "", "", "", "", "00", "", "X", ""}));
    QCOMPARE(Texts(YellowAndResults),
             QStringList({"00,00", "0", "00,00", "00,00", "100", "12", "00", "00,00", "0", "00,00",
                          "100", "12", "00", "00", ""}));
    QCOMPARE(Texts({"LabIciTot", "LabCent", "LabLett"}), QStringList({"5", "05", "#CINQUE/00"}));
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));

    MessageRecorder recorder;
    PressCalcola();
    QCOMPARE(recorder.texts(),
             QStringList({"ERRORE!! Il campo ContoCorrente\rnon può essere lasciato vuoto!"}));
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));
}

void TestMainWindow::activationPutsTheFocusInTheAccountNumber() {
    // Another window of the program takes over, then the main window comes back.
    Box("EdNome")->setFocus();
    Form2->show();
    QVERIFY(QTest::qWaitForWindowActive(Form2));
    QVERIFY(Activate(Form1));
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));
}

void TestMainWindow::closingAMessageBoxLeavesTheFocusWhereTheHandlerPutIt() {
    for (const char* name : {"EdCCNR", "EdIntest2", "EdNome", "EdComun", "EdCodFisc"})
        Box(name)->setText("1");
    Box("EdNum")->setText("0");
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK", ActivateBox);
    PressCalcola();
    QVERIFY(seen.seen);
    QCOMPARE(seen.text, QString("ERRORE!! Nel campo Numero Fabbricati\n"
                                "il numero dei fabbricati non è corretto !"));
    // The window manager gives the activation back to the main window.
    QVERIFY(Activate(Form1));
    QCOMPARE(FocusedName(Form1), QString("EdNum"));
    // Leaving the program for a window that is none of its own and coming back is no
    // activation either.
    QWidget foreign;
    foreign.show();
    QVERIFY(QTest::qWaitForWindowActive(&foreign));
    QVERIFY(Activate(Form1));
    QCOMPARE(FocusedName(Form1), QString("EdNum"));
}

void TestMainWindow::visualizzaSwapsTheWindowsAndClosingTheSummaryBringsTheMainBack() {
    Box("EdNome")->setFocus();
    QTest::keyClick(Form1, Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(Form2->isVisible());
    QVERIFY(Form1->isHidden());
    Form2->close();
    QVERIFY(Form2->isHidden());
    QVERIFY(Form1->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));
}

void TestMainWindow::errorsFromAnotherWindowReachAppException() {
    scribbleOverTheColumns();
    Box("EdNome")->setText("ROSSI");
    QTest::mouseClick(Button("Button1"), Qt::LeftButton);
    QVERIFY(Form1->isHidden());
    Box("DETR1")->setFocus();

    auto* failing = new QPushButton("fails", Form2);
    ConnectGuarded(failing, &QPushButton::clicked, Form2,
                   [](TForm2*) { throw EConvertError("'x' is not a valid floating point value"); });
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK");
    QTest::mouseClick(failing, Qt::LeftButton);

    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Quotario"));
    QCOMPARE(seen.text, QString(ErrorBoxText).replace('\r', '\n'));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, QStringList({"OK"}));
    QCOMPARE(seen.parent, Form1);
    QCOMPARE(Texts(YellowAndResults),
             QStringList({"00,00", "0", "00,00", "00,00", "100", "12", "00,00", "00,00", "0",
                          "00,00", "100", "12", "", "77", ""}));
    QCOMPARE(Texts({"LabIciTot", "LabCent", "LabLett", "EdNome"}),
             QStringList({"5", "05", "#CINQUE/00", "ROSSI"}));
    QCOMPARE(FocusedName(Form1), QString("DETR1"));
    QVERIFY(Form1->isHidden());
}

void TestMainWindow::silentAbortShowsNothing() {
    MessageRecorder recorder;
    Box("REND1")->setText("9");
    auto* aborting = new QPushButton("aborts", Form1);
    ConnectGuarded(aborting, &QPushButton::clicked, Form1, [](TForm1*) { throw EAbort(); });
    QTest::mouseClick(aborting, Qt::LeftButton);
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(Box("REND1")->text(), QString("9"));
}

void TestMainWindow::theProgramSetsItsHintsAndIcon() {
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0, 255, 255));
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 200);
    QCOMPARE(Form1->windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
}

void TestMainWindow::chiudiClosesTheMainWindow() {
    QVERIFY(Form1->testAttribute(Qt::WA_QuitOnClose));
    QTest::keyClick(Form1, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(Form1->isHidden());
}

QUOTARIO_GUI_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
