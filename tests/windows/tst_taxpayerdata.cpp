#include "frame/DataFileDialog.h"
#include "program/WindowSet.h"
#include "support/MessageRecorder.h"
#include "support/StandIn.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"
#include "windows/ProgramEnd.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>

// The taxpayer's data kept in a file of its own, and the tax code's warning, as the user meets
// them in the main window.
class TestTaxpayerData : public WindowTest {
    Q_OBJECT
private slots:
    void savedDataComeBackAfterResetTot();
    void aRefusedFileLeavesEveryBoxAsItWas_data();
    void aRefusedFileLeavesEveryBoxAsItWas();
    void closingWithChangesAsks_data();
    void closingWithChangesAsks();
    void changesNotToBeSavedAreAskedAboutOnce();
    void theSummarysChiudiAsksToo();
    void theMenuOpensOnAFreeAreaAndFromTheKeyboard_data();
    void theMenuOpensOnAFreeAreaAndFromTheKeyboard();
    void aFileDroppedOrNamedAtStartOpens_data();
    void aFileDroppedOrNamedAtStartOpens();
    void aWrongTaxCodeAsksBeforeTheComputation_data();
    void aWrongTaxCodeAsksBeforeTheComputation();
};

namespace {

const QStringList BoxNames = {"EdCCNR", "EdIntest1", "EdIntest2", "EdNome",  "EdComun", "EdCodFisc",
                              "EdNum",  "EdAnno",    "EdAcc",     "EdSaldo", "REND1",   "RIVAL1",
                              "ALIQ1",  "DETR1",     "PERC1",     "MESI1",   "Edit1",   "Edit2",
                              "Edit3",  "Edit5",     "Edit6"};

// Every chooser answer is the one file, and records which dialog was asked.
struct Chooser {
    QString file;
    QList<DataFileDialog> asked;
    QStringList proposed;
    DataFileChooser Function() {
        return [this](QWidget*, DataFileDialog dialog, const QString& path) {
            asked << dialog;
            proposed << path;
            return file;
        };
    }
};

void FillAndCompute() {
    SetEntries(EntriesOf(SamplePayer));
    SetEntries(EntriesOf({.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"},
                         {.income = "1000,5", .revaluation = "5", .rate = "7"}));
    QTest::mouseClick(Label("Label29"), Qt::LeftButton); // the balance
    PressCalcola();
}

} // namespace

void TestTaxpayerData::savedDataComeBackAfterResetTot() {
    MessageRecorder recorder;
    Chooser chooser{testFile("Rossi.ici"), {}, {}};
    const StandIn<DataFileChooser> dialogs(SetDataFileChooser, chooser.Function());
    FillAndCompute();
    const QStringList typed = Texts(BoxNames);
    QVERIFY(Form1->AmountsMatchEntries());

    // Ctrl+S in a yellow box saves; it is no character for the typing rule.
    Box("REND1")->setFocus();
    QTest::keyClick(Box("REND1"), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(recorder.shown(), QStringList());
    QCOMPARE(chooser.asked, QList<DataFileDialog>{DataFileDialog::Save});
    // A name made of the payer and the tax year.
    QCOMPARE(QFileInfo(chooser.proposed.front()).fileName(),
             QString("ICI ROSSI MARIO ROMA VIA ROMA 1 2007.ici"));
    QVERIFY(Form1->windowTitle().startsWith(QString::fromUtf8("Rossi.ici – Quotario")));
    QVERIFY(!ReadBytes(chooser.file).contains("LabIci"));

    QTest::mouseClick(Button("ResetGenBtn"), Qt::LeftButton);
    QCOMPARE(Box("EdCodFisc")->text(), QString());
    // Opening asks first, as closing does, whether to save what changed since.
    recorder.answers = {MessageAnswer::No};
    QTest::keyClick(Box("EdNome"), Qt::Key_O, Qt::ControlModifier);
    // The dialog starts in the folder used last.
    QCOMPARE(chooser.proposed.last(), QFileInfo(chooser.file).absolutePath());
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.front().kind, MessageKind::QuestionWithCancel);
    QCOMPARE(Texts(BoxNames), typed);
    QCOMPARE(Texts({"TOT1", "TOT2", "LabIci"}), QStringList({"00", "00", "00"}));
    QCOMPARE(StatusLine(), QString());
    // The slip waits for a new computation.
    QVERIFY(!Form1->AmountsMatchEntries());
    PressCalcola();
    QVERIFY(Form1->AmountsMatchEntries());
}

void TestTaxpayerData::aRefusedFileLeavesEveryBoxAsItWas_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("what");
    QTest::newRow("not ours") << QByteArray("[ALLINEA]\nEDIT1=26\n") << "non è un file di dati";
    QTest::newRow("newer") << QByteArray("Quotario dati ICI, versione 7\nNuovo=1\n")
                           << "versione più recente";
    QTest::newRow("damaged") << QByteArray("Quotario dati ICI, versione 1\nContoCorrente=1\n")
                             << "danneggiato";
    QByteArray letter = "Quotario dati ICI, versione 1\n";
    for (const char* key : {"ContoCorrente=1",
                            "Intestatario1=",
                            "Intestatario2=",
                            "NomeDomicilioVia=",
                            "ComuneImmobili=",
                            "CodiceFiscale=",
                            "NumeroFabbricati=",
                            "AnnoImposta=",
                            "Acconto=X",
                            "Saldo=",
                            "RenditaAbitazione=1O",
                            "RivalutazioneAbitazione=0",
                            "AliquotaAbitazione=0",
                            "Detrazione=0",
                            "PercentualeAbitazione=100",
                            "MesiAbitazione=12",
                            "RenditaAltri=0",
                            "RivalutazioneAltri=0",
                            "AliquotaAltri=0",
                            "PercentualeAltri=100",
                            "MesiAltri=12"})
        letter += QByteArray(key) + "\n";
    QTest::newRow("a letter in a yellow box") << letter << "RenditaAbitazione";
}

