#include "base/Errors.h"
#include "rules/ResultTexts.h"
#include "rules/SlipDataCheck.h"
#include "rules/TaxComputation.h"
#include "support/DataRows.h"
#include "support/EntryTexts.h"

#include <QStringList>
#include <QTest>

class TestTaxComputation : public QObject {
    Q_OBJECT
private slots:
    void roundsToCents_data();
    void roundsToCents();
    void computesTheResults_data();
    void computesTheResults();
    void convertsEntriesInOrder_data();
    void convertsEntriesInOrder();
    void checksShareAndMonths_data();
    void checksShareAndMonths();
    void zeroOrNegativeTotal_data();
    void zeroOrNegativeTotal();
    void writesTheStatusLine();
    void roundsCentsToEven_data();
    void roundsCentsToEven();
    void tooLargeATotalFailsWhole();
    void checksSlipData_data();
    void checksSlipData();
};

namespace {

const char* const StartOther = "00;0;00,00;100;12";
const char* const StartMain = "00,00;0;00,00;00,00;100;12";

// "R1;V1;A1;D1;P1;M1" and "R2;V2;A2;P2;M2" as the user types them.
TaxEntryTexts entryTexts(const QString& main, const QString& other) {
    TaxEntryTexts t;
    ColumnEntries<std::string>& mainTexts = t.mainResidence;
    ColumnEntries<std::string>& otherTexts = t.otherBuildings;
    std::string* fields[] = {&mainTexts.income,           &mainTexts.revaluationPercent,
                             &mainTexts.ratePerThousand,  &t.deduction,
                             &mainTexts.sharePercent,     &mainTexts.months,
                             &otherTexts.income,          &otherTexts.revaluationPercent,
                             &otherTexts.ratePerThousand, &otherTexts.sharePercent,
                             &otherTexts.months};
    const EntryTexts entries = ColumnEntryTexts(main, other);
    for (qsizetype i = 0; i < entries.size(); ++i)
        *fields[i] = entries[i].text.toStdString();
    return t;
}

Instalment instalmentOf(const QString& main, const QString& other) {
    return ComputeInstalment(ConvertEntries(entryTexts(main, other)));
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

void TestTaxComputation::roundsToCents_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("rounded");
    AddRow("half cent up", 79.605, 2, 79.61);
    AddRow("below half", 45.2225, 2, 45.22);
    AddRow("whole", 367.5, 2, 367.5);
    AddRow("negative -31.60", -31.6, 2, -31.59);
    AddRow("negative -100", -100.0, 2, -99.99);
    AddRow("negative on a half", -0.125, 2, -0.12);
    AddRow("below half a cent", 0.004, 2, 0.0);
    AddRow("one decimal", 2.25, 1, 2.3);
    AddRow("no decimals", 2.5, 0, 3.0);
    AddRow("negative decimals as none", 2.4, -3, 2.0);
    AddRow("three decimals", 1.0015, 3, 1.002);
}

void TestTaxComputation::roundsToCents() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, rounded);
    QCOMPARE(RoundDecimals(value, decimals), rounded);
}

