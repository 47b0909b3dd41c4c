#include "frame/ReadmeLaunch.h"
#include "frame/UpDown.h"
#include "frame/WindowActivation.h"
#include "support/DataRows.h"
#include "support/StandIn.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>

// The summary window: the slip boxes filled from the main window, going back and ending, the
// alignment panel with its spinners, paper position, loading on activation, saving and reset.
class TestSummaryWindow : public WindowTest {
    Q_OBJECT
private slots:
    void showsItsTitleSizeAndPlace();
    void valueBoxesHaveTheirLook_data();
    void valueBoxesHaveTheirLook();
    void captionsStandAsWritten_data();
    void captionsStandAsWritten();
    void buttonsHaveTheirCaptionsHintsAndPictures_data();
    void buttonsHaveTheirCaptionsHintsAndPictures();
    void showingBeforeAnyComputationGivesTheStartTexts();
    void showingAfterAComputationGivesItsResults();
    void aTextWiderThanItsBoxIsKeptWhole();
    void goingBackBringsTheMainWindowAndShowsCorrections_data();
    void goingBackBringsTheMainWindowAndShowsCorrections();
    void spinnersStepWithinTheirLimits_data();
    void spinnersStepWithinTheirLimits();
    void correctionsCannotBeTyped();
    void paperPositionsFormOneGroup();
    void tabEntersThePaperPositionsAtTheChosenOne_data();
    void tabEntersThePaperPositionsAtTheChosenOne();
    void activationLoadsTheSavedAlignment_data();
    void activationLoadsTheSavedAlignment();
    void comingBackFromAnotherWindowReloads();
    void saveWritesTheWholeFileAndLoadsBack_data();
    void saveWritesTheWholeFileAndLoadsBack();
    void saveCreatesAMissingFile();
    void aFailedSaveSaysWhyAndKeepsTheEntries_data();
    void aFailedSaveSaysWhyAndKeepsTheEntries();
    void resetPutsBackOnlyTheCorrections();
    void theFileLiesBesideTheProgram();
    void informazOpensTheReadmeAndWaits();
    void whileTheEditorIsOpenTheWindowPaintsButTakesNoInput();
    void chiudiEndsTheProgramWithTheMainWindowHidden();
};

namespace {

const QColor Yellow(255, 255, 0);
const QString DefaultValue = "default value";

const QStringList SlipBoxes = {"CCNR",  "Imp",     "CENT",      "IMPLETT", "INTEST1", "INTEST2",
                               "NOME",  "Comune",  "CODFISC",   "FABB",    "ANNO",    "ACC",
                               "SALDO", "ABPRINC", "ALTRIFABB", "DETRAZ"};

QStringList SummaryTexts() {
    QStringList result;
    for (const QString& name : SlipBoxes)
        result.append(SummaryBox(name)->text());
    return result;
}

QStringList SlipDataTexts(const SlipData& d) {
    QStringList result;
    for (const std::string* text :
         {&d.CCNR, &d.Imp, &d.CENT, &d.IMPLETT, &d.INTEST1, &d.INTEST2, &d.NOME, &d.Comune,
          &d.CODFISC, &d.FABB, &d.ANNO, &d.ACC, &d.SALDO, &d.ABPRINC, &d.ALTRIFABB, &d.DETRAZ})
        result.append(QString::fromStdString(*text));
    return result;
}

// The alignment as the panel shows it: both corrections, the three marks, the chosen button.
QStringList Alignment() {
    QString chosen = "none";
    for (const char* name : {"RBTNS", "RBTNC", "RBTND"})
        if (Radio(name)->isChecked())
            chosen = name;
    return {SummaryEdit("Edit1")->text(), SummaryEdit("Edit2")->text(),
            SummaryEdit("EDITC")->text(), SummaryEdit("EDITD")->text(),
            SummaryEdit("EDITS")->text(), chosen};
}

} // namespace