void TestTaxpayerData::aRefusedFileLeavesEveryBoxAsItWas() {
    QFETCH(QByteArray, file);
    QFETCH(QString, what);
    FillAndCompute();
    const QStringList before = Texts(BoxNames + QStringList{"TOT1", "TOT2", "LabIci"});
    const QString title = Form1->windowTitle();
    const QString path = testFile("rifiutato.ici");
    QVERIFY(WriteBytes(path, file));
    MessageRecorder recorder;
    QVERIFY(!Form1->OpenDataFile(path));
    QCOMPARE(recorder.messages.size(), 1);
    QVERIFY2(recorder.texts().front().contains(QDir::toNativeSeparators(path)),
             qPrintable(recorder.texts().front()));
    QVERIFY2(recorder.texts().front().contains(what), qPrintable(recorder.texts().front()));
    QCOMPARE(Texts(BoxNames + QStringList{"TOT1", "TOT2", "LabIci"}), before);
    QCOMPARE(Form1->windowTitle(), title);
    QVERIFY(Form1->AmountsMatchEntries());
}

void TestTaxpayerData::closingWithChangesAsks_data() {
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("saved"); // the payer in the file afterwards
    QTest::newRow("no file: no question") << false << true << MessageAnswer::Ok << true << "";
    QTest::newRow("no changes: no question")
        << true << false << MessageAnswer::Ok << true << "ROSSI MARIO";
    QTest::newRow("Sì saves and closes")
        << true << true << MessageAnswer::Yes << true << "BIANCHI ANNA";
    QTest::newRow("No closes") << true << true << MessageAnswer::No << true << "ROSSI MARIO";
    QTest::newRow("Annulla keeps the window")
        << true << true << MessageAnswer::Cancel << false << "ROSSI MARIO";
}

