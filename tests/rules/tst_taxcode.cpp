#include "rules/TaxCode.h"

#include <QTest>

Q_DECLARE_METATYPE(TaxCodeFault)

class TestTaxCode : public QObject {
    Q_OBJECT
private slots:
    void codesAreCheckedByTheirRule_data();
    void codesAreCheckedByTheirRule();
    void everyWrongCharacterOfAValidCodeIsFound_data();
    void everyWrongCharacterOfAValidCodeIsFound();
    void theWarningNamesTheCodeAndTheExpectedCharacter();
};

void TestTaxCode::codesAreCheckedByTheirRule_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<TaxCodeFault>("fault");
    QTest::addColumn<int>("position");
    QTest::addColumn<char>("expected");
    const auto none = TaxCodeFault::None;
    const auto check = TaxCodeFault::WrongCheckCharacter;
    const auto character = TaxCodeFault::WrongCharacter;
    const auto length = TaxCodeFault::WrongLength;
    QTest::newRow("person") << "RSSMRA80A01H501U" << none << 0 << char(0);
    QTest::newRow("person born in April") << "MRTMTT91D08F205J" << none << 0 << char(0);
    QTest::newRow("person, check wrong") << "RSSMRA80A01H501V" << check << 16 << 'U';
    QTest::newRow("two digits swapped") << "RSSMRA08A01H501U" << check << 16 << 'K';
    // Homonymy: the last digits of the place replaced by L (0), M (1), ... V (9).
    QTest::newRow("homonymy, two letters") << "RSSMRA80A01H5LMX" << none << 0 << char(0);
    QTest::newRow("homonymy, one letter") << "VRDGPP13A01H50LI" << none << 0 << char(0);
    QTest::newRow("homonymy, check of the code before") << "RSSMRA80A01H5LMU" << check << 16 << 'X';
    QTest::newRow("a letter that stands for no digit")
        << "RSSMRA80A01H5A1U" << character << 14 << char(0);
    QTest::newRow("no month letter") << "RSSMRA80F01H501U" << character << 9 << char(0);
    QTest::newRow("a digit in the name") << "RSSMR080A01H501U" << character << 6 << char(0);
    QTest::newRow("lower case") << "rssmra80a01h501u" << character << 1 << char(0);
    QTest::newRow("company") << "00743110157" << none << 0 << char(0);
    QTest::newRow("company, check wrong") << "00743110158" << check << 11 << '7';
    QTest::newRow("company with a letter") << "0074311015A" << character << 11 << char(0);
    QTest::newRow("fifteen characters") << "RSSMRA80A01H501" << length << 0 << char(0);
    QTest::newRow("ten digits") << "0074311015" << length << 0 << char(0);
    QTest::newRow("blank") << " " << length << 0 << char(0);
}

void TestTaxCode::codesAreCheckedByTheirRule() {
    QFETCH(QString, code);
    QFETCH(TaxCodeFault, fault);
    QFETCH(int, position);
    QFETCH(char, expected);
    const TaxCodeCheck result = CheckTaxCode(code.toStdString());
    QCOMPARE(result.fault, fault);
    QCOMPARE(result.position, position);
    QCOMPARE(result.expected, expected);
}

// Any single character changed, in any place, makes the code fail: the check character catches
// what the places' shapes let through.
void TestTaxCode::everyWrongCharacterOfAValidCodeIsFound_data() {
    QTest::addColumn<QString>("code");
    for (const char* valid : {"RSSMRA80A01H501U", "RSSMRA80A01H5LMX", "00743110157"}) {
        const QString code = QString::fromLatin1(valid);
        for (int i = 0; i < code.size(); ++i) {
            QString changed = code;
            changed[i] = code[i] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
            QTest::addRow("%s place %d", valid, i + 1) << changed;
        }
    }
}

void TestTaxCode::everyWrongCharacterOfAValidCodeIsFound() {
    QFETCH(QString, code);
    QVERIFY(CheckTaxCode(code.toStdString()).fault != TaxCodeFault::None);
}

void TestTaxCode::theWarningNamesTheCodeAndTheExpectedCharacter() {
    const std::string code = "RSSMRA80A01H501V";
    const QString message = QString::fromStdString(TaxCodeWarningMessage(code, CheckTaxCode(code)));
    QVERIFY2(message.contains("RSSMRA80A01H501V"), qPrintable(message));
    QVERIFY2(message.contains("dovrebbe essere U"), qPrintable(message));
    QVERIFY2(message.endsWith("Calcolare lo stesso?"), qPrintable(message));
}

QTEST_APPLESS_MAIN(TestTaxCode)
#include "tst_taxcode.moc"
