#include "base/Errors.h"
#include "base/NumText.h"
#include "support/SkipInCi.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestNumText : public QObject {
    Q_OBJECT
private slots:
    void acceptsNumberTexts_data();
    void acceptsNumberTexts();
    void rejectsOtherTexts_data();
    void rejectsOtherTexts();
    void conversionErrorNamesTheText();
    void readsToTheNearestExtended();
    void writesGeneralFormat_data();
    void writesGeneralFormat();
    void nonFiniteTextsDoNotConvertBack();
    void ignoresTheRegionalSeparator();
    void convertsIntegers_data();
    void convertsIntegers();
    void convertsCurrency_data();
    void convertsCurrency();
    void survivesHugeTexts();
};

void TestNumText::acceptsNumberTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("start text") << "00,00" << 0.0;
    QTest::newRow("integer") << "500" << 500.0;
    QTest::newRow("decimals") << "1234,56" << 1234.56;
    QTest::newRow("lone comma") << "," << 0.0;
    QTest::newRow("signed lone comma") << "-," << 0.0;
    QTest::newRow("leading comma") << ",5" << 0.5;
    QTest::newRow("trailing comma") << "5," << 5.0;
    QTest::newRow("spaces around") << "  12,5   " << 12.5;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("minus") << "-7,25" << -7.25;
    QTest::newRow("exponent") << "1,5E3" << 1500.0;
    QTest::newRow("lower-case exponent") << "2e-2" << 0.02;
    QTest::newRow("signed exponent") << "3E+2" << 300.0;
    QTest::newRow("comma then exponent") << ",E5" << 0.0;
    QTest::newRow("underflow keeps the nearest") << "1E-99999" << 0.0;
}

void TestNumText::acceptsNumberTexts() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(double(StrToFloat(text.toStdString())), value);
}

void TestNumText::rejectsOtherTexts_data() {
    QTest::addColumn<QString>("text");
    for (const char* text :
         {"",      " ",     "   ", "+",   "-",    "1,,2", "1.5", "1.000,5", "12a",
          "a12",   "1 2",   "- 1", "1E",  "1E+",  "E5",   "--1", "+-1",     ",,",
          "1,2,3", "1e5e5", "\t1", "1\t", "0x10", "INF",  "NAN", "1E99999", "-1E5000"})
        QTest::newRow(text[0] ? text : "(empty)") << QString::fromLatin1(text);
}

void TestNumText::rejectsOtherTexts() {
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(text.toStdString()));
}

void TestNumText::conversionErrorNamesTheText() {
    try {
        StrToFloat("1,,2");
        QFAIL("no error");
    } catch (const EConvertError& e) {
        QCOMPARE(QString::fromStdString(e.what()), "'1,,2' is not a valid floating point value");
    }
    try {
        StrToInt("x");
        QFAIL("no error");
    } catch (const EConvertError& e) {
        QCOMPARE(QString::fromStdString(e.what()), "'x' is not a valid integer value");
    }
}

void TestNumText::readsToTheNearestExtended() {
    // A port that parses to double would lose these bits.
    QVERIFY(StrToFloat("0,1") == 0.1L);
    QVERIFY(StrToFloat("0,1") != static_cast<long double>(0.1));
    QVERIFY(StrToFloat("103,29") == 103.29L);
    QVERIFY(StrToFloat("4,5") == 4.5L);
    QVERIFY(StrToFloat("1E4000") == 1E4000L);
}

