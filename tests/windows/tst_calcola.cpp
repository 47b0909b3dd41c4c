#include "support/DataRows.h"
#include "support/MessageRecorder.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QTest>

#include <memory>

// "C&alcola" pressed by the user, from the entry texts to every text it writes.
class TestCalcola : public WindowTest {
    Q_OBJECT
private slots:
    void init();

    void stopsAtTheFirstMissingSlipField_data();
    void stopsAtTheFirstMissingSlipField();
    void aTextThatIsNoNumberGoesToAppException_data();
    void aTextThatIsNoNumberGoesToAppException();
    void warnsAboutShareAndMonths_data();
    void warnsAboutShareAndMonths();
    void writesTheResults_data();
    void writesTheResults();
    void warnsAboutAZeroOrNegativeTotal_data();
    void warnsAboutAZeroOrNegativeTotal();
    void showsTheWarningInARealBox();
    void typingReplacesTheTextWhereTheProgramPutTheFocus_data();
    void typingReplacesTheTextWhereTheProgramPutTheFocus();
    void aClickSelectsOnlyAStartText_data();
    void aClickSelectsOnlyAStartText();
};

namespace {

const QStringList ResultNames = {"TOT1", "TOT2", "LabIciTot", "LabIci", "LabCent", "LabLett"};

// The sample payer's texts, but for the first holder line and the year, which keep their start
// texts.
const SlipTexts Slip = [] {
    SlipTexts slip = SamplePayer;
    slip.holderLine1.reset();
    slip.taxYear.reset();
    return slip;
}();

} // namespace

void TestCalcola::init() {
    WindowTest::init();
    SetEntries(EntriesOf(Slip));
}

void TestCalcola::stopsAtTheFirstMissingSlipField_data() {
    QTest::addColumn<SlipTexts>("changes");
    QTest::addColumn<QString>("message"); // empty: the computation goes on
    QTest::addColumn<QString>("focus");
    const QString empty = QString::fromUtf8("\rnon può essere lasciato vuoto!");
    AddRow("account number", SlipTexts{.accountNumber = ""},
           "ERRORE!! Il campo ContoCorrente" + empty, "EdCCNR");
    AddRow("first holder line", SlipTexts{.holderLine1 = ""},
           "ERRORE!! Il campo Intestato a" + empty, "EdIntest1");
    AddRow("second holder line", SlipTexts{.holderLine2 = ""},
           "ERRORE!! Il campo Intestato a" + empty, "EdIntest2");
    AddRow("payer", SlipTexts{.payer = ""}, "ERRORE!! Il campo Nome Cognome ecc." + empty,
           "EdNome");
    AddRow("municipality", SlipTexts{.municipality = ""},
           "ERRORE!! Il campo Comune ubicazione ecc." + empty, "EdComun");
    AddRow("tax code", SlipTexts{.taxCode = ""}, "ERRORE!! Il campo Codice fiscale" + empty,
           "EdCodFisc");
    AddRow("buildings empty", SlipTexts{.buildingCount = ""},
           "ERRORE!! Il campo Numero Fabbricati" + empty, "EdNum");
    const QString wrongNumber =
        QString::fromUtf8("ERRORE!! Nel campo Numero Fabbricati\ril numero dei fabbricati non è "
                          "corretto !");
    AddRow("buildings 0", SlipTexts{.buildingCount = "0"}, wrongNumber, "EdNum");
    AddRow("buildings 00", SlipTexts{.buildingCount = "00"}, wrongNumber, "EdNum");
    AddRow("year", SlipTexts{.taxYear = ""}, "ERRORE!! Il campo Anno Imposta" + empty, "EdAnno");
    AddRow("account and year: only the first", SlipTexts{.accountNumber = "", .taxYear = ""},
           "ERRORE!! Il campo ContoCorrente" + empty, "EdCCNR");
    AddRow("buildings 01", SlipTexts{.buildingCount = "01"}, "", "");
    AddRow("buildings 0 with a space", SlipTexts{.buildingCount = " 0"}, "", "");
    AddRow("holder of one space", SlipTexts{.holderLine1 = " "}, "", "");
}

