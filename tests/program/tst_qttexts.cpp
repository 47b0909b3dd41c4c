#include "frame/MessageBoxes.h"
#include "frame/SlipPdfFile.h"
#include "support/TestMain.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>

// Qt's own texts read Italian like the rest of the program, once the program has started: the
// edit boxes' menu and the save dialog with its question. The program's designed English
// captions and buttons stay as they are.
class TestQtTexts : public WindowTest {
    Q_OBJECT
private slots:
    void editBoxMenuIsItalian();
    void saveDialogAndItsQuestionAreItalian();
    void typedDialogsKeepTheirDesignedTexts_data();
    void typedDialogsKeepTheirDesignedTexts();
};

namespace {

// Runs act with the popup or modal dialog of the given kind as soon as it is open.
template <class Shown> void WhenOpen(std::function<void(Shown*)> act) {
    QTimer::singleShot(
        20, qApp,
        [act] {
            QWidget* open = QApplication::activePopupWidget();
            if (!open)
                open = QApplication::activeModalWidget();
            auto* shown = qobject_cast<Shown*>(open);
            if (shown && shown->isVisible())
                act(shown);
            else
                WhenOpen(act);
        });
}

// A text as it reads on the screen: no Alt-key mark and no shortcut after it.
QString Shown(const QString& text) {
    return QString(text).remove('&').section('\t', 0, 0);
}

QStringList ButtonTexts(const QList<QAbstractButton*>& buttons) {
    QStringList texts;
    for (const QAbstractButton* button : buttons)
        texts.append(Shown(button->text()));
    return texts;
}

} // namespace

void TestQtTexts::editBoxMenuIsItalian() {
    QStringList entries;
    WhenOpen<QMenu>([&entries](QMenu* menu) {
        for (const QAction* action : menu->actions())
            entries.append(Shown(action->text()));
        menu->close();
    });
    QLineEdit* box = Box("REND1");
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                 box->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box, &rightClick);
    QTRY_VERIFY(!entries.isEmpty());
    for (const char* entry : {"Annulla", "Taglia", "Incolla"})
        QVERIFY2(entries.contains(entry), qPrintable(entries.join(", ")));
}

// The save dialog proposes a file that is already there: saving asks before replacing it.
void TestQtTexts::saveDialogAndItsQuestionAreItalian() {
    const QString proposed = testFile("Bollettino ICI.pdf");
    QFile existing(proposed);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString lookIn, fileName;
    QStringList buttons;
    SeenBox question;
    WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
        lookIn = dialog->findChild<QLabel*>("lookInLabel")->text();
        fileName = Shown(dialog->findChild<QLabel*>("fileNameLabel")->text());
        auto* buttonBox = dialog->findChild<QDialogButtonBox*>("buttonBox");
        buttons = ButtonTexts(buttonBox->buttons());
        AnswerNextMessageBox(&question, "&No");
        buttonBox->button(QDialogButtonBox::Save)->click();
        dialog->reject();
    });
    QCOMPARE(ChooseSlipPdfFile(Form1, proposed), QString());
    QCOMPARE(lookIn, QString("Cerca in:"));
    QCOMPARE(fileName, QString("Nome del file:"));
    QCOMPARE(buttons, QStringList({"Salva", "Annulla"}));
    QVERIFY(question.seen);
    QCOMPARE(question.text, QString::fromUtf8("Bollettino ICI.pdf esiste già.\nVuoi sostituirlo?"));
    QCOMPARE(question.buttons, QStringList({QString::fromUtf8("&Sì"), "&No"}));
}

void TestQtTexts::typedDialogsKeepTheirDesignedTexts_data() {
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("warning") << false << QString("Warning") << QStringList({"OK"});
    QTest::newRow("information") << true << QString("Information") << QStringList({"&Yes", "&No"});
}

void TestQtTexts::typedDialogsKeepTheirDesignedTexts() {
    QFETCH(bool, asks);
    QFETCH(QString, caption);
    QFETCH(QStringList, buttons);
    SeenBox seen;
    AnswerNextMessageBox(&seen, buttons.last());
    if (asks)
        MessageInformationYesNo("?");
    else
        MessageWarning("!");
    QCOMPARE(seen.title, caption);
    QCOMPARE(seen.buttons, buttons);
}

QUOTARIO_GUI_TEST_MAIN(TestQtTexts)
#include "tst_qttexts.moc"