void TestNumText::writesGeneralFormat_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("131,25") << 131.25 << "131,25";
    QTest::newRow("trailing zero dropped") << 262.50 << "262,5";
    QTest::newRow("bare separator dropped") << 525.00 << "525";
    QTest::newRow("negative") << -31.59 << "-31,59";
    QTest::newRow("one cent") << 0.01 << "0,01";
    QTest::newRow("smallest fixed") << 0.0001 << "0,0001";
    QTest::newRow("below 0.0001") << 0.00001 << "1E-5";
    QTest::newRow("exponent with digits") << 0.000025 << "2,5E-5";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("10^15") << 1e15 << "1E15";
    QTest::newRow("1,5E15") << 1.5e15 << "1,5E15";
    QTest::newRow("negative exponent form") << -2.5e20 << "-2,5E20";
    QTest::newRow("fifteen digits") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("rounded up to the next power") << 9999999999999999.0 << "1E16";
    QTest::newRow("double noise hidden") << 0.1 + 0.2 << "0,3";
    QTest::newRow("large") << 1e300 << "1E300";
}

void TestNumText::writesGeneralFormat() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(FloatToStr(value)), text);
}

void TestNumText::nonFiniteTextsDoNotConvertBack() {
    const long double inf = std::numeric_limits<long double>::infinity();
    QCOMPARE(FloatToStr(inf), std::string("INF"));
    QCOMPARE(FloatToStr(-inf), std::string("-INF"));
    QCOMPARE(FloatToStr(std::numeric_limits<long double>::quiet_NaN()), std::string("NAN"));
    for (const char* text : {"INF", "-INF", "NAN"})
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(text));
}

void TestNumText::ignoresTheRegionalSeparator() {
    // The windowing toolkit installs the user's locale; a comma locale must change nothing.
    const char* old = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (!setlocale(LC_NUMERIC, "it_IT.UTF-8") && !setlocale(LC_NUMERIC, "de_DE.UTF-8") &&
        !setlocale(LC_NUMERIC, "Italian_Italy.1252"))
        SKIP_OR_FAIL_IN_CI("no locale with a decimal comma is installed");
    const bool sameValue = StrToFloat("12,5") == 12.5L;
    const std::string text = FloatToStr(12.5L);
    setlocale(LC_NUMERIC, saved.c_str());
    QVERIFY(sameValue);
    QCOMPARE(text, std::string("12,5"));
}

void TestNumText::convertsIntegers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("26") << "26" << true << 26;
    QTest::newRow("leading spaces") << "  4" << true << 4;
    QTest::newRow("negative") << "-2" << true << -2;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("far too large") << "99999999999999999999999" << false << 0;
    QTest::newRow("default value") << "default value" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("decimals") << "2,5" << false << 0;
    QTest::newRow("trailing space") << "2 " << false << 0;
    QTest::newRow("lone sign") << "-" << false << 0;
}

void TestNumText::convertsIntegers() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid)
        QCOMPARE(StrToInt(text.toStdString()), value);
    else
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt(text.toStdString()));
}

void TestNumText::convertsCurrency_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qlonglong>("value");
    QTest::newRow("cents") << "113,43" << true << 1134300LL;
    QTest::newRow("negative") << "-99,99" << true << -999900LL;
    QTest::newRow("rounded down") << "0,00004" << true << 0LL;
    QTest::newRow("rounded up") << "0,00006" << true << 1LL;
    QTest::newRow("largest euros") << "922337203685477" << true << 9223372036854770000LL;
    QTest::newRow("exponent form") << "1,5E14" << true << 1500000000000000000LL;
    QTest::newRow("beyond 64 bits") << "1E15" << false << 0LL;
    QTest::newRow("bad text") << "1,,2" << false << 0LL;
}

void TestNumText::convertsCurrency() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qlonglong, value);
    if (valid)
        QCOMPARE(qlonglong(StrToCurr(text.toStdString())), value);
    else
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToCurr(text.toStdString()));
}

void TestNumText::survivesHugeTexts() {
    const std::string digits(1 << 20, '9');
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(digits)); // beyond the extended range
    QCOMPARE(StrToFloat("0," + digits), 1.0L);
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(digits + "x"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt(digits));
    QCOMPARE(StrToFloat(std::string(100000, ' ') + "1" + std::string(100000, ' ')), 1.0L);
}

QUOTARIO_SKIPPABLE_TEST_MAIN(NoApplication, TestNumText)
#include "tst_numtext.moc"
