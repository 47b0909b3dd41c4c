#include "base/Errors.h"
#include "rules/SlipCopy.h"
#include "rules/SlipPlacement.h"
#include "rules/SlipPrintCheck.h"
#include "rules/SlipReport.h"
#include "support/DataRows.h"
#include "support/SampleSlip.h"

#include <QTest>

#include <functional>
#include <map>

Q_DECLARE_METATYPE(PaperPlacement)
Q_DECLARE_METATYPE(SlipLabelId)

using enum SlipLabelId;

namespace {

QString ConversionMessage(const std::function<void()>& run) {
    try {
        run();
    } catch (const EConvertError& error) {
        return QString::fromStdString(error.what());
    }
    return QString();
}

} // namespace

class TestSlipRules : public QObject {
    Q_OBJECT
private slots:
    void spacedBoxesFitTheirDesignText_data();
    void spacedBoxesFitTheirDesignText();
    void paperPositionMovesOnlyTheTops_data();
    void paperPositionMovesOnlyTheTops();
    void placesTheWorkedExamples_data();
    void placesTheWorkedExamples();
    void noPaperPositionLeavesLabelsWhereTheyAre();
    void badVerticalCorrectionPlacesNothing();
    void badHorizontalCorrectionLeavesTopsSet();
    void runsDoNotAccumulate();
    void hugeCorrectionsDoNotOverflow();
    void convertsAmountsToCents_data();
    void convertsAmountsToCents();
    void copiesTheFields_data();
    void copiesTheFields();
    void joinsHolderLinesWithASpace();
    void badAmountStopsTheCopyThere_data();
    void badAmountStopsTheCopyThere();
    void essentialTexts_data();
    void essentialTexts();
    void insufficientDataMessage();
    void essentialLabelsMustNotLieOffTheSheet_data();
    void essentialLabelsMustNotLieOffTheSheet();
};

void TestSlipRules::spacedBoxesFitTheirDesignText_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < SlipLabelCount; ++i) {
        const SlipLabelDesign& design = SlipLabelDesigns()[i];
        if (design.face == SlipFace::Spaziato && design.widthRule == SlipWidthRule::FitsText)
            AddRow(std::string(design.name).c_str(), int(i));
    }
}

// An auto-sized box in the spaced face is one cell per character plus one unit wide.
void TestSlipRules::spacedBoxesFitTheirDesignText() {
    QFETCH(int, index);
    const SlipLabelDesign& design = SlipLabelDesigns()[std::size_t(index)];
    QCOMPARE(design.width, SpacedCellWidth(design.pointSize) * int(design.placeholder.size()) + 1);
    const SlipReport report;
    const SlipLabel& label = report.Label(design.id);
    QCOMPARE(label.left, design.left);
    QCOMPARE(label.top, design.top);
    QCOMPARE(label.text, std::string(design.placeholder));
}

void TestSlipRules::paperPositionMovesOnlyTheTops_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<int>("offset");
    AddRow("centre", PaperPlacement::Centre, 203);
    AddRow("right", PaperPlacement::Right, 406);
}

// Against the paper fed at the left, every box lies lower by the position's offset and no
// further right or left.
void TestSlipRules::paperPositionMovesOnlyTheTops() {
    QFETCH(PaperPlacement, placement);
    QFETCH(int, offset);
    SlipReport left;
    PlaceSlip(left, PaperPlacement::Left, "26", "26");
    SlipReport moved;
    PlaceSlip(moved, placement, "26", "26");
    for (std::size_t i = 0; i < SlipLabelCount; ++i) {
        QCOMPARE(moved.Labels()[i].top, left.Labels()[i].top + offset);
        QCOMPARE(moved.Labels()[i].left, left.Labels()[i].left);
    }
    QCOMPARE(PaperPlacementOffset(placement), offset);
}