void TestTaxComputation::computesTheResults_data() {
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("tot1");
    QTest::addColumn<QString>("tot2");
    QTest::addColumn<QString>("labIciTot");
    QTest::addColumn<QString>("labIci");
    QTest::addColumn<QString>("labCent");
    QTest::addColumn<QString>("labLett");
    QTest::addColumn<QString>("yearly");
    auto row = [](const char* name, const char* main, const char* other,
                  const QStringList& results) {
        AddRow(name, main, other, results[0], results[1], results[2], results[3], results[4],
               results[5], results[6]);
    };
    row("deduction 200", "500;5;5;200;100;12", StartOther,
        {"31,25", "0", "31,25", "31", "25", "#TRENTUNO/25", "62,5"});
    row("share and months", "1234,56;5;6;0;50;7", StartOther,
        {"113,43", "0", "113,43", "113", "43", "#CENTOTREDICI/43", "226,86"});
    row("half cent", "500;5;5;103,29;100;12", StartOther,
        {"79,61", "0", "79,61", "79", "61", "#SETTANTANOVE/61", "159,22"});
    row("both columns", "500;5;5;0;100;12", "500;5;5;100;12",
        {"131,25", "131,25", "262,5", "262", "50", "#DUECENTOSESSANTADUE/50", "525"});
    row("two columns with deduction", "750;5;5;103,29;100;12", "1000;5;7;100;12",
        {"145,23", "367,5", "512,73", "512", "73", "#CINQUECENTODODICI/73", "1025,46"});
    row("total from unrounded columns", "820;5;4,5;103,29;50;12", "380;5;7;100;6",
        {"45,22", "69,83", "115,04", "115", "04", "#CENTOQUINDICI/04", "230,08"});
    row("share above 100 elsewhere", "1000;5;7;0;100;12", "1000;5;7;150;12",
        {"367,5", "551,25", "918,75", "918", "75", "#NOVECENTODICIOTTO/75", "1837,5"});
    row("all start texts", StartMain, StartOther, {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    // The deduction covers at most the main residence's own tax.
    row("rate of zero", "500;5;0;200;100;12", StartOther,
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("deduction above the tax", "100;0;4;103,2;100;12", StartOther,
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("unused deduction stays off the other buildings", "150;5;5;103,29;100;12",
        "1000;5;7;100;12",
        {"0", "367,5", "367,5", "367", "50", "#TRECENTOSESSANTASETTE/50", "735"});
    row("below half a cent", "0,01;0;0,8;00,00;100;12", StartOther,
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("lone comma is zero", ",;0;00,00;00,00;100;12", StartOther,
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("single-digit cents", "100;0;1;0;100;12", "1,2;0;1;100;12",
        {"5", "0,06", "5,06", "5", "06", "#CINQUE/06", "10,12"});
}

void TestTaxComputation::computesTheResults() {
    QFETCH(QString, main);
    QFETCH(QString, other);
    const ResultTexts r = ComputeResultTexts(instalmentOf(main, other));
    QTEST(q(r.mainResidence), "tot1");
    QTEST(q(r.otherBuildings), "tot2");
    QTEST(q(r.total), "labIciTot");
    QTEST(q(r.totalEuros), "labIci");
    QTEST(q(r.totalCents), "labCent");
    QTEST(q(r.totalInWords), "labLett");
    QFETCH(QString, yearly);
    QCOMPARE(q(r.statusLine), StatusLineOf(yearly, q(r.total)));
}

void TestTaxComputation::convertsEntriesInOrder_data() {
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("failingText");
    // Several bad texts: the error names the first in conversion order.
    AddRow("REND1 before all", "x;y;z;w;v;u", "a;b;c;d;e", "x");
    AddRow("ALIQ1 before DETR1", "1;y;z;w;v;u", "a;b;c;d;e", "z");
    AddRow("RIVAL1 after MESI1", "1;y;1;1;1;u", "a;b;c;d;e", "u");
    AddRow("RIVAL1 before Edit1", "1;y;1;1;1;1", "a;b;c;d;e", "y");
    AddRow("Edit6 last", "1;1;1;1;1;1", "1;1;1;1;", "");
    AddRow("two commas", "1,,2;0;0;0;100;12", StartOther, "1,,2");
}

void TestTaxComputation::convertsEntriesInOrder() {
    QFETCH(QString, main);
    QFETCH(QString, other);
    QFETCH(QString, failingText);
    try {
        ConvertEntries(entryTexts(main, other));
        QFAIL("no conversion error");
    } catch (const EConvertError& e) {
        QCOMPARE(q(e.what()), "'" + failingText + "' is not a valid floating point value");
    }
}

void TestTaxComputation::checksShareAndMonths_data() {
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("months");
    QTest::addColumn<int>("fault");
    AddRow("100 and 12 pass", "100", "12", int(RangeFault::None));
    AddRow("0 percent passes", "0", "1", int(RangeFault::None));
    AddRow("101 percent", "101", "12", int(RangeFault::Percentage));
    AddRow("100,99 percent passes", "100,99", "12", int(RangeFault::None));
    AddRow("share checked first", "101", "13", int(RangeFault::Percentage));
    AddRow("13 months", "100", "13", int(RangeFault::Months));
    AddRow("0 months", "100", "0", int(RangeFault::Months));
    AddRow("12,99 months pass", "100", "12,99", int(RangeFault::None));
    AddRow("0,99 months", "100", "0,99", int(RangeFault::Months));
}

void TestTaxComputation::checksShareAndMonths() {
    QFETCH(QString, share);
    QFETCH(QString, months);
    QFETCH(int, fault);
    const TaxEntries e =
        ConvertEntries(entryTexts("500;5;5;0;" + share + ";" + months, StartOther));
    QCOMPARE(int(CheckRanges(e)), fault);
}

void TestTaxComputation::zeroOrNegativeTotal_data() {
    QTest::addColumn<QString>("main");
    QTest::addColumn<bool>("warned");
    AddRow("start texts", StartMain, true);
    AddRow("deduction above the tax", "100;0;4;103,2;100;12", true);
    AddRow("below half a cent passes", "0,01;0;0,8;00,00;100;12", false);
    AddRow("positive", "500;5;5;200;100;12", false);
}

void TestTaxComputation::zeroOrNegativeTotal() {
    QFETCH(QString, main);
    QFETCH(bool, warned);
    QCOMPARE(IsZeroOrNegative(instalmentOf(main, StartOther)), warned);
}

void TestTaxComputation::writesTheStatusLine() {
    QCOMPARE(q(StatusLineText("113,43")),
             " L'ICI da pagare è € 226,86 cioè DUE rate da € 113,43-- Scadenza 30/6  - 20/12 --");
}

void TestTaxComputation::roundsCentsToEven_data() {
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("cents");
    AddRow("tie down to even", "0,125", "12");
    AddRow("tie up to even", "0,375", "38");
    AddRow("negative tie", "-1,125", "-12");
    AddRow("whole", "5", "00");
    AddRow("one digit padded", "0,05", "05");
    AddRow("negative one digit not padded", "-0,05", "-5");
    AddRow("two digits", "262,5", "50");
}

void TestTaxComputation::roundsCentsToEven() {
    QFETCH(QString, total);
    QFETCH(QString, cents);
    QCOMPARE(q(CentsText(total.toStdString())), cents);
}

void TestTaxComputation::tooLargeATotalFailsWhole() {
    // Absurd entries: a total beyond the currency range cannot be spelled.
    const Instalment huge = instalmentOf("99999999;999;99999;0;100;12", "1E300;1E300;1;100;12");
    QVERIFY_THROWS_EXCEPTION(EConvertError, ComputeResultTexts(huge));
    const Instalment infinite = instalmentOf("1E4000;1E4000;1;0;100;12", StartOther);
    QVERIFY_THROWS_EXCEPTION(EConvertError, ComputeResultTexts(infinite));
}

void TestTaxComputation::checksSlipData_data() {
    QTest::addColumn<QStringList>(
        "texts"); // ccnr, intest1, intest2, nome, comun, codfisc, num, anno
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    const QString empty = "\rnon può essere lasciato vuoto!";
    const QStringList full = {"12345678", " ", "COMUNE", "ROSSI", "ROMA", "RSSMRA", "1", "26"};
    auto without = [&](int i, const QString& text = "") {
        QStringList t = full;
        t[i] = text;
        return t;
    };
    using F = SlipDataField;
    AddRow("all filled", full, int(F::None), "");
    AddRow("account", without(0), int(F::AccountNumber), "ERRORE!! Il campo ContoCorrente" + empty);
    AddRow("holder 1", without(1), int(F::HolderLine1), "ERRORE!! Il campo Intestato a" + empty);
    AddRow("holder 2", without(2), int(F::HolderLine2), "ERRORE!! Il campo Intestato a" + empty);
    AddRow("payer", without(3), int(F::Payer), "ERRORE!! Il campo Nome Cognome ecc." + empty);
    AddRow("municipality", without(4), int(F::Municipality),
           "ERRORE!! Il campo Comune ubicazione ecc." + empty);
    AddRow("tax code", without(5), int(F::TaxCode), "ERRORE!! Il campo Codice fiscale" + empty);
    AddRow("buildings", without(6), int(F::BuildingCount),
           "ERRORE!! Il campo Numero Fabbricati" + empty);
    const QString badNumber =
        "ERRORE!! Nel campo Numero Fabbricati\ril numero dei fabbricati non è corretto !";
    AddRow("buildings 0", without(6, "0"), int(F::BuildingCount), badNumber);
    AddRow("buildings 00", without(6, "00"), int(F::BuildingCount), badNumber);
    AddRow("buildings 01", without(6, "01"), int(F::None), "");
    AddRow("buildings space 0", without(6, " 0"), int(F::None), "");
    AddRow("year", without(7), int(F::TaxYear), "ERRORE!! Il campo Anno Imposta" + empty);
    AddRow("spaces count as filled", without(0, "  "), int(F::None), "");
    AddRow("first failure only", QStringList{"", " ", "A", "B", "C", "D", "1", ""},
           int(F::AccountNumber), "ERRORE!! Il campo ContoCorrente" + empty);
}

void TestTaxComputation::checksSlipData() {
    QFETCH(QStringList, texts);
    QFETCH(int, field);
    QFETCH(QString, message);
    SlipDataTexts t;
    std::string* fields[] = {&t.accountNumber, &t.holderLine1, &t.holderLine2,   &t.payer,
                             &t.municipality,  &t.taxCode,     &t.buildingCount, &t.taxYear};
    for (int i = 0; i < 8; ++i)
        *fields[i] = texts[i].toStdString();
    const SlipDataFault fault = FirstSlipDataFault(t);
    QCOMPARE(int(fault.field), field);
    QCOMPARE(q(fault.message), message);
}

QTEST_APPLESS_MAIN(TestTaxComputation)
#include "tst_taxcomputation.moc"