void TestSummaryWindow::showsItsTitleSizeAndPlace() {
    QCOMPARE(Form2->windowTitle(), QString("  Riepilogo Bollettino Postale") + QString(26, ' ') +
                                       "http://www.quotario.it");
    QCOMPARE(Form2->size(), QSize(522, 473));
    QCOMPARE(Form2->minimumSize(), Form2->maximumSize());
#ifdef _WIN32
    QCOMPARE(Form2->font().family(), QString("MS Sans Serif"));
#else
    QCOMPARE(Form2->font().family(), QString("Liberation Sans"));
#endif
    QCOMPARE(Form2->font().pointSize(), 8);
    const QPoint centre = Form2->screen()->availableGeometry().center();
    QVERIFY((Form2->geometry().center() - centre).manhattanLength() <= 2);
    for (const char* hidden : {"EDITS", "EDITC", "EDITD"})
        QVERIFY2(SummaryEdit(hidden)->isHidden(), hidden);
    for (const char* hidden : {"BUTTONSX", "BUTTONCX", "BUTTONDX"})
        QVERIFY2(Find<QPushButton>(Form2, hidden)->isHidden(), hidden);
    QCOMPARE(Alignment(), QStringList({"26", "26", "EDITC", "EDITD", "EDITS", "none"}));
}

void TestSummaryWindow::valueBoxesHaveTheirLook_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("inGroup");
    const int left = Qt::AlignLeft, right = Qt::AlignRight, centre = Qt::AlignHCenter;
    const QList<std::tuple<const char*, int, bool, bool>> rows = {
        {"CCNR", left, false, false},      {"Imp", right, false, false},
        {"CENT", left, false, false},      {"IMPLETT", left, false, false},
        {"INTEST1", left, false, false},   {"INTEST2", left, false, false},
        {"NOME", left, false, true},       {"Comune", left, false, true},
        {"CODFISC", centre, false, true},  {"FABB", centre, false, true},
        {"ANNO", centre, false, true},     {"ACC", centre, true, true},
        {"SALDO", centre, true, true},     {"ABPRINC", right, false, true},
        {"ALTRIFABB", right, false, true}, {"DETRAZ", right, false, true},
    };
    for (const auto& [name, alignment, bold, inGroup] : rows)
        AddRow(name, name, alignment, bold, inGroup);
}

void TestSummaryWindow::valueBoxesHaveTheirLook() {
    QFETCH(QString, name);
    QFETCH(int, alignment);
    QFETCH(bool, bold);
    QFETCH(bool, inGroup);
    QCOMPARE(Form2->findChildren<QWidget*>(name).size(), 1);
    const QLabel* box = SummaryBox(name);
    QCOMPARE(int(box->alignment() & Qt::AlignHorizontal_Mask), alignment);
    QCOMPARE(int(box->alignment() & Qt::AlignVertical_Mask), int(Qt::AlignVCenter));
    QCOMPARE(box->font().bold(), bold);
    QCOMPARE(box->font().pointSize(), 8);
    QVERIFY(box->autoFillBackground());
    QCOMPARE(box->palette().color(QPalette::Window), Yellow);
    // A name or an address is shown as typed, never read as markup.
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QVERIFY(!box->wordWrap());
    QVERIFY(box->toolTip().isEmpty());
    QCOMPARE(box->parentWidget() == Form2->findChild<QGroupBox*>("GroupBox1"), inGroup);
}

void TestSummaryWindow::captionsStandAsWritten_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    AddNamedRow("Label1", "ContoCorrente n:");
    AddNamedRow("Label2", "Di Euro");
    AddNamedRow("Label3", "Cent.");
    AddNamedRow("Label5", ",");
    AddNamedRow("Label7", "Importo Lettere");
    AddNamedRow("Label8", "Intestato a:");
    AddNamedRow("Label9", "Cognome Nome      Comune domicilio fiscale      Via e numero civico");
    AddNamedRow("Label10", "Comune ubicazione degli immobili");
    AddNamedRow("Label11", "Codice Fiscale");
    AddNamedRow("Label13", "Num.Fabb");
    AddNamedRow("Label14", "Anno Imposta");
    AddNamedRow("Label15", "Versamento di Acconto");
    AddNamedRow("Label16", "Versamento a Saldo");
    AddNamedRow("Label17", "Abitazione Princ. €");
    AddNamedRow("Label18", "Atri Fabbricati      €");
    AddNamedRow("Label19", "Detraz.Abit.Princ.€");
    AddNamedRow("Label4", "  Settaggio\n del bollettino\nalla stampante");
    AddNamedRow("Label6", "Correzione\nverticale");
    AddNamedRow("Label12", "Correzione\norizzontale");
    AddNamedRow("RBTNS", "Carta a sinistra");
    AddNamedRow("RBTNC", "Carta al centro");
    AddNamedRow("RBTND", "Carta a destra");
    AddNamedRow("GroupBox1", "Eseguito da");
}

