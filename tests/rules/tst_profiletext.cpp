#include "rules/ProfileText.h"

#include <QTest>

#include <optional>
#include <string>

Q_DECLARE_METATYPE(std::string)

namespace {
// A row's expected value: "<missing>" stands for a key the reader must not find.
const std::string Missing = "<missing>";

// A text that may hold NUL bytes: the whole literal but its terminator.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

std::string Found(const std::string& text, const char* section, const char* key) {
    return FindProfileValue(text, section, key).value_or(Missing);
}
} // namespace

class TestProfileText : public QObject {
    Q_OBJECT
private slots:
    void findsValues_data();
    void findsValues();
    void survivesBinaryGarbage();
    void boundsOverlongValues();
};

void TestProfileText::findsValues_data() {
    QTest::addColumn<std::string>("text");
    QTest::addColumn<std::string>("key");
    QTest::addColumn<std::string>("value");
    const std::string saved = "[ALLINEA]\nEDITC=C1\nEDITD=\nEDITS=\nEDIT1=26\nEDIT2=30\n";
    QTest::newRow("saved file, correction") << saved << std::string("EDIT2") << std::string("30");
    QTest::newRow("saved file, mark") << saved << std::string("EDITC") << std::string("C1");
    QTest::newRow("empty value") << saved << std::string("EDITD") << std::string();
    QTest::newRow("key absent") << saved << std::string("EDIT3") << Missing;
    QTest::newRow("empty text") << std::string() << std::string("EDIT1") << Missing;
    QTest::newRow("lower-case section and key")
        << std::string("[allinea]\nedit1=12\n") << std::string("EDIT1") << std::string("12");
    QTest::newRow("mixed-case names")
        << std::string("[AllInea]\nEdIt1=12\n") << std::string("EDIT1") << std::string("12");
    QTest::newRow("no section") << std::string("EDIT1=12\n") << std::string("EDIT1") << Missing;
    QTest::newRow("other section only")
        << std::string("[OTHER]\nEDIT1=12\n") << std::string("EDIT1") << Missing;
    QTest::newRow("key in a later section does not count")
        << std::string("[ALLINEA]\nEDIT2=4\n[OTHER]\nEDIT1=12\n") << std::string("EDIT1")
        << Missing;
    QTest::newRow("only the first of two sections counts")
        << std::string("[ALLINEA]\nEDIT2=4\n[ALLINEA]\nEDIT1=12\n") << std::string("EDIT1")
        << Missing;
    QTest::newRow("key before the section does not count")
        << std::string("EDIT1=8\n[ALLINEA]\nEDIT1=12\n") << std::string("EDIT1")
        << std::string("12");
    QTest::newRow("duplicate key, first wins") << std::string("[ALLINEA]\nEDIT1=10\nEDIT1=20\n")
                                               << std::string("EDIT1") << std::string("10");
    QTest::newRow("duplicate key in other case, first wins")
        << std::string("[ALLINEA]\nedit1=10\nEDIT1=20\n") << std::string("EDIT1")
        << std::string("10");
    QTest::newRow("CR LF") << std::string("[ALLINEA]\r\nEDIT1=26\r\nEDIT2=28\r\n")
                           << std::string("EDIT1") << std::string("26");
    QTest::newRow("CR LF, empty value")
        << std::string("[ALLINEA]\r\nEDITC=\r\n") << std::string("EDITC") << std::string();
    QTest::newRow("last line without line end")
        << std::string("[ALLINEA]\nEDIT1=26") << std::string("EDIT1") << std::string("26");
    QTest::newRow("spaces around key and value") << std::string("[ALLINEA]\n  EDIT1 \t=  26 \t\n")
                                                 << std::string("EDIT1") << std::string("26");
    QTest::newRow("spaces inside the value stay")
        << std::string("[ALLINEA]\nEDIT1= 2 6 \n") << std::string("EDIT1") << std::string("2 6");
    QTest::newRow("spaces in the section header")
        << std::string("  [ ALLINEA ]  \nEDIT1=26\n") << std::string("EDIT1") << std::string("26");
    QTest::newRow("text after the section header")
        << std::string("[ALLINEA] ; settings\nEDIT1=26\n") << std::string("EDIT1")
        << std::string("26");
    QTest::newRow("unclosed section header opens none")
        << std::string("[ALLINEA\nEDIT1=26\n") << std::string("EDIT1") << Missing;
    QTest::newRow("value holding '='")
        << std::string("[ALLINEA]\nEDIT1=a=b\n") << std::string("EDIT1") << std::string("a=b");
    QTest::newRow("double quotes dropped")
        << std::string("[ALLINEA]\nEDIT1=\"26\"\n") << std::string("EDIT1") << std::string("26");
    QTest::newRow("single quotes dropped")
        << std::string("[ALLINEA]\nEDIT1='26'\n") << std::string("EDIT1") << std::string("26");
    QTest::newRow("unmatched quote stays")
        << std::string("[ALLINEA]\nEDIT1=\"26\n") << std::string("EDIT1") << std::string("\"26");
    QTest::newRow("lone quote stays")
        << std::string("[ALLINEA]\nEDIT1=\"\n") << std::string("EDIT1") << std::string("\"");
    QTest::newRow("line without '=' is no key")
        << std::string("[ALLINEA]\nEDIT1\nEDIT1=5\n") << std::string("EDIT1") << std::string("5");
    QTest::newRow("commented key does not count")
        << std::string("[ALLINEA]\n;EDIT1=5\n") << std::string("EDIT1") << Missing;
    QTest::newRow("key name is whole, not a prefix")
        << std::string("[ALLINEA]\nEDIT10=5\nEDIT=6\n") << std::string("EDIT1") << Missing;
    QTest::newRow("value ends at NUL") << Bytes("[ALLINEA]\nEDIT1=2\0"
                                                "6\n")
                                       << std::string("EDIT1") << std::string("2");
    QTest::newRow("NUL line before the section")
        << Bytes("\0\0\0\n[ALLINEA]\nEDIT1=26\n") << std::string("EDIT1") << std::string("26");
    QTest::newRow("lone CR does not end a line")
        << std::string("[ALLINEA]\rEDIT1=26\r") << std::string("EDIT1") << Missing;
}

void TestProfileText::findsValues() {
    QFETCH(std::string, text);
    QFETCH(std::string, key);
    QFETCH(std::string, value);
    QCOMPARE(Found(text, "ALLINEA", key.c_str()), value);
}

void TestProfileText::survivesBinaryGarbage() {
    // Every byte value in a pseudo-random order, many times over, with the real section
    // buried in the middle: no crash, and the key after it is still found.
    std::string text;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        text.push_back(char(state >> 16));
    }
    text += "\n[ALLINEA]\nEDIT2=44\n";
    for (int i = 0; i < 1000; ++i)
        text.push_back(char(i % 256));
    QCOMPARE(Found(text, "ALLINEA", "EDIT2"), std::string("44"));
    QCOMPARE(Found(text, "ALLINEA", "EDIT1"), Missing);
}

void TestProfileText::boundsOverlongValues() {
    const std::string longValue(100000, '7');
    const std::string text = "[ALLINEA]\nEDIT1=" + longValue + "\nEDIT2=26\n";
    QCOMPARE(Found(text, "ALLINEA", "EDIT1"), longValue.substr(0, MaxProfileValueLength));
    QCOMPARE(Found(text, "ALLINEA", "EDIT2"), std::string("26"));
}

QTEST_APPLESS_MAIN(TestProfileText)
#include "tst_profiletext.moc"
