#include "base/AppInfo.h"
#include "program/WebAddress.h"
#include "support/MessageRecorder.h"
#include "support/StandIn.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QPushButton>
#include <QTest>

#include <optional>

// "&Inform." on the main window: the information text, and the author's web site on "&Yes".
class TestInfoBox : public WindowTest {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void showsTheInformationTextLineByLine();
    void answerDecidesWhetherTheSiteOpens_data();
    void answerDecidesWhetherTheSiteOpens();
    void realDialogOffersYesByDefaultAndNoOnEscape_data();
    void realDialogOffersYesByDefaultAndNoOnEscape();
    void altIOpensTheBox();

private:
    QStringList opened_;
    std::optional<StandIn<WebAddressOpener>> opener_;
};

namespace {

// Every line as the users know it, written out here independently of the program.
const QStringList ExpectedLines = {
    "INFORMAZIONI  ",
    "Autore: Marco Ferrante ...  http://www.quotario.it",
    "",
    "",
    "Il programma va bene ed è stato testato su altri PC, co-",
    "",
    "",
    "",
    "Il programma esegue automaticamente il calcolo dell'ICI",
    "permette di visualizzare schematicamente come verrà il",
    "bollettino di C/C e STAMPARE il bollettino stesso.",
    "Scrivere i dati necessari nelle caselle apposite, come indi- ",
    "cato, ricordo ancora che la RIVALUTAZIONE, PERCEN-",
    "TUALE DI POSSESSO E L'ALIQUOTA ICI VANNO SCRITTI",
    "..... SENZA IL SEGNO  % ......",
    "Per RIVALUTAZIONE inserire la Rivalutazione Catastale",
    "prevista dal Catasto del Comune dov'è ubicato l'immobile.",
    "Per la DETRAZIONE ICI  inserire la DETRAZIONE TOTALE",
    "ANNUALE, il programma esegue automaticamente il calco-",
    "lo della detrazione spettante facendo riferimento ai mesi",
    "di possesso e alla percentale di possesso .",
    " Per spostarsi velocemente nelle caselle si può usare il",
    "tasto TAB, lasciando 2 secondi il cursore del mouse sui",
    "pulsanti o sui campi appaiono delle piccole spiegazioni.",
    "....PRIMA DI STAMPARE LEGGERE IL FILE....",
    "..........  LEGGIMIPRIMA.TXT ............... ",
    "Sequesto programma lo avete ritenuto utile visitate il mio ",
    "sacliccando su YES, altrimenti cliccare su NO per chiudere ",
    "questa finestra.",
};

} // namespace

void TestInfoBox::init() {
    opened_.clear();
    opener_.emplace(SetWebAddressOpener,
                    [this](const QString& address) { opened_.append(address); });
    WindowTest::init();
}

void TestInfoBox::cleanup() {
    opener_.reset();
    WindowTest::cleanup();
}

void TestInfoBox::showsTheInformationTextLineByLine() {
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QTest::mouseClick(Button("InfoBtn"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    const RecordedMessage& box = recorder.messages[0];
    QCOMPARE(box.kind, MessageKind::Information);
    QCOMPARE(box.caption, QString("Information"));
    QVERIFY(!box.owner); // centred on the screen, not on the window
    QVERIFY(!box.text.contains('\n'));
    QVERIFY(!box.text.endsWith('\r'));
    const QStringList lines = box.text.split('\r');
    QCOMPARE(lines.size(), 29);
    for (int i = 0; i < ExpectedLines.size(); ++i)
        QCOMPARE(lines[i], ExpectedLines[i]);
    QVERIFY(lines[1].contains(QString::fromUtf8(AuthorWebAddress)));
}

void TestInfoBox::answerDecidesWhetherTheSiteOpens_data() {
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("Yes") << MessageAnswer::Yes << QStringList{"http://www.quotario.it"};
    QTest::newRow("No") << MessageAnswer::No << QStringList();
}

void TestInfoBox::answerDecidesWhetherTheSiteOpens() {
    QFETCH(MessageAnswer, answer);
    QFETCH(QStringList, opened);
    MessageRecorder recorder;
    recorder.answers = {answer};
    QTest::mouseClick(Button("InfoBtn"), Qt::LeftButton);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(opened_, opened);
}

void TestInfoBox::realDialogOffersYesByDefaultAndNoOnEscape_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("opens");
    QTest::newRow("&Yes") << "&Yes" << true;
    QTest::newRow("&No") << "&No" << false;
    QTest::newRow("Enter") << "Enter" << true;
    QTest::newRow("Escape") << "Escape" << false;
}

void TestInfoBox::realDialogOffersYesByDefaultAndNoOnEscape() {
    QFETCH(QString, how);
    QFETCH(bool, opens);
    SeenBox seen;
    if (how == "Enter")
        EnterInNextMessageBox(&seen);
    else if (how == "Escape")
        EscapeNextMessageBox(&seen);
    else
        AnswerNextMessageBox(&seen, how);
    QTest::mouseClick(Button("InfoBtn"), Qt::LeftButton);
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, QString("Information"));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.buttons, QStringList({"&Yes", "&No"}));
    QCOMPARE(seen.defaultButton, QString("&Yes"));
    QCOMPARE(seen.escapeButton, QString("&No"));
    QCOMPARE(seen.text, ExpectedLines.join('\n'));
    QCOMPARE(opened_.size(), opens ? 1 : 0);
}

void TestInfoBox::altIOpensTheBox() {
    MessageRecorder recorder;
    recorder.answers = {MessageAnswer::No};
    QTest::keyClick(Form1, Qt::Key_I, Qt::AltModifier);
    QTRY_COMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].kind, MessageKind::Information);
}

QUOTARIO_GUI_TEST_MAIN(TestInfoBox)
#include "tst_infobox.moc"