void TestSummaryWindow::captionsStandAsWritten() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QCOMPARE(Form2->findChildren<QWidget*>(name).size(), 1);
    QWidget* control = Form2->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
        // Every caption fits its place: nothing is cut.
        const QSize needed = label->fontMetrics().size(0, text);
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(
                     QString("%1 needs %2x%3").arg(name).arg(needed.width()).arg(needed.height())));
    } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
        QCOMPARE(radio->text(), text);
        QVERIFY(radio->sizeHint().width() <= radio->width());
    } else {
        QCOMPARE(qobject_cast<QGroupBox*>(control)->title(), text);
    }
    const bool bold = name == "Label4" || name == "Label5";
    QCOMPARE(control->font().bold(), bold);
    if (name == "Label5")
        QCOMPARE(control->font().pointSize(), 18);
}

void TestSummaryWindow::buttonsHaveTheirCaptionsHintsAndPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("tabbed");
    AddNamedRow("BitBtn1", "Chiudi", "Chiude e termina il programma", false);
    AddNamedRow("BitBtn2", "Informaz.", "Informazioni per la stampa", false);
    AddNamedRow("CorreggiBtn", "Correggi",
                "Torna alla schermata precedente\nper eventualmente correggere", false);
    AddNamedRow("SalvaBtn", "Salva\nl'allineamento", "Salva l'allineamento della carta", true);
    AddNamedRow("ResetBtn", "Carica vaolori\ndi DEFAULT",
                "Inserisce valori di partenza\nper il centraggio della carta", false);
    AddNamedRow("StampaBtn1", "Stampa\nil bollettino", "Stampa il bollettino", true);
}

void TestSummaryWindow::buttonsHaveTheirCaptionsHintsAndPictures() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(bool, tabbed);
    QVERIFY(ShowSummary()); // the pictures come with the first showing
    QCOMPARE(Form2->findChildren<QWidget*>(name).size(), 1);
    auto* button = Form2->findChild<QAbstractButton*>(name);
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), hint);
    QVERIFY(button->font().bold());
    QVERIFY(!button->icon().isNull());
    QCOMPARE(button->iconSize(), QSize(16, 16));
    QCOMPARE(bool(button->focusPolicy() & Qt::TabFocus), tabbed);
    QVERIFY(button->sizeHint().width() <= button->width());
    QVERIFY(button->sizeHint().height() <= button->height());
    if (name != "StampaBtn1")
        QVERIFY(button->height() < Form2->findChild<QWidget*>("StampaBtn1")->height());
    // Beside a push button's caption, its picture keeps a clear column on the caption's side.
    if (qobject_cast<QPushButton*>(button)) {
        const QImage picture = button->icon().pixmap(16, 16).toImage();
        bool clear = true;
        for (int y = 0; y < picture.height(); ++y)
            clear = clear && qAlpha(picture.pixel(picture.width() - 1, y)) == 0;
        QVERIFY2(clear, qPrintable(name));
    }
}

void TestSummaryWindow::showingBeforeAnyComputationGivesTheStartTexts() {
    const QString year = QString::number(QDate::currentDate().year() % 100).rightJustified(2, '0');
    QVERIFY(ShowSummary());
    const QStringList start = {"", "00", "00", "",  " ", "",      "",      "",
                               "", "",   year, "X", "",  "00,00", "00,00", "00,00"};
    QCOMPARE(SummaryTexts(), start);
    QCOMPARE(SlipDataTexts(Form2->CurrentSlipData()), start);
}