void TestTaxpayerData::closingWithChangesAsks() {
    QFETCH(bool, withFile);
    QFETCH(bool, changed);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, closes);
    QFETCH(QString, saved);
    Chooser chooser{testFile("Rossi.ici"), {}, {}};
    const StandIn<DataFileChooser> dialogs(SetDataFileChooser, chooser.Function());
    Box("EdNome")->setText("ROSSI MARIO");
    if (withFile)
        QTest::keyClick(Box("EdCCNR"), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    if (changed)
        Box("EdNome")->setText("BIANCHI ANNA");
    MessageRecorder recorder;
    recorder.answers = {answer};
    Form1->close();
    QCOMPARE(recorder.messages.size(), withFile && changed ? 1 : 0);
    if (!recorder.messages.isEmpty()) {
        QCOMPARE(recorder.messages.front().kind, MessageKind::QuestionWithCancel);
        QVERIFY(recorder.texts().front().contains(QDir::toNativeSeparators(chooser.file)));
    }
    QCOMPARE(Form1->isHidden(), closes);
    if (withFile)
        QVERIFY(ReadBytes(chooser.file).contains("NomeDomicilioVia=" + saved.toUtf8() + "\n"));
}

// The end of the session asks before its windows are closed; closing them asks nothing more
// about the changes the user chose not to save, but a change made after that is asked about.
void TestTaxpayerData::changesNotToBeSavedAreAskedAboutOnce() {
    Chooser chooser{testFile("Rossi.ici"), {}, {}};
    const StandIn<DataFileChooser> dialogs(SetDataFileChooser, chooser.Function());
    QTest::keyClick(Box("EdCCNR"), Qt::Key_S, Qt::ControlModifier);
    Box("EdNome")->setText("BIANCHI ANNA");
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No, MessageAnswer::Cancel};
    QVERIFY(ProgramMayEnd());
    QVERIFY(ProgramMayEnd());
    QCOMPARE(recorder.messages.size(), 1);
    Box("EdNome")->setText("VERDI LUCA");
    QVERIFY(!ProgramMayEnd());
    QCOMPARE(recorder.messages.size(), 2);
}

// "Chiudi" on the summary window ends the program too.
void TestTaxpayerData::theSummarysChiudiAsksToo() {
    Chooser chooser{testFile("Rossi.ici"), {}, {}};
    const StandIn<DataFileChooser> dialogs(SetDataFileChooser, chooser.Function());
    QTest::keyClick(Box("EdCCNR"), Qt::Key_S, Qt::ControlModifier);
    Box("EdNome")->setText("BIANCHI ANNA");
    QVERIFY(ShowSummary());
    MessageRecorder recorder;
    QTest::mouseClick(Find<QPushButton>(Form2, "BitBtn1"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages.front().kind, MessageKind::QuestionWithCancel);
    QVERIFY(ReadBytes(chooser.file).contains("NomeDomicilioVia=BIANCHI ANNA\n"));
}

void TestTaxpayerData::theMenuOpensOnAFreeAreaAndFromTheKeyboard_data() {
    QTest::addColumn<int>("request");
    QTest::newRow("right button on the heading") << 0;
    QTest::newRow("Shift+F10 in a yellow box") << 1;
    QTest::newRow("menu key in the tax code") << 2;
}

void TestTaxpayerData::theMenuOpensOnAFreeAreaAndFromTheKeyboard() {
    QFETCH(int, request);
    auto* menu = Form1->findChild<QMenu*>("DatiMenu");
    QVERIFY(menu);
    if (request == 0) {
        QWidget* heading = Label("Label10");
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                heading->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(heading, &event);
    } else if (request == 1) {
        Box("REND1")->setFocus();
        QTest::keyClick(Box("REND1"), Qt::Key_F10, Qt::ShiftModifier);
    } else {
        Box("EdCodFisc")->setFocus();
        QTest::keyClick(Box("EdCodFisc"), Qt::Key_Menu);
    }
    QTRY_VERIFY(menu->isVisible());
    QStringList items;
    for (const QAction* action : menu->actions())
        items << action->text() + " " + action->shortcut().toString();
    QCOMPARE(items, QStringList({QString::fromUtf8("&Salva i dati… Ctrl+S"),
                                 QString::fromUtf8("Salva i dati con &nome… Ctrl+Shift+S"),
                                 QString::fromUtf8("&Apri i dati… Ctrl+O")}));
    // The item under the mouse tells what it does in the status line, until the menu closes.
    menu->setActiveAction(menu->actions().at(2));
    QVERIFY(StatusLine().contains("Apre i dati"));
    menu->hide();
    QCOMPARE(StatusLine(), QString());
}

void TestTaxpayerData::aFileDroppedOrNamedAtStartOpens_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("dropped on a box") << "EdNome";
    QTest::newRow("dropped on the window") << "";
    QTest::newRow("named on the command line") << "start";
}