void TestCalcola::stopsAtTheFirstMissingSlipField() {
    QFETCH(SlipTexts, changes);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    SetEntries(EntriesOf(changes));
    SetEntries(EntriesOf({.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"}));
    Box("REND1")->setFocus();
    MessageRecorder recorder;
    PressCalcola();
    if (message.isEmpty()) {
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(Label("TOT1")->text(), QString("31,25"));
        return;
    }
    QCOMPARE(recorder.shown(), QStringList{"Plain Quotario: " + message});
    QCOMPARE(FocusedName(Form1), focus);
    QCOMPARE(Texts(ResultNames), QStringList({"00,00", "00,00", "LabIciTot", "00", "00", ""}));
}

void TestCalcola::aTextThatIsNoNumberGoesToAppException_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    AddRow("REND1 empty", "REND1", "");
    AddRow("REND1 two commas", "REND1", "1,2,3");
    AddRow("ALIQ1 a letter", "ALIQ1", "5a");
    AddRow("DETR1 a full stop", "DETR1", "103.29");
    AddRow("MESI1 spaces", "MESI1", "  ");
    AddRow("RIVAL1 a lone sign", "RIVAL1", "-");
    AddRow("Edit1 empty", "Edit1", "");
    AddRow("Edit6 absurd exponent", "Edit6", "1e999999");
    AddRow("Edit3 a total too large to spell", "Edit3", "1e30");
    AddRow("Edit1 a tax beyond any double", "Edit1", "1e4000");
}

void TestCalcola::aTextThatIsNoNumberGoesToAppException() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    SetEntries(EntriesOf({.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"},
                         {.income = "500", .revaluation = "5", .rate = "5"}));
    Label("LabIciTot")->setText("9");
    Label("LabLett")->setText("#NOVE/00");
    Box(box.toLatin1().constData())->setText(text);
    MessageRecorder recorder;
    PressCalcola();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].kind, MessageKind::Error);
    QCOMPARE(recorder.messages[0].caption, QString("Quotario"));
    QCOMPARE(recorder.messages[0].owner, Form1);
    QVERIFY(recorder.messages[0].text.startsWith("ERRORE.........\r"));
    QCOMPARE(Texts({"TOT1", "TOT2", "LabIciTot", "LabIci", "LabLett", "StatusBar2"}),
             QStringList({"00,00", "", "9", "00", "#NOVE/00", ""}));
    QCOMPARE(Box("REND1")->text(), QString("00,00"));
    QCOMPARE(Box("Edit1")->text(), QString("00,00"));
    QCOMPARE(FocusedName(Form1), QString("CalcolaBtn"));
}

void TestCalcola::warnsAboutShareAndMonths_data() {
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<QString>("message"); // empty: no warning
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("reset");
    const QString share =
        "Nel campo PERCENTUALE DI POSSESSO\rnon si può scrivere numeri superiori a 100!!";
    const QString months = "Nel campo MESI DI POSSESSO si\rpossono scrivere numeri da  1 a  12!!";
    auto owned = [](const QString& share, const QString& months) {
        return MainColumnTexts{.income = "500",
                               .revaluation = "5",
                               .rate = "5",
                               .deduction = "0",
                               .share = share,
                               .months = months};
    };
    AddRow("share 101", owned("101", "12"), share, "PERC1", "100");
    AddRow("share 100,5", owned("100,5", "12"), "", "", "");
    AddRow("share 0", owned("0", "12"), "", "", "");
    AddRow("months 13", owned("100", "13"), months, "MESI1", "12");
    AddRow("months 0", owned("100", "0"), months, "MESI1", "12");
    AddRow("months 0,5", owned("100", "0,5"), months, "MESI1", "12");
    AddRow("months 1", owned("100", "1"), "", "", "");
    AddRow("share before months", owned("101", "13"), share, "PERC1", "100");
}

void TestCalcola::warnsAboutShareAndMonths() {
    QFETCH(MainColumnTexts, main);
    QFETCH(QString, message);
    QFETCH(QString, box);
    QFETCH(QString, reset);
    SetEntries(EntriesOf(main, {.income = "500", .revaluation = "5", .rate = "5"}));
    Label("TOT2")->setText("7");
    MessageRecorder recorder;
    PressCalcola();
    if (message.isEmpty()) {
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(Label("TOT2")->text() != "7");
        return;
    }
    QCOMPARE(recorder.shown(), QStringList{"Warning Warning: " + message});
    QCOMPARE(Box(box.toLatin1().constData())->text(), reset);
    QCOMPARE(Label("TOT1")->text(), QString());
    QCOMPARE(Label("TOT2")->text(), QString("7"));
    QCOMPARE(FocusedName(Form1), box);
}