void TestSummaryWindow::showingAfterAComputationGivesItsResults() {
    // Leading zeros and blanks stay as typed.
    SlipTexts payer = SamplePayer;
    payer.accountNumber = "00123456";
    payer.holderLine1 = " POSTE ITALIANE ";
    SetEntries(EntriesOf(payer));
    SetEntries(EntriesOf({.income = "750", .revaluation = "5", .rate = "5", .deduction = "103,29"},
                         {.income = "1000", .revaluation = "5", .rate = "7"}));
    QTest::mouseClick(Label("Label21"), Qt::LeftButton); // the balance, not the advance
    PressCalcola();
    QCOMPARE(Label("LabLett")->text(), QString("#CINQUECENTODODICI/73"));
    QVERIFY(ShowSummary());
    const QStringList shown = {"00123456",
                               "512",
                               "73",
                               "#CINQUECENTODODICI/73",
                               " POSTE ITALIANE ",
                               *payer.holderLine2,
                               *payer.payer,
                               *payer.municipality,
                               *payer.taxCode,
                               *payer.buildingCount,
                               *payer.taxYear,
                               "",
                               "X",
                               "145,23",
                               "367,5",
                               "103,29"};
    QCOMPARE(SummaryTexts(), shown);
    QCOMPARE(SlipDataTexts(Form2->CurrentSlipData()), shown);
}

void TestSummaryWindow::aTextWiderThanItsBoxIsKeptWhole() {
    const QString name = QString(55, 'W');
    const QString words = "#" + QString("CENTOMILA").repeated(12) + "/99";
    Box("EdNome")->setText(name);
    Label("LabLett")->setText(words);
    Box("EdComun")->setText("<b>R&amp;S</b> &Co");
    QVERIFY(ShowSummary());
    const QLabel* nome = SummaryBox("NOME");
    QVERIFY(nome->fontMetrics().horizontalAdvance(name) > nome->width());
    QCOMPARE(nome->size(), QSize(356, 18));
    QCOMPARE(nome->text(), name);
    QCOMPARE(SummaryBox("IMPLETT")->width(), 376);
    QCOMPARE(SummaryBox("IMPLETT")->text(), words);
    QCOMPARE(QString::fromStdString(Form2->CurrentSlipData().IMPLETT), words);
    QCOMPARE(QString::fromStdString(Form2->CurrentSlipData().Comune),
             QString("<b>R&amp;S</b> &Co"));
}

void TestSummaryWindow::goingBackBringsTheMainWindowAndShowsCorrections_data() {
    QTest::addColumn<bool>("correggi");
    AddRow("Correggi", true);
    AddRow("close box", false);
}

void TestSummaryWindow::goingBackBringsTheMainWindowAndShowsCorrections() {
    QFETCH(bool, correggi);
    Box("EdNome")->setText("ROSSI");
    QVERIFY(ShowSummary());
    QCOMPARE(SummaryBox("NOME")->text(), QString("ROSSI"));
    if (correggi)
        QTest::mouseClick(Find<QPushButton>(Form2, "CorreggiBtn"), Qt::LeftButton);
    else
        Form2->close();
    QVERIFY(Form2->isHidden());
    QVERIFY(Form1->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    QCOMPARE(FocusedName(Form1), QString("EdCCNR"));

    Box("EdNome")->setText("BIANCHI");
    QTest::mouseClick(Label("Label29"), Qt::LeftButton);
    QVERIFY(ShowSummary());
    QCOMPARE(SummaryBox("NOME")->text(), QString("BIANCHI"));
    QCOMPARE(SummaryBox("ACC")->text(), QString());
    QCOMPARE(SummaryBox("SALDO")->text(), QString("X"));
}

void TestSummaryWindow::spinnersStepWithinTheirLimits_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");
    const QList<std::tuple<const char*, const char*, bool, const char*>> rows = {
        {"26 up", "26", true, "28"},
        {"26 down", "26", false, "24"},
        {"60 up stays", "60", true, "60"},
        {"0 down stays", "0", false, "0"},
        {"58 up", "58", true, "60"},
        {"2 down", "2", false, "0"},
        {"odd value", "27", true, "29"},
        {"above the top", "75", false, "58"},
        {"below the bottom", "-6", true, "2"},
        {"default value up starts at 26", "default value", true, "28"},
        {"default value down starts at 26", "default value", false, "24"},
        {"empty", "", true, "28"},
    };
    for (const char* box : {"Edit1", "Edit2"})
        for (const auto& [row, start, up, expected] : rows)
            QTest::addRow("%s %s", box, row) << box << start << up << expected;
}

