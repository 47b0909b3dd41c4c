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

// The entries as the user types them.
TaxEntryTexts TaxEntryTextsOf(const MainColumnTexts& main, const OtherColumnTexts& other) {
    const auto text = [](const QString& typed) { return typed.toStdString(); };
    return {.mainResidence = {text(main.income), text(main.revaluation), text(main.rate),
                              text(main.share), text(main.months)},
            .deduction = text(main.deduction),
            .otherBuildings = {text(other.income), text(other.revaluation), text(other.rate),
                               text(other.share), text(other.months)}};
}

Instalment InstalmentOf(const MainColumnTexts& main, const OtherColumnTexts& other = {}) {
    return ComputeInstalment(ConvertEntries(TaxEntryTextsOf(main, other)));
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

Q_DECLARE_METATYPE(SlipDataTexts)

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
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<OtherColumnTexts>("other");
    QTest::addColumn<QString>("tot1");
    QTest::addColumn<QString>("tot2");
    QTest::addColumn<QString>("labIciTot");
    QTest::addColumn<QString>("labIci");
    QTest::addColumn<QString>("labCent");
    QTest::addColumn<QString>("labLett");
    QTest::addColumn<QString>("yearly");
    auto row = [](const char* name, const MainColumnTexts& main, const OtherColumnTexts& other,
                  const QStringList& results) {
        AddRow(name, main, other, results[0], results[1], results[2], results[3], results[4],
               results[5], results[6]);
    };
    row("deduction 200", {.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"}, {},
        {"31,25", "0", "31,25", "31", "25", "#TRENTUNO/25", "62,5"});
    row("share and months",
        {.income = "1234,56",
         .revaluation = "5",
         .rate = "6",
         .deduction = "0",
         .share = "50",
         .months = "7"},
        {}, {"113,43", "0", "113,43", "113", "43", "#CENTOTREDICI/43", "226,86"});
    row("half cent", {.income = "500", .revaluation = "5", .rate = "5", .deduction = "103,29"}, {},
        {"79,61", "0", "79,61", "79", "61", "#SETTANTANOVE/61", "159,22"});
    row("both columns", {.income = "500", .revaluation = "5", .rate = "5", .deduction = "0"},
        {.income = "500", .revaluation = "5", .rate = "5"},
        {"131,25", "131,25", "262,5", "262", "50", "#DUECENTOSESSANTADUE/50", "525"});
    row("two columns with deduction",
        {.income = "750", .revaluation = "5", .rate = "5", .deduction = "103,29"},
        {.income = "1000", .revaluation = "5", .rate = "7"},
        {"145,23", "367,5", "512,73", "512", "73", "#CINQUECENTODODICI/73", "1025,46"});
    row("total from unrounded columns",
        {.income = "820", .revaluation = "5", .rate = "4,5", .deduction = "103,29", .share = "50"},
        {.income = "380", .revaluation = "5", .rate = "7", .months = "6"},
        {"45,22", "69,83", "115,04", "115", "04", "#CENTOQUINDICI/04", "230,08"});
    row("share above 100 elsewhere",
        {.income = "1000", .revaluation = "5", .rate = "7", .deduction = "0"},
        {.income = "1000", .revaluation = "5", .rate = "7", .share = "150"},
        {"367,5", "551,25", "918,75", "918", "75", "#NOVECENTODICIOTTO/75", "1837,5"});
    row("all start texts", {}, {}, {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    // The deduction covers at most the main residence's own tax.
    row("rate of zero", {.income = "500", .revaluation = "5", .rate = "0", .deduction = "200"}, {},
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("deduction above the tax", {.income = "100", .rate = "4", .deduction = "103,2"}, {},
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("unused deduction stays off the other buildings",
        {.income = "150", .revaluation = "5", .rate = "5", .deduction = "103,29"},
        {.income = "1000", .revaluation = "5", .rate = "7"},
        {"0", "367,5", "367,5", "367", "50", "#TRECENTOSESSANTASETTE/50", "735"});
    row("below half a cent", {.income = "0,01", .rate = "0,8"}, {},
        {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("lone comma is zero", {.income = ","}, {}, {"0", "0", "0", "0", "00", "#ZERO/00", "0"});
    row("single-digit cents", {.income = "100", .rate = "1", .deduction = "0"},
        {.income = "1,2", .rate = "1"}, {"5", "0,06", "5,06", "5", "06", "#CINQUE/06", "10,12"});
}

void TestTaxComputation::computesTheResults() {
    QFETCH(MainColumnTexts, main);
    QFETCH(OtherColumnTexts, other);
    const ResultTexts results = ComputeResultTexts(InstalmentOf(main, other));
    QTEST(ToQString(results.mainResidence), "tot1");
    QTEST(ToQString(results.otherBuildings), "tot2");
    QTEST(ToQString(results.total), "labIciTot");
    QTEST(ToQString(results.totalEuros), "labIci");
    QTEST(ToQString(results.totalCents), "labCent");
    QTEST(ToQString(results.totalInWords), "labLett");
    QFETCH(QString, yearly);
    QCOMPARE(ToQString(results.statusLine), StatusLineOf(yearly, ToQString(results.total)));
}

void TestTaxComputation::convertsEntriesInOrder_data() {
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<OtherColumnTexts>("other");
    QTest::addColumn<QString>("failingText");
    // Several bad texts: the error names the first in conversion order.
    const OtherColumnTexts letters = {
        .income = "a", .revaluation = "b", .rate = "c", .share = "d", .months = "e"};
    auto row = [](const char* name, const MainColumnTexts& main, const OtherColumnTexts& other,
                  const char* failingText) { AddRow(name, main, other, failingText); };
    row("REND1 before all",
        {.income = "x",
         .revaluation = "y",
         .rate = "z",
         .deduction = "w",
         .share = "v",
         .months = "u"},
        letters, "x");
    row("ALIQ1 before DETR1",
        {.income = "1",
         .revaluation = "y",
         .rate = "z",
         .deduction = "w",
         .share = "v",
         .months = "u"},
        letters, "z");
    row("RIVAL1 after MESI1",
        {.income = "1",
         .revaluation = "y",
         .rate = "1",
         .deduction = "1",
         .share = "1",
         .months = "u"},
        letters, "u");
    row("RIVAL1 before Edit1",
        {.income = "1",
         .revaluation = "y",
         .rate = "1",
         .deduction = "1",
         .share = "1",
         .months = "1"},
        letters, "y");
    row("Edit6 last",
        {.income = "1",
         .revaluation = "1",
         .rate = "1",
         .deduction = "1",
         .share = "1",
         .months = "1"},
        {.income = "1", .revaluation = "1", .rate = "1", .share = "1", .months = ""}, "");
    row("two commas", {.income = "1,,2", .rate = "0", .deduction = "0"}, {}, "1,,2");
}

void TestTaxComputation::convertsEntriesInOrder() {
    QFETCH(MainColumnTexts, main);
    QFETCH(OtherColumnTexts, other);
    QFETCH(QString, failingText);
    try {
        ConvertEntries(TaxEntryTextsOf(main, other));
        QFAIL("no conversion error");
    } catch (const EConvertError& error) {
        QCOMPARE(ToQString(error.what()),
                 "'" + failingText + "' is not a valid floating point value");
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
    const TaxEntries entries = ConvertEntries(TaxEntryTextsOf({.income = "500",
                                                               .revaluation = "5",
                                                               .rate = "5",
                                                               .deduction = "0",
                                                               .share = share,
                                                               .months = months},
                                                              {}));
    QCOMPARE(int(CheckRanges(entries)), fault);
}

void TestTaxComputation::zeroOrNegativeTotal_data() {
    QTest::addColumn<MainColumnTexts>("main");
    QTest::addColumn<bool>("warned");
    AddRow("start texts", MainColumnTexts{}, true);
    AddRow("deduction above the tax",
           MainColumnTexts{.income = "100", .rate = "4", .deduction = "103,2"}, true);
    AddRow("below half a cent passes", MainColumnTexts{.income = "0,01", .rate = "0,8"}, false);
    AddRow("positive",
           MainColumnTexts{.income = "500", .revaluation = "5", .rate = "5", .deduction = "200"},
           false);
}

void TestTaxComputation::zeroOrNegativeTotal() {
    QFETCH(MainColumnTexts, main);
    QFETCH(bool, warned);
    QCOMPARE(IsZeroOrNegative(InstalmentOf(main)), warned);
}

void TestTaxComputation::writesTheStatusLine() {
    QCOMPARE(ToQString(StatusLineText("113,43")),
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
    QCOMPARE(ToQString(CentsText(total.toStdString())), cents);
}

void TestTaxComputation::tooLargeATotalFailsWhole() {
    // Absurd entries: a total beyond the currency range cannot be spelled.
    const Instalment huge = InstalmentOf(
        {.income = "99999999", .revaluation = "999", .rate = "99999", .deduction = "0"},
        {.income = "1E300", .revaluation = "1E300", .rate = "1"});
    QVERIFY_THROWS_EXCEPTION(EConvertError, ComputeResultTexts(huge));
    const Instalment infinite =
        InstalmentOf({.income = "1E4000", .revaluation = "1E4000", .rate = "1", .deduction = "0"});
    QVERIFY_THROWS_EXCEPTION(EConvertError, ComputeResultTexts(infinite));
}

void TestTaxComputation::checksSlipData_data() {
    QTest::addColumn<SlipDataTexts>("texts");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("message");
    const QString empty = "\rnon può essere lasciato vuoto!";
    using S = SlipDataTexts;
    const S full = {.accountNumber = "12345678",
                    .holderLine1 = " ",
                    .holderLine2 = "COMUNE",
                    .payer = "ROSSI",
                    .municipality = "ROMA",
                    .taxCode = "RSSMRA",
                    .buildingCount = "1",
                    .taxYear = "26"};
    auto without = [&](std::string S::*field, const std::string& text = "") {
        S texts = full;
        texts.*field = text;
        return texts;
    };
    using F = SlipDataField;
    AddRow("all filled", full, int(F::None), "");
    AddRow("account", without(&S::accountNumber), int(F::AccountNumber),
           "ERRORE!! Il campo ContoCorrente" + empty);
    AddRow("holder 1", without(&S::holderLine1), int(F::HolderLine1),
           "ERRORE!! Il campo Intestato a" + empty);
    AddRow("holder 2", without(&S::holderLine2), int(F::HolderLine2),
           "ERRORE!! Il campo Intestato a" + empty);
    AddRow("payer", without(&S::payer), int(F::Payer),
           "ERRORE!! Il campo Nome Cognome ecc." + empty);
    AddRow("municipality", without(&S::municipality), int(F::Municipality),
           "ERRORE!! Il campo Comune ubicazione ecc." + empty);
    AddRow("tax code", without(&S::taxCode), int(F::TaxCode),
           "ERRORE!! Il campo Codice fiscale" + empty);
    AddRow("buildings", without(&S::buildingCount), int(F::BuildingCount),
           "ERRORE!! Il campo Numero Fabbricati" + empty);
    const QString badNumber =
        "ERRORE!! Nel campo Numero Fabbricati\ril numero dei fabbricati non è corretto !";
    AddRow("buildings 0", without(&S::buildingCount, "0"), int(F::BuildingCount), badNumber);
    AddRow("buildings 00", without(&S::buildingCount, "00"), int(F::BuildingCount), badNumber);
    AddRow("buildings 01", without(&S::buildingCount, "01"), int(F::None), "");
    AddRow("buildings space 0", without(&S::buildingCount, " 0"), int(F::None), "");
    AddRow("year", without(&S::taxYear), int(F::TaxYear), "ERRORE!! Il campo Anno Imposta" + empty);
    AddRow("spaces count as filled", without(&S::accountNumber, "  "), int(F::None), "");
    AddRow("first failure only",
           S{.accountNumber = "",
             .holderLine1 = " ",
             .holderLine2 = "A",
             .payer = "B",
             .municipality = "C",
             .taxCode = "D",
             .buildingCount = "1",
             .taxYear = ""},
           int(F::AccountNumber), "ERRORE!! Il campo ContoCorrente" + empty);
}

void TestTaxComputation::checksSlipData() {
    QFETCH(SlipDataTexts, texts);
    QFETCH(int, field);
    QFETCH(QString, message);
    const SlipDataFault fault = FirstSlipDataFault(texts);
    QCOMPARE(int(fault.field), field);
    QCOMPARE(ToQString(fault.message), message);
}

QTEST_APPLESS_MAIN(TestTaxComputation)
#include "tst_taxcomputation.moc"
