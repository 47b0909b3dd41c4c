#include "rules/AmountInWords.h"

#include <QTest>

#include <limits>

class TestAmountInWords : public QObject {
    Q_OBJECT
private slots:
    void spellsAmounts_data();
    void spellsAmounts();
    void groupsAreLowerCaseWithoutSpaces_data();
    void groupsAreLowerCaseWithoutSpaces();
    void everyAmountKeepsTheSlipForm();
    void aGroupBeyondThreeDigitsIsRefused_data();
    void aGroupBeyondThreeDigitsIsRefused();
};

namespace {
Currency euros(long long whole, int cents = 0) {
    return whole * CurrencyScale + cents * 100;
}
} // namespace

void TestAmountInWords::spellsAmounts_data() {
    QTest::addColumn<qlonglong>("amount");
    QTest::addColumn<QString>("words");
    const struct {
        Currency amount;
        const char* words;
    } rows[] = {
        {euros(0), "#ZERO/"},
        {euros(0, 99), "#ZERO/"},
        {euros(1), "#UNO/"},
        {euros(8), "#OTTO/"},
        {euros(10), "#DIECI/"},
        {euros(16), "#SEDICI/"},
        {euros(17), "#DICIASSETTE/"},
        {euros(21), "#VENTUNO/"},
        {euros(28), "#VENTIOTTO/"},
        {euros(33), "#TRENTATRE/"},
        {euros(80), "#OTTANTA/"},
        {euros(99), "#NOVANTANOVE/"},
        {euros(100), "#CENTO/"},
        {euros(101), "#CENTOUNO/"},
        {euros(108), "#CENTOOTTO/"},
        {euros(111), "#CENTOUNDICI/"},
        {euros(180), "#CENTOOTTANTA/"},
        {euros(999), "#NOVECENTONOVANTANOVE/"},
        {euros(1000), "#MILLE/"},
        {euros(1001), "#MILLEUNO/"},
        {euros(1021), "#MILLEVENTUNO/"},
        {euros(1100), "#MILLECENTO/"},
        {euros(2000), "#DUEMILA/"},
        {euros(2021), "#DUEMILAVENTUNO/"},
        {euros(21000), "#VENTUNOMILA/"},
        {euros(28000), "#VENTIOTTOMILA/"},
        {euros(101000), "#CENTOUNOMILA/"},
        {euros(121345), "#CENTOVENTUNOMILATRECENTOQUARANTACINQUE/"},
        {euros(1000000), "#UNMILIONE/"},
        {euros(1000001), "#UNMILIONEUNO/"},
        {euros(1001000), "#UNMILIONEMILLE/"},
        {euros(2000000), "#DUEMILIONI/"},
        {euros(2000500), "#DUEMILIONICINQUECENTO/"},
        {euros(2500000), "#DUEMILIONICINQUECENTOMILA/"},
        {euros(21000000), "#VENTUNOMILIONI/"},
        {euros(1000000000), "#UNMILIARDO/"},
        {euros(2000000000), "#DUEMILIARDI/"},
        {euros(999999999999),
         "#NOVECENTONOVANTANOVEMILIARDINOVECENTONOVANTANOVEMILIONINOVECENTONOVANTANOVEMILANOVECENTO"
         "NOVANTANOVE/"},
        {-euros(12, 50), "#DODICI/"},
        {euros(123, 45), "#CENTOVENTITRE/"},
        {euros(12, 99), "#DODICI/"},
        // From 10^12 on the count of milliards is spelled with thousands and millions.
        {euros(1000000000000), "#MILLEMILIARDI/"},
        {euros(1001000000001), "#MILLEUNOMILIARDIUNO/"},
        {euros(2500000000000), "#DUEMILACINQUECENTOMILIARDI/"},
        {euros(100000000000000), "#CENTOMILAMILIARDI/"},
        {std::numeric_limits<Currency>::max(),
         "#NOVECENTOVENTIDUEMILATRECENTOTRENTASETTEMILIARDIDUECENTOTREMILIONISEICENTOOTTANTACINQUE"
         "MILAQUATTROCENTOSETTANTASETTE/"},
        {std::numeric_limits<Currency>::min(),
         "#NOVECENTOVENTIDUEMILATRECENTOTRENTASETTEMILIARDIDUECENTOTREMILIONISEICENTOOTTANTACINQUE"
         "MILAQUATTROCENTOSETTANTASETTE/"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.words) << qlonglong(row.amount) << QString::fromLatin1(row.words);
}

void TestAmountInWords::spellsAmounts() {
    QFETCH(qlonglong, amount);
    QFETCH(QString, words);
    QCOMPARE(QString::fromStdString(AmountInWords(amount)), words);
}

void TestAmountInWords::groupsAreLowerCaseWithoutSpaces_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("words");
    QTest::newRow("0") << 0 << "";
    QTest::newRow("10") << 10 << "dieci";
    QTest::newRow("19") << 19 << "diciannove";
    QTest::newRow("23") << 23 << "ventitre";
    QTest::newRow("38") << 38 << "trentaotto";
    QTest::newRow("91") << 91 << "novantuno";
    QTest::newRow("200") << 200 << "duecento";
    QTest::newRow("711") << 711 << "settecentoundici";
    QTest::newRow("981") << 981 << "novecentoottantuno";
}

void TestAmountInWords::groupsAreLowerCaseWithoutSpaces() {
    QFETCH(int, group);
    QFETCH(QString, words);
    QCOMPARE(QString::fromStdString(GroupInWords(group)), words);
}

void TestAmountInWords::everyAmountKeepsTheSlipForm() {
    // Every group value at every power: "#", upper-case letters only, "/". The top power goes
    // only as far as a currency amount does (922 337 milliards).
    const long long mostEuros = std::numeric_limits<Currency>::max() / CurrencyScale;
    for (long long unit : {1LL, 1000LL, 1000000LL, 1000000000LL, 1000000000000LL}) {
        for (long long g = 0; g < 1000 && g * unit <= mostEuros; ++g) {
            const std::string words = AmountInWords(euros(g * unit));
            QVERIFY(words.size() > 2 && words.front() == '#' && words.back() == '/');
            for (std::size_t i = 1; i + 1 < words.size(); ++i)
                QVERIFY2(words[i] >= 'A' && words[i] <= 'Z', words.c_str());
        }
    }
}

void TestAmountInWords::aGroupBeyondThreeDigitsIsRefused_data() {
    QTest::addColumn<int>("group");
    for (int group : {-1, 1000, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()})
        QTest::newRow(QByteArray::number(group).constData()) << group;
}

void TestAmountInWords::aGroupBeyondThreeDigitsIsRefused() {
    QFETCH(int, group);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, GroupInWords(group));
}

QTEST_APPLESS_MAIN(TestAmountInWords)
#include "tst_amountinwords.moc"