void TestSummaryWindow::spinnersStepWithinTheirLimits() {
    QFETCH(QString, box);
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(QString, expected);
    QVERIFY(ShowSummary());
    QLineEdit* edit = Form2->findChild<QLineEdit*>(box);
    const QString upDown = box == "Edit1" ? "UpDown1" : "UpDown2";
    QCOMPARE(Form2->findChild<TUpDown*>(upDown)->Associate(), edit);

    edit->setText(start);
    QTest::mouseClick(Arrow(upDown, up ? "up" : "down"), Qt::LeftButton);
    QCOMPARE(edit->text(), expected);

    // The arrow keys do the same while the box has the focus.
    edit->setText(start);
    edit->setFocus();
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClick(QApplication::focusWidget(), up ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(edit->text(), expected);
}

void TestSummaryWindow::correctionsCannotBeTyped() {
    QVERIFY(ShowSummary());
    QLineEdit* edit = SummaryEdit("Edit2");
    QVERIFY(edit->isReadOnly());
    edit->setFocus();
    QTest::keyClicks(edit, "4");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString(DefaultValue));
    // Each spinner writes only into its own box.
    QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    QCOMPARE(SummaryEdit("Edit1")->text(), QString("28"));
    QCOMPARE(edit->text(), QString(DefaultValue));
}

void TestSummaryWindow::paperPositionsFormOneGroup() {
    QVERIFY(ShowSummary());
    QCOMPARE(Form2->ChosenPlacement(), PaperPlacement::None);
    const QList<std::pair<const char*, PaperPlacement>> buttons = {
        {"RBTNC", PaperPlacement::Centre},
        {"RBTNS", PaperPlacement::Left},
        {"RBTND", PaperPlacement::Right},
    };
    for (const auto& [name, placement] : buttons) {
        QTest::mouseClick(Radio(name), Qt::LeftButton);
        QCOMPARE(Form2->ChosenPlacement(), placement);
        QCOMPARE(Alignment().last(), QString(name));
    }
    // Choosing the chosen one again keeps it.
    QTest::mouseClick(Radio("RBTND"), Qt::LeftButton);
    QCOMPARE(Form2->ChosenPlacement(), PaperPlacement::Right);
}

void TestSummaryWindow::tabEntersThePaperPositionsAtTheChosenOne_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("clicked"); // a position clicked after the loading, if any
    QTest::addColumn<QString>("focus");
    AddRow("none chosen", ShippedAlignment, QString(), QString("RBTNS"));
    AddRow("left", QByteArray("[ALLINEA]\nEDITS=S1\nEDIT1=26\nEDIT2=26\n"), QString(),
           QString("RBTNS"));
    AddRow("centre", QByteArray("[ALLINEA]\nEDITC=C1\nEDIT1=26\nEDIT2=26\n"), QString(),
           QString("RBTNC"));
    AddRow("right", QByteArray("[ALLINEA]\nEDITD=D1\nEDIT1=26\nEDIT2=26\n"), QString(),
           QString("RBTND"));
    AddRow("centre, then right clicked", QByteArray("[ALLINEA]\nEDITC=C1\nEDIT1=26\nEDIT2=26\n"),
           QString("RBTND"), QString("RBTND"));
}

void TestSummaryWindow::tabEntersThePaperPositionsAtTheChosenOne() {
    QFETCH(QByteArray, file);
    QFETCH(QString, clicked);
    QFETCH(QString, focus);
    QVERIFY(WriteBytes(testFile("Allinea.ini"), file));
    QVERIFY(ShowSummary());
    if (!clicked.isEmpty())
        QTest::mouseClick(Radio(clicked), Qt::LeftButton);
    SummaryEdit("Edit1")->setFocus();
    QTest::keyClick(Form2->focusWidget(), Qt::Key_Backtab);
    QCOMPARE(FocusedName(Form2), focus);
    // The group is one stop: Tab leaves it at once.
    QTest::keyClick(Form2->focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusedName(Form2), QString("Edit1"));
    // From the last stop, Tab comes round to the group the same way.
    Find<QWidget>(Form2, "StampaBtn1")->setFocus();
    QTest::keyClick(Form2->focusWidget(), Qt::Key_Tab);
    QCOMPARE(FocusedName(Form2), focus);
}