void TestCalcola::writesTheResults_data() {
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<OtherColumnTexts>("other");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<QString>("yearly");
    auto row = [](const char* name, const MainColumnTexts& main, const OtherColumnTexts& other,
                  const QStringList& results,
                  const QString& yearly) { AddRow(name, main, other, results, yearly); };
    row("main only", {.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"}, {},
        {"31,25", "0", "31,25", "31", "25", "#TRENTUNO/25"}, "62,5");
    row("half share, seven months",
        {.income = "1234,56",
         .revaluation = "5",
         .rate = "6",
         .deduction = "0",
         .share = "50",
         .months = "7"},
        {}, {"113,43", "0", "113,43", "113", "43", "#CENTOTREDICI/43"}, "226,86");
    row("half a cent rounds up",
        {.income = "500", .revaluation = "5", .rate = "5", .deduction = "103,29"}, {},
        {"79,61", "0", "79,61", "79", "61", "#SETTANTANOVE/61"}, "159,22");
    row("both columns", {.income = "500", .revaluation = "5", .rate = "5", .deduction = "0"},
        {.income = "500", .revaluation = "5", .rate = "5"},
        {"131,25", "131,25", "262,5", "262", "50", "#DUECENTOSESSANTADUE/50"}, "525");
    row("both columns with deduction",
        {.income = "750", .revaluation = "5", .rate = "5", .deduction = "103,29"},
        {.income = "1000", .revaluation = "5", .rate = "7"},
        {"145,23", "367,5", "512,73", "512", "73", "#CINQUECENTODODICI/73"}, "1025,46");
    row("total rounded from the columns",
        {.income = "820", .revaluation = "5", .rate = "4,5", .deduction = "103,29", .share = "50"},
        {.income = "380", .revaluation = "5", .rate = "7", .months = "6"},
        {"45,22", "69,83", "115,04", "115", "04", "#CENTOQUINDICI/04"}, "230,08");
    row("share of 150 for other buildings",
        {.income = "1000", .revaluation = "5", .rate = "7", .deduction = "0"},
        {.income = "1000", .revaluation = "5", .rate = "7", .share = "150"},
        {"367,5", "551,25", "918,75", "918", "75", "#NOVECENTODICIOTTO/75"}, "1837,5");
    row("positive below half a cent", {.income = "0,01", .rate = "0,8"}, {},
        {"0", "0", "0", "0", "00", "#ZERO/00"}, "0");
    row("lone comma is zero", {.income = ",", .revaluation = "5", .rate = "5", .deduction = "0"},
        {.income = "500", .revaluation = "5", .rate = "5"},
        {"0", "131,25", "131,25", "131", "25", "#CENTOTRENTUNO/25"}, "262,5");
}

void TestCalcola::writesTheResults() {
    QFETCH(MainColumnTexts, main);
    QFETCH(OtherColumnTexts, other);
    QFETCH(QStringList, results);
    QFETCH(QString, yearly);
    SetEntries(EntriesOf(main, other));
    Box("EdNome")->setFocus();
    MessageRecorder recorder;
    PressCalcola();
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(Texts(ResultNames), results);
    QCOMPARE(StatusLine(), StatusLineOf(yearly, results[2]));
    QCOMPARE(Label("StatusBar2")->font().pointSize(), 10);
    QVERIFY(Label("StatusBar2")->font().bold());
    QCOMPARE(FocusedName(Form1), QString("CalcolaBtn"));
    // Every press starts from the entries alone.
    PressCalcola();
    QCOMPARE(Texts(ResultNames), results);
}

void TestCalcola::warnsAboutAZeroOrNegativeTotal_data() {
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<QStringList>("whileOpen");
    QTest::addColumn<QString>("statusWhileOpen");
    // The deduction covers at most the main residence's own tax: never a negative amount.
    const QStringList zero{"0", "0", "0", "0", "00", "#ZERO/00"};
    AddRow("start texts", MainColumnTexts{}, zero, StatusLineOf("0", "0"));
    AddRow("rate of 0",
           MainColumnTexts{.income = "500", .revaluation = "5", .rate = "0", .deduction = "200"},
           zero, StatusLineOf("0", "0"));
    AddRow("deduction above the tax",
           MainColumnTexts{.income = "100", .rate = "4", .deduction = "103,2"}, zero,
           StatusLineOf("0", "0"));
}

void TestCalcola::warnsAboutAZeroOrNegativeTotal() {
    QFETCH(MainColumnTexts, main);
    QFETCH(QStringList, whileOpen);
    QFETCH(QString, statusWhileOpen);
    SetEntries(EntriesOf(main));
    Box("EdNome")->setFocus();
    MessageRecorder recorder;
    QStringList seen;
    QString statusSeen;
    recorder.whileShown = [&](const MessageRequest&) {
        seen = Texts(ResultNames);
        statusSeen = StatusLine();
    };
    PressCalcola();
    QCOMPARE(recorder.texts(),
             QStringList{QString::fromUtf8("L'importo dell'ICI da pagare\rè risultato ZERO o "
                                           "NEGATIVO!!")});
    QCOMPARE(recorder.messages[0].kind, MessageKind::Warning);
    QCOMPARE(seen, whileOpen);
    QCOMPARE(statusSeen, statusWhileOpen);
    QCOMPARE(Texts(ResultNames),
             QStringList({"00", "00", whileOpen[2], "00", whileOpen[4], whileOpen[5]}));
    QCOMPARE(StatusLine(), QString());
    QCOMPARE(Box("REND1")->text(), QString("00,00"));
    QCOMPARE(Box("Edit1")->text(), QString("00,00"));
    QCOMPARE(FocusedName(Form1), QString("REND1"));
}

void TestCalcola::showsTheWarningInARealBox() {
    SetEntries(EntriesOf(
        {.income = "500", .revaluation = "5", .rate = "5", .deduction = "0", .months = "13"}));
    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK");
    PressCalcola();
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Warning"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.text,
             QString("Nel campo MESI DI POSSESSO si\npossono scrivere numeri da  1 a  12!!"));
    QCOMPARE(seen.buttons, QStringList({"OK"}));
    QCOMPARE(FocusedName(Form1), QString("MESI1"));
}

