#include "rules/PaperMarks.h"
#include "support/DataRows.h"

#include <QTest>

Q_DECLARE_METATYPE(PaperPlacement)

class TestPaperMarks : public QObject {
    Q_OBJECT
private slots:
    void marksForASave_data();
    void marksForASave();
    void placementFromMarks_data();
    void placementFromMarks();
};

void TestPaperMarks::marksForASave_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<QString>("editC");
    QTest::addColumn<QString>("editD");
    QTest::addColumn<QString>("editS");
    AddRow("none", PaperPlacement::None, "", "", "");
    AddRow("left", PaperPlacement::Left, "", "", "S1");
    AddRow("centre", PaperPlacement::Centre, "C1", "", "");
    AddRow("right", PaperPlacement::Right, "", "D1", "");
}

void TestPaperMarks::marksForASave() {
    QFETCH(PaperPlacement, placement);
    QFETCH(QString, editC);
    QFETCH(QString, editD);
    QFETCH(QString, editS);
    const PaperMarks marks = MarksFromPlacement(placement);
    QCOMPARE(QString::fromStdString(marks.centre), editC);
    QCOMPARE(QString::fromStdString(marks.right), editD);
    QCOMPARE(QString::fromStdString(marks.left), editS);
    QCOMPARE(PlacementFromMarks(marks), placement);
}

void TestPaperMarks::placementFromMarks_data() {
    QTest::addColumn<QString>("editC");
    QTest::addColumn<QString>("editD");
    QTest::addColumn<QString>("editS");
    QTest::addColumn<PaperPlacement>("placement");
    AddRow("no marks", "", "", "", PaperPlacement::None);
    AddRow("missing file", "default value", "default value", "default value", PaperPlacement::None);
    AddRow("centre", "C1", "", "", PaperPlacement::Centre);
    AddRow("right", "", "D1", "", PaperPlacement::Right);
    AddRow("left", "", "", "S1", PaperPlacement::Left);
    AddRow("right over centre", "C1", "D1", "", PaperPlacement::Right);
    AddRow("left over centre", "C1", "", "S1", PaperPlacement::Left);
    AddRow("left over right", "", "D1", "S1", PaperPlacement::Left);
    AddRow("all three", "C1", "D1", "S1", PaperPlacement::Left);
    AddRow("other text under right keeps centre", "C1", "x", "", PaperPlacement::Centre);
    AddRow("lower case", "c1", "d1", "s1", PaperPlacement::None);
    AddRow("spaces around", " C1", "D1 ", "", PaperPlacement::None);
    AddRow("code of another position", "D1", "S1", "C1", PaperPlacement::None);
    AddRow("code with more after it", "C10", "", "", PaperPlacement::None);
}

void TestPaperMarks::placementFromMarks() {
    QFETCH(QString, editC);
    QFETCH(QString, editD);
    QFETCH(QString, editS);
    QFETCH(PaperPlacement, placement);
    QCOMPARE(PlacementFromMarks({editC.toStdString(), editD.toStdString(), editS.toStdString()}),
             placement);
}

QTEST_APPLESS_MAIN(TestPaperMarks)
#include "tst_papermarks.moc"