void TestSummaryWindow::activationLoadsTheSavedAlignment_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("alignment");
    const QString dv = DefaultValue;
    AddRow("no file", QByteArray(), QStringList({dv, dv, dv, dv, dv, "none"}));
    AddRow("shipped file", ShippedAlignment, QStringList({"26", "26", "", "", "", "none"}));
    AddRow("centre",
           QByteArray("[ALLINEA]\r\nEDITC=C1\r\nEDITD=\r\nEDITS=\r\n"
                      "EDIT1=30\r\nEDIT2=4\r\n"),
           QStringList({"30", "4", "C1", "", "", "RBTNC"}));
    AddRow("centre and right: right",
           QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=D1\nEDITS=\nEDIT1=0\nEDIT2=60\n"),
           QStringList({"0", "60", "C1", "D1", "", "RBTND"}));
    AddRow("all three: left",
           QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=D1\nEDITS=S1\nEDIT1=2\nEDIT2=2\n"),
           QStringList({"2", "2", "C1", "D1", "S1", "RBTNS"}));
    AddRow("lower case marks choose nothing",
           QByteArray("[ALLINEA]\nEDITC=c1\nEDITD=d1\nEDITS=s1\nEDIT1=26\nEDIT2=26\n"),
           QStringList({"26", "26", "c1", "d1", "s1", "none"}));
    AddRow("missing keys", QByteArray("[ALLINEA]\nEDITS=S1\nEDIT1=12\n"),
           QStringList({"12", dv, dv, dv, "S1", "RBTNS"}));
    AddRow("other section", QByteArray("[ALTRO]\nEDIT1=12\n"),
           QStringList({dv, dv, dv, dv, dv, "none"}));
}

void TestSummaryWindow::activationLoadsTheSavedAlignment() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, alignment);
    if (!file.isNull())
        QVERIFY(WriteBytes(testFile("Allinea.ini"), file));
    // Whatever was on the panel before is replaced.
    QTest::mouseClick(Radio("RBTNC"), Qt::LeftButton);
    SummaryEdit("Edit1")->setText("44");
    QVERIFY(ShowSummary());
    QCOMPARE(Alignment(), alignment);
}

void TestSummaryWindow::comingBackFromAnotherWindowReloads() {
    QVERIFY(WriteBytes(testFile("Allinea.ini"),
                       "[ALLINEA]\nEDITC=\nEDITD=D1\nEDITS=\nEDIT1=26\nEDIT2=10\n"));
    QVERIFY(ShowSummary());
    QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    QTest::mouseClick(Radio("RBTNS"), Qt::LeftButton);
    QCOMPARE(Alignment(), QStringList({"28", "10", "", "D1", "", "RBTNS"}));

    // Another window of the program takes over: nothing is loaded yet.
    QWidget other;
    WatchActivation(&other);
    other.show();
    QVERIFY(Activate(&other));
    QCOMPARE(Alignment(), QStringList({"28", "10", "", "D1", "", "RBTNS"}));
    // Back in the summary, the unsaved changes give way to the saved alignment.
    QVERIFY(Activate(Form2));
    QCOMPARE(Alignment(), QStringList({"26", "10", "", "D1", "", "RBTND"}));
}

void TestSummaryWindow::saveWritesTheWholeFileAndLoadsBack_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<int>("ups1");
    QTest::addColumn<int>("downs2");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("loaded");
    AddRow("centre, both 26", "RBTNC", 0, 0,
           QByteArray("[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=26\n"),
           QStringList({"26", "26", "C1", "", "", "RBTNC"}));
    AddRow("left, 30 and 20", "RBTNS", 2, 3,
           QByteArray("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=S1\nEDIT1=30\nEDIT2=20\n"),
           QStringList({"30", "20", "", "", "S1", "RBTNS"}));
    AddRow("right, 60 and 0", "RBTND", 20, 20,
           QByteArray("[ALLINEA]\nEDITC=\nEDITD=D1\nEDITS=\nEDIT1=60\nEDIT2=0\n"),
           QStringList({"60", "0", "", "D1", "", "RBTND"}));
    AddRow("no position", "", 1, 0,
           QByteArray("[ALLINEA]\nEDITC=\nEDITD=\nEDITS=\nEDIT1=28\nEDIT2=26\n"),
           QStringList({"28", "26", "", "", "", "none"}));
}