void TestSlipRules::placesTheWorkedExamples_data() {
    QTest::addColumn<PaperPlacement>("placement");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<SlipLabelId>("id");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    AddRow("right 26 account", PaperPlacement::Right, "26", "26", QRCCNR1, 446, 128);
    AddRow("right 26 deduction", PaperPlacement::Right, "26", "26", QRDETRAZ1, 726, 128);
    AddRow("right 26 cents", PaperPlacement::Right, "26", "26", QRCENT11, 446, 1082);
    AddRow("right 26 words", PaperPlacement::Right, "26", "26", QRIMPLETT11, 473, 638);
    AddRow("centre 0/60 payer", PaperPlacement::Centre, "0", "60", QRNOME11, 319, 632);
    AddRow("left 0 account", PaperPlacement::Left, "0", "0", QRCCNR1, 14, 102);
    AddRow("right 60 deduction", PaperPlacement::Right, "60", "60", QRDETRAZ1, 760, 162);
    AddRow("centre 26/0", PaperPlacement::Centre, "26", "0", QRCODFISC1, 403, 27);
    AddRow("centre 0/60", PaperPlacement::Centre, "0", "60", QRFABB11, 461, 799);
    AddRow("leading space and sign", PaperPlacement::Left, " +12", "-4", QRIMP1, 26, 288);
}

void TestSlipRules::placesTheWorkedExamples() {
    QFETCH(PaperPlacement, placement);
    QFETCH(QString, vertical);
    QFETCH(QString, horizontal);
    QFETCH(SlipLabelId, id);
    QFETCH(int, top);
    QFETCH(int, left);
    SlipReport report;
    PlaceSlip(report, placement, vertical.toStdString(), horizontal.toStdString());
    QCOMPARE(report.Label(id).top, top);
    QCOMPARE(report.Label(id).left, left);
}

void TestSlipRules::noPaperPositionLeavesLabelsWhereTheyAre() {
    SlipReport report;
    PlaceSlip(report, PaperPlacement::None, "default value", "default value");
    QCOMPARE(report.Label(QRIMP1).left, 300); // the design place, not the table's 302
    QCOMPARE(report.Label(QRFABB11).top, 272);

    PlaceSlip(report, PaperPlacement::Centre, "30", "20");
    PlaceSlip(report, PaperPlacement::None, "0", "0");
    QCOMPARE(report.Label(QRIMP1).left, 312); // where the last placement put it
    QCOMPARE(report.Label(QRFABB11).top, 268 + 203 + 20);
}

void TestSlipRules::badVerticalCorrectionPlacesNothing() {
    SlipReport report;
    const QString message =
        ConversionMessage([&] { PlaceSlip(report, PaperPlacement::Left, "default value", "26"); });
    QCOMPARE(message, QString("'default value' is not a valid integer value"));
    for (const SlipLabel& label : report.Labels()) {
        QCOMPARE(label.top, label.design->top);
        QCOMPARE(label.left, label.design->left);
    }
}

void TestSlipRules::badHorizontalCorrectionLeavesTopsSet() {
    SlipReport report;
    const QString message =
        ConversionMessage([&] { PlaceSlip(report, PaperPlacement::Right, "26", "2,5"); });
    QCOMPARE(message, QString("'2,5' is not a valid integer value"));
    SlipReport placed;
    PlaceSlip(placed, PaperPlacement::Right, "26", "26");
    for (std::size_t i = 0; i < SlipLabelCount; ++i) {
        QCOMPARE(report.Labels()[i].top, placed.Labels()[i].top);
        QCOMPARE(report.Labels()[i].left, report.Labels()[i].design->left);
    }
}

void TestSlipRules::runsDoNotAccumulate() {
    SlipReport twice;
    PlaceSlip(twice, PaperPlacement::Right, "60", "60");
    PlaceSlip(twice, PaperPlacement::Left, "0", "26");
    SlipReport once;
    PlaceSlip(once, PaperPlacement::Left, "0", "26");
    for (std::size_t i = 0; i < SlipLabelCount; ++i) {
        QCOMPARE(twice.Labels()[i].top, once.Labels()[i].top);
        QCOMPARE(twice.Labels()[i].left, once.Labels()[i].left);
    }
    QCOMPARE(once.Label(QRCCNR1).top, 14);
}