QUOTARIO_GUI_TEST_MAIN(TestCalcola)
#include "tst_calcola.moc"

void TestCalcola::typingReplacesTheTextWhereTheProgramPutTheFocus_data() {
    QTest::addColumn<EntryTexts>("changes"); // before the step
    QTest::addColumn<QString>("step");       // "Calcola", "Reset", or "activation"
    QTest::addColumn<bool>("realBox");       // the message shown in a real box, closed with "OK"
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    const EntryTexts zero =
        EntriesOf({.income = "0", .rate = "0", .deduction = "0"}, {.income = "0"});
    AddRow("Reset", EntryTexts{{"REND1", "500"}}, "Reset", false, "REND1", "750", "750");
    AddRow("zero or negative", zero, "Calcola", false, "REND1", "750", "750");
    AddRow("zero or negative, real box", zero, "Calcola", true, "REND1", "750", "750");
    AddRow("share", EntryTexts{{"PERC1", "150"}}, "Calcola", false, "PERC1", "50", "50");
    AddRow("months", EntryTexts{{"MESI1", "13"}}, "Calcola", true, "MESI1", "6", "6");
    const EntryTexts noBuildings = EntriesOf(SlipTexts{.buildingCount = "0"});
    AddRow("buildings 0", noBuildings, "Calcola", false, "EdNum", "2", "2");
    AddRow("buildings 0, real box", noBuildings, "Calcola", true, "EdNum", "2", "2");
    AddRow("activation", EntriesOf(SlipTexts{.accountNumber = "12345678"}), "activation", false,
           "EdCCNR", "87654321", "87654321");
}

void TestCalcola::typingReplacesTheTextWhereTheProgramPutTheFocus() {
    QFETCH(EntryTexts, changes);
    QFETCH(QString, step);
    QFETCH(bool, realBox);
    QFETCH(QString, focus);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    SetEntries(EntriesOf({.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"}));
    SetEntries(changes);
    Box("EdNome")->setFocus();
    SeenBox seen;
    std::unique_ptr<MessageRecorder> recorder;
    if (realBox)
        AnswerNextMessageBox(&seen, "OK", ActivateBox);
    else
        recorder = std::make_unique<MessageRecorder>();
    if (step == "Calcola") {
        PressCalcola();
    } else if (step == "Reset") {
        QTest::mouseClick(Button("ResetBtn"), Qt::LeftButton);
    } else {
        Form2->show();
        QVERIFY(QTest::qWaitForWindowActive(Form2));
        Form2->close();
    }
    QVERIFY(Activate(Form1));
    QCOMPARE(FocusedName(Form1), focus);
    QTest::keyClicks(Form1->focusWidget(), typed);
    QCOMPARE(Box(focus.toLatin1().constData())->text(), result);
}

void TestCalcola::aClickSelectsOnlyAStartText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    AddRow("income after Reset", "REND1", "00,00", "750", "750");
    AddRow("other income at start", "Edit1", "00", "750", "750");
    AddRow("share", "PERC1", "100", "50", "50");
    AddRow("months", "MESI1", "12", "6", "6");
    AddRow("an income typed", "REND1", "7,5", "5", "7,55");
    AddRow("an account number, no yellow box", "EdCCNR", "1234", "5", "12345");
}

// A click into a yellow box that still shows its start text selects it, so that typing replaces
// it; a click into any other text puts the cursor where the click was (here, at its end).
void TestCalcola::aClickSelectsOnlyAStartText() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    QLineEdit* box = Box(name.toLatin1().constData());
    box->setText(text);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 3, box->height() / 2));
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), result);
}