void TestSummaryWindow::saveWritesTheWholeFileAndLoadsBack() {
    QFETCH(QString, radio);
    QFETCH(int, ups1);
    QFETCH(int, downs2);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, loaded);
    const QString path = testFile("Allinea.ini");
    // An earlier file with more in it than the alignment.
    QVERIFY(WriteBytes(path, "; note\n[ALLINEA]\nEDITC=c1\nEDITD=\nEDITS=\nEDIT1=26\n"
                             "EDIT2=26\nOTHER=1\n[ALTRO]\nX=2\n"));
    QVERIFY(ShowSummary());
    QCOMPARE(Alignment().last(), QString("none"));
    if (!radio.isEmpty())
        QTest::mouseClick(Radio(radio), Qt::LeftButton);
    for (int i = 0; i < ups1; ++i)
        QTest::mouseClick(Arrow("UpDown1", "up"), Qt::LeftButton);
    for (int i = 0; i < downs2; ++i)
        QTest::mouseClick(Arrow("UpDown2", "down"), Qt::LeftButton);

    QTest::mouseClick(Form2->findChild<QToolButton*>("SalvaBtn"), Qt::LeftButton);
    QCOMPARE(ReadBytes(path), bytes);
    QCOMPARE(Alignment(), loaded);

    // Scramble the panel, then come back to the summary from the main window.
    QTest::mouseClick(Form2->findChild<QToolButton*>("ResetBtn"), Qt::LeftButton);
    QTest::mouseClick(Radio(radio == "RBTNC" ? "RBTND" : "RBTNC"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(Form2, "CorreggiBtn"), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    QVERIFY(ShowSummary());
    QCOMPARE(Alignment(), loaded);
}

void TestSummaryWindow::saveCreatesAMissingFile() {
    const QString path = testFile("Allinea.ini");
    QVERIFY(ShowSummary());
    QCOMPARE(Alignment().first(), DefaultValue);
    QTest::mouseClick(Radio("RBTND"), Qt::LeftButton);
    QTest::mouseClick(Form2->findChild<QToolButton*>("SalvaBtn"), Qt::LeftButton);
    QCOMPARE(ReadBytes(path),
             QByteArray("[ALLINEA]\nEDITC=\nEDITD=D1\nEDITS=\nEDIT1=default value\n"
                        "EDIT2=default value\n"));
}

void TestSummaryWindow::aFailedSaveSaysWhyAndKeepsTheEntries_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    AddRow("its folder's name taken by a file", "blocked",
           QString::fromUtf8("la cartella che dovrebbe contenerlo non esiste o non è una "
                             "cartella"));
    AddRow("a folder named Allinea.ini", "folder",
           QString::fromUtf8("al suo posto c'è una cartella con lo stesso nome"));
    AddRow("Allinea.ini made read-only", "read-only",
           QString::fromUtf8("il file è di sola lettura"));
}

void TestSummaryWindow::aFailedSaveSaysWhyAndKeepsTheEntries() {
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QString directory = testFile("");
    if (fault == "blocked") {
        directory = testFile("blocked");
        QVERIFY(WriteBytes(directory, "not a directory"));
    } else if (fault == "folder") {
        QVERIFY(QDir().mkpath(testFile("Allinea.ini")));
    } else {
        QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
        QVERIFY(QFile::setPermissions(testFile("Allinea.ini"), QFile::ReadOwner));
    }
    Form2->SetAlignmentDirectory(directory.toStdString());
    const QString file = QString::fromStdString(Form2->AlignmentPlace().file);
    const QByteArray before = ReadBytes(file);
    Box("REND1")->setText("9");
    Box("EdNome")->setText("ROSSI");
    QVERIFY(ShowSummary());
    QTest::mouseClick(Arrow("UpDown1", "down"), Qt::LeftButton);
    QTest::mouseClick(Radio("RBTNC"), Qt::LeftButton);

    SeenBox seen;
    AnswerNextMessageBox(&seen, "OK", ActivateBox);
    QTest::mouseClick(Form2->findChild<QToolButton*>("SalvaBtn"), Qt::LeftButton);
    const QStringList changed = Alignment();
    QCOMPARE(changed.last(), QString("RBTNC"));
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Quotario"));
    QCOMPARE(seen.text, QString::fromUtf8("Impossibile salvare l'allineamento nel file\n%1\n"
                                          "perché %2.\nL'allineamento salvato prima resta "
                                          "com'era.")
                            .arg(file, reason));
    QCOMPARE(Box("REND1")->text(), QString("9"));
    QCOMPARE(Box("EdNome")->text(), QString("ROSSI"));
    QVERIFY(Form1->isHidden());
    QCOMPARE(ReadBytes(file), before);

    // Back in the summary after the box: the alignment shown is not reloaded.
    QVERIFY(Activate(Form2));
    QCOMPARE(Alignment(), changed);
}