void TestSlipRules::hugeCorrectionsDoNotOverflow() {
    SlipReport report;
    PlaceSlip(report, PaperPlacement::Right, "2147483647", "-2147483648");
    QVERIFY(report.Label(QRDETRAZ1).top > 100000);
    QVERIFY(report.Label(QRCENT11).left < -100000);
}

void TestSlipRules::convertsAmountsToCents_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("cents");
    AddRow("start text", "00,00", "00");
    AddRow("zero", "0,00", "0");
    AddRow("half", "0,5", "50");
    AddRow("euros and cents", "123,45", "12345");
    AddRow("trailing zeros", "250,00", "25000");
    AddRow("fraction of a cent", "12,345", "1234,5");
    AddRow("whole", "525", "52500");
    AddRow("general format input", "131,25", "13125");
}

void TestSlipRules::convertsAmountsToCents() {
    QFETCH(QString, amount);
    QFETCH(QString, cents);
    QCOMPARE(QString::fromStdString(AmountInCents(amount.toStdString())), cents);
}

// One label of each way a field reaches the slip: as it is, on both parts; the holder lines
// joined on the left part and apart on the right one; an amount as typed and in cents; an empty
// field over a label's design text.
void TestSlipRules::copiesTheFields_data() {
    QTest::addColumn<SlipLabelId>("id");
    QTest::addColumn<QString>("text");
    const SlipData sample = SampleSlip();
    const auto text = [](const std::string& field) { return QString::fromStdString(field); };
    AddRow("payer, left part", QRNOME1, text(sample.NOME));
    AddRow("tax code, right part", QRCODFISC11, text(sample.CODFISC));
    AddRow("holder lines joined, left part", QRINTEST1,
           text(sample.INTEST1 + " " + sample.INTEST2));
    AddRow("second holder line, right part", QRINTEST12, text(sample.INTEST2));
    AddRow("amount as typed, left part", QRABIT1, QString("1000,5"));
    AddRow("amount in cents, right part", QRABIT11, QString("100050"));
    AddRow("empty balance mark", QRSALDO11, QString());
}

void TestSlipRules::copiesTheFields() {
    QFETCH(SlipLabelId, id);
    QFETCH(QString, text);
    SlipReport report;
    CopySlipToReport(SampleSlip(), report);
    QCOMPARE(QString::fromStdString(report.Label(id).text), text);
}

void TestSlipRules::joinsHolderLinesWithASpace() {
    SlipData slip = SampleSlip();
    slip.INTEST2 = "";
    SlipReport report;
    CopySlipToReport(slip, report);
    QCOMPARE(report.Label(QRINTEST1).text, std::string("COMUNE DI ROMA "));
    QCOMPARE(report.Label(QRINTEST12).text, std::string());
}

void TestSlipRules::badAmountStopsTheCopyThere_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<SlipLabelId>("lastCopied");
    QTest::addColumn<SlipLabelId>("firstKept");
    AddRow("main residence", "ABPRINC", QRDETRAZ1, QRABIT11);
    AddRow("other buildings", "ALTRIFABB", QRABIT11, QRALTRI11);
    AddRow("deduction", "DETRAZ", QRALTRI11, QRDETRAZ11);
}

void TestSlipRules::badAmountStopsTheCopyThere() {
    QFETCH(QString, field);
    QFETCH(SlipLabelId, lastCopied);
    QFETCH(SlipLabelId, firstKept);
    SlipData slip = SampleSlip();
    std::string& amount = field == "ABPRINC"     ? slip.ABPRINC
                          : field == "ALTRIFABB" ? slip.ALTRIFABB
                                                 : slip.DETRAZ;
    amount = "1.000";
    SlipReport report;
    const std::string before = report.Label(firstKept).text;
    const QString message = ConversionMessage([&] { CopySlipToReport(slip, report); });
    QCOMPARE(message, QString("'1.000' is not a valid floating point value"));
    QVERIFY(report.Label(lastCopied).text != SlipReport().Label(lastCopied).text);
    QCOMPARE(report.Label(firstKept).text, before);
    QCOMPARE(report.Label(QRCCNR1).text, std::string("12345678"));
}