void TestTaxpayerData::aFileDroppedOrNamedAtStartOpens() {
    QFETCH(QString, how);
    Chooser chooser{testFile("Verdi 2026.ici"), {}, {}};
    {
        const StandIn<DataFileChooser> dialogs(SetDataFileChooser, chooser.Function());
        Box("EdNome")->setText("VERDI GIUSEPPE");
        QTest::keyClick(Box("EdNome"), Qt::Key_S, Qt::ControlModifier);
    }
    QTest::mouseClick(Button("ResetGenBtn"), Qt::LeftButton);
    QCOMPARE(Box("EdNome")->text(), QString());
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No}; // to the question whether to save the changes
    if (how == "start") {
        OpenDataFileOfCommandLine({"quotario", chooser.file});
    } else {
        QWidget* target = how.isEmpty() ? static_cast<QWidget*>(Form1) : Box("EdNome");
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(chooser.file)});
        data.setText(chooser.file);
        // The drop goes where the drag entered.
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    QTRY_COMPARE(Box("EdNome")->text(), QString("VERDI GIUSEPPE"));
    // A drop over changes asks first; at start there are none.
    QCOMPARE(recorder.messages.size(), how == "start" ? 0 : 1);
    if (how != "start")
        QCOMPARE(recorder.messages.front().kind, MessageKind::QuestionWithCancel);
    QVERIFY(Form1->windowTitle().startsWith("Verdi 2026.ici"));
}

void TestTaxpayerData::aWrongTaxCodeAsksBeforeTheComputation_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QString>("question"); // empty: none
    QTest::addColumn<bool>("computed");
    QTest::newRow("a valid code") << "RSSMRA80A01H501U" << MessageAnswer::Yes << "" << true;
    QTest::newRow("a company's code") << "00743110157" << MessageAnswer::Yes << "" << true;
    QTest::newRow("wrong check, Sì")
        << "RSSMRA80A01H501X" << MessageAnswer::Yes << "dovrebbe essere U" << true;
    QTest::newRow("wrong check, No")
        << "RSSMRA80A01H501X" << MessageAnswer::No << "dovrebbe essere U" << false;
    QTest::newRow("too short, No") << "RSSMRA80" << MessageAnswer::No << "questo ne ha 8" << false;
}

void TestTaxpayerData::aWrongTaxCodeAsksBeforeTheComputation() {
    QFETCH(QString, code);
    QFETCH(MessageAnswer, answer);
    QFETCH(QString, question);
    QFETCH(bool, computed);
    SetEntries(EntriesOf(SamplePayer));
    SetEntries(EntriesOf({.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"}));
    Box("EdCodFisc")->setText(code);
    Box("EdCCNR")->setFocus();
    MessageRecorder recorder;
    recorder.answers = {answer};
    PressCalcola();
    if (question.isEmpty()) {
        QCOMPARE(recorder.shown(), QStringList());
    } else {
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.front().kind, MessageKind::Question);
        QVERIFY2(recorder.texts().front().contains(code), qPrintable(recorder.texts().front()));
        QVERIFY2(recorder.texts().front().contains(question), qPrintable(recorder.texts().front()));
    }
    QCOMPARE(Label("TOT1")->text(), computed ? QString("31,25") : QString("00,00"));
    QCOMPARE(Form1->AmountsMatchEntries(), computed);
    if (!computed)
        QCOMPARE(FocusedName(Form1), QString("EdCodFisc"));
}

QUOTARIO_GUI_TEST_MAIN(TestTaxpayerData)
#include "tst_taxpayerdata.moc"