void TestSummaryWindow::resetPutsBackOnlyTheCorrections() {
    const QString path = testFile("Allinea.ini");
    const QByteArray saved("[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT2=40\n");
    QVERIFY(WriteBytes(path, saved));
    QVERIFY(ShowSummary());
    QCOMPARE(Alignment(), QStringList({DefaultValue, "40", "C1", "", "", "RBTNC"}));
    QTest::mouseClick(Form2->findChild<QToolButton*>("ResetBtn"), Qt::LeftButton);
    QCOMPARE(Alignment(), QStringList({"26", "26", "C1", "", "", "RBTNC"}));
    QCOMPARE(ReadBytes(path), saved);
}

void TestSummaryWindow::theFileLiesBesideTheProgram() {
    Form2->SetAlignmentDirectory({});
    QCOMPARE(QDir::fromNativeSeparators(QString::fromStdString(Form2->AlignmentPlace().file)),
             QCoreApplication::applicationDirPath() + "/Allinea.ini");
}

void TestSummaryWindow::informazOpensTheReadmeAndWaits() {
    QVERIFY(ShowSummary());
    QList<StartRequest> starts;
    const StandIn<ProgramStarter> starter(SetProgramStarter,
                                          [&starts](const StartRequest& request) {
                                              starts.append(request);
                                              return StartResult{true, 0};
                                          });
    const QString before = QDir::currentPath();
    QTest::mouseClick(Form2->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    const QString during = QDir::currentPath();
    QDir::setCurrent(before);
    QCOMPARE(starts.size(), 1);
    QCOMPARE(QString::fromStdString(starts[0].commandLine),
             QString(TextEditorProgram) + " leggimi-prima.txt");
    QVERIFY(starts[0].wait);
    QCOMPARE(QDir(during).canonicalPath(),
             QDir(QCoreApplication::applicationDirPath()).canonicalPath());
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

// The editor stays open a while: meanwhile the summary is repainted and shows that it waits,
// and a click or key sent to it then has no effect, neither then nor once the editor closes.
void TestSummaryWindow::whileTheEditorIsOpenTheWindowPaintsButTakesNoInput() {
    QVERIFY(WriteBytes(testFile("Allinea.ini"), ShippedAlignment));
    QVERIFY(ShowSummary());
    QCOMPARE(Alignment().last(), QString("none"));
    const StandIn<ProgramStarter> starter(
        SetProgramStarter,
        [](const StartRequest&) {
            QThread::msleep(1500);
            return StartResult{true, 0};
        });
    const auto restore = qScopeGuard([before = QDir::currentPath()] { QDir::setCurrent(before); });
    PaintCounter counter;
    Form2->installEventFilter(&counter);
    bool enabledMeanwhile = true;
    int paintsMeanwhile = 0;
    QTimer::singleShot(300, Form2, [&] {
        enabledMeanwhile = Form2->isEnabled();
        QTest::mouseClick(Radio("RBTNC"), Qt::LeftButton);
        QTest::keyClick(Radio("RBTNS"), Qt::Key_Right);
        Form2->update();
        QTimer::singleShot(300, Form2, [&] { paintsMeanwhile = counter.paints; });
    });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(Form2->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
    QVERIFY(clock.elapsed() >= 1500);
    QVERIFY(!enabledMeanwhile);
    QVERIFY(paintsMeanwhile > 0);
    QVERIFY(Form2->isEnabled());
    QTest::qWait(100);
    QCOMPARE(Alignment().last(), QString("none"));
}

void TestSummaryWindow::chiudiEndsTheProgramWithTheMainWindowHidden() {
    QVERIFY(ShowSummary());
    const ChiudiOutcome end = PressChiudiAndRunTheLoop(5000);
    QCOMPARE(end.exitCode, 0);
    QVERIFY(!end.windowsGoneAtOnce); // nothing is closed before the loop ends
    QVERIFY(Form1->isHidden());
}

QUOTARIO_GUI_TEST_MAIN(TestSummaryWindow)
#include "tst_summarywindow.moc"