void TestSlipRules::essentialTexts_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enough");
    for (const char* field : {"CCNR", "IMPLETT", "INTEST1", "NOME", "Comune", "CODFISC"}) {
        QTest::addRow("%s empty", field) << field << "" << false;
        QTest::addRow("%s blank", field) << field << " " << true;
    }
    for (const char* field : {"INTEST2", "Imp", "CENT", "FABB", "ANNO", "ACC", "SALDO", "ABPRINC",
                              "ALTRIFABB", "DETRAZ"})
        QTest::addRow("%s empty", field) << field << "" << true;
}

void TestSlipRules::essentialTexts() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, enough);
    SlipData slip = SampleSlip();
    const std::map<QString, std::string*> fields{
        {"CCNR", &slip.CCNR},       {"Imp", &slip.Imp},         {"CENT", &slip.CENT},
        {"IMPLETT", &slip.IMPLETT}, {"INTEST1", &slip.INTEST1}, {"INTEST2", &slip.INTEST2},
        {"NOME", &slip.NOME},       {"Comune", &slip.Comune},   {"CODFISC", &slip.CODFISC},
        {"FABB", &slip.FABB},       {"ANNO", &slip.ANNO},       {"ACC", &slip.ACC},
        {"SALDO", &slip.SALDO},     {"ABPRINC", &slip.ABPRINC}, {"ALTRIFABB", &slip.ALTRIFABB},
        {"DETRAZ", &slip.DETRAZ}};
    *fields.at(field) = text.toStdString();
    QCOMPARE(HasEssentialSlipTexts(slip), enough);
}

void TestSlipRules::insufficientDataMessage() {
    QCOMPARE(QString::fromUtf8(InsufficientSlipDataMessage),
             QString("Dati insufficienti per stampare !! \r..Cliccare su CORREGGI!...."));
}

void TestSlipRules::essentialLabelsMustNotLieOffTheSheet_data() {
    QTest::addColumn<SlipLabelId>("label");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<bool>("onSheet");
    const int right = 1123, bottom = 794;
    AddRow("tax code's box from the last unit", QRCODFISC11, 182, right - 1, true);
    AddRow("tax code's box past the right edge", QRCODFISC11, 182, right, false);
    AddRow("account box ending at the left edge", QRCCNR1, 24, -120, false);
    AddRow("account box with one unit on", QRCCNR1, 24, -119, true);
    AddRow("payer's box from the last line", QRNOME11, bottom - 1, 582, true);
    AddRow("payer's box below the sheet", QRNOME11, bottom, 582, false);
    AddRow("municipality above the sheet", QRCOMUNE1, -17, 200, false);
    AddRow("amount in words at the far limit", QRIMPLETT11, 51, 2147483647, false);
    AddRow("holder line 1 at the far limit", QRINTEST1, -2147483647 - 1, 96, false);
    AddRow("second holder line is not essential", QRINTEST12, 5000, 526, true);
    AddRow("amount in figures is not essential", QRIMP1, 24, -5000, true);
}

void TestSlipRules::essentialLabelsMustNotLieOffTheSheet() {
    QFETCH(SlipLabelId, label);
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(bool, onSheet);
    SlipReport report;
    QVERIFY(EssentialLabelsOnSheet(report));
    report.Label(label).top = top;
    report.Label(label).left = left;
    QCOMPARE(EssentialLabelsOnSheet(report), onSheet);
}

QTEST_APPLESS_MAIN(TestSlipRules)
#include "tst_sliprules.moc"
