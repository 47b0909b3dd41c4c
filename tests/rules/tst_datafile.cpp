#include "rules/DataFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <sys/stat.h>
#endif

Q_DECLARE_METATYPE(DataFileFault)
Q_DECLARE_METATYPE(std::optional<EntryBoxId>)

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void aFileWrittenReadsBackTheSameTexts_data();
    void aFileWrittenReadsBackTheSameTexts();
    void readsAFileEditedByHand();
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void aFileTooLongOrNotAFileIsRefused();
    void theMessageNamesTheFileAndTheFault();
};

namespace {

// A data file written out by hand: every box, in an order of its own.
const QByteArray ValidFile = "Quotario dati ICI, versione 1\n"
                             "ContoCorrente=12345678\n"
                             "Intestatario1=COMUNE DI ROMA\n"
                             "Intestatario2=SERVIZIO TESORERIA\n"
                             "NomeDomicilioVia=ROSSI MARIO ROMA VIA ROMA 1\n"
                             "ComuneImmobili=ROMA\n"
                             "CodiceFiscale=RSSMRA80A01H501U\n"
                             "NumeroFabbricati=2\n"
                             "AnnoImposta=07\n"
                             "Acconto=\n"
                             "Saldo=X\n"
                             "RenditaAbitazione=500\n"
                             "RivalutazioneAbitazione=5\n"
                             "AliquotaAbitazione=5\n"
                             "Detrazione=200\n"
                             "PercentualeAbitazione=100\n"
                             "MesiAbitazione=12\n"
                             "RenditaAltri=00,00\n"
                             "RivalutazioneAltri=0\n"
                             "AliquotaAltri=00,00\n"
                             "PercentualeAltri=100\n"
                             "MesiAltri=12\n";

// The valid file with one line replaced (or removed, for an empty replacement).
QByteArray WithLine(const QByteArray& key, const QByteArray& replacement) {
    QByteArray file = ValidFile;
    const qsizetype start = file.indexOf("\n" + key + "=") + 1;
    const qsizetype end = file.indexOf('\n', start) + 1;
    return file.replace(start, end - start, replacement.isEmpty() ? "" : replacement + "\n");
}

DataFileTexts StartTexts() {
    DataFileTexts texts;
    for (const EntryBoxRow& row : EntryBoxTable)
        texts[static_cast<std::size_t>(row.box)] = row.startText;
    return texts;
}

} // namespace

void TestDataFile::aFileWrittenReadsBackTheSameTexts_data() {
    QTest::addColumn<DataFileTexts>("texts");
    QTest::newRow("start texts, a holder line of one space") << StartTexts();
    DataFileTexts typed = StartTexts();
    typed[static_cast<std::size_t>(EntryBoxId::EdNome)] = "  D'ANNUNZIO  GIOVANNI, CITTÀ = 1 ";
    typed[static_cast<std::size_t>(EntryBoxId::EdComun)] = "#ROMA";
    typed[static_cast<std::size_t>(EntryBoxId::EdAcc)] = "x";
    typed[static_cast<std::size_t>(EntryBoxId::EdSaldo)] = "X";
    typed[static_cast<std::size_t>(EntryBoxId::REND1)] = ",,";
    QTest::newRow("texts as typed, marks and all") << typed;
    // Every box full of its widest characters: the file stays within what reading takes.
    DataFileTexts full;
    for (const EntryBoxRow& row : EntryBoxTable) {
        const auto size = static_cast<std::size_t>(row.maxLength);
        std::string& text = full[static_cast<std::size_t>(row.box)];
        if (row.rule == TypingRule::Mark)
            text = "X";
        else if (row.rule == TypingRule::Digits || row.rule == TypingRule::DigitsAndComma)
            text = std::string(size, '9');
        else
            for (std::size_t i = 0; i < size; ++i)
                text += "€";
    }
    QTest::newRow("every box full") << full;
}

void TestDataFile::aFileWrittenReadsBackTheSameTexts() {
    QFETCH(DataFileTexts, texts);
    QTemporaryDir folder;
    const std::string path = QDir(folder.path()).filePath("Rossi 2026.ici").toStdString();
    QCOMPARE(WriteDataFile(path, texts), std::nullopt);
    const DataFileReading reading = ReadDataFile(path);
    QCOMPARE(reading.fault, DataFileFault::None);
    QVERIFY(reading.texts == texts);
}

void TestDataFile::readsAFileEditedByHand() {
    QByteArray file = "\xEF\xBB\xBF" + ValidFile;
    file.replace("\n", "\r\n");
    file.replace("ContoCorrente", "# Il conto del Comune\r\n\r\nContoCorrente");
    const DataFileReading reading = ParseDataFile(file.toStdString());
    QCOMPARE(reading.fault, DataFileFault::None);
    QCOMPARE(reading.texts[static_cast<std::size_t>(EntryBoxId::EdCCNR)], "12345678");
    QCOMPARE(reading.texts[static_cast<std::size_t>(EntryBoxId::Edit6)], "12");
}

void TestDataFile::badFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<DataFileFault>("fault");
    QTest::addColumn<std::optional<EntryBoxId>>("box");
    const std::optional<EntryBoxId> none;
    const auto notOurs = DataFileFault::NotOurs;
    const auto damaged = DataFileFault::Damaged;
    const auto newer = DataFileFault::NewerVersion;
    const auto bad = DataFileFault::BadText;
    QByteArray version2 = ValidFile;
    version2.replace("versione 1", "versione 2");
    QByteArray hugeVersion = ValidFile;
    hugeVersion.replace("versione 1", "versione 99999999999999999999");
    QByteArray noVersion = ValidFile;
    noVersion.replace("versione 1", "versione uno");
    QTest::newRow("empty") << QByteArray() << notOurs << none;
    QTest::newRow("the alignment file") << QByteArray("[ALLINEA]\nEDIT1=26\n") << notOurs << none;
    QTest::newRow("a PDF") << QByteArray("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n") << notOurs << none;
    QTest::newRow("version 2") << version2 << newer << none;
    QTest::newRow("a version beyond any number") << hugeVersion << newer << none;
    QTest::newRow("no version number") << noVersion << damaged << none;
    QTest::newRow("header only") << QByteArray("Quotario dati ICI, versione 1\n") << damaged
                                 << std::optional(EntryBoxId::REND1);
    QTest::newRow("cut off") << ValidFile.left(ValidFile.indexOf("RenditaAltri")) << damaged
                             << std::optional(EntryBoxId::Edit1);
    QTest::newRow("a box twice") << ValidFile + "Saldo=\n"
                                 << damaged << std::optional(EntryBoxId::EdSaldo);
    QTest::newRow("an unknown key") << ValidFile + "Telefono=06 1234\n" << damaged << none;
    QTest::newRow("a line without =") << WithLine("Saldo", "Saldo X") << damaged << none;
    QTest::newRow("a key in other case") << WithLine("Saldo", "saldo=X") << damaged << none;
    QTest::newRow("a letter in the income")
        << WithLine("RenditaAbitazione", "RenditaAbitazione=5O0") << bad
        << std::optional(EntryBoxId::REND1);
    QTest::newRow("a full stop in the income")
        << WithLine("RenditaAbitazione", "RenditaAbitazione=500.5") << bad
        << std::optional(EntryBoxId::REND1);
    QTest::newRow("a comma in the months")
        << WithLine("MesiAltri", "MesiAltri=1,") << bad << std::optional(EntryBoxId::Edit6);
    QTest::newRow("a ninth digit of the account")
        << WithLine("ContoCorrente", "ContoCorrente=123456789") << bad
        << std::optional(EntryBoxId::EdCCNR);
    QTest::newRow("a holder line of 33 characters")
        << WithLine("Intestatario1", "Intestatario1=" + QByteArray(33, 'A')) << bad
        << std::optional(EntryBoxId::EdIntest1);
    QTest::newRow("33 characters, 32 of them accented")
        << WithLine("Intestatario2", "Intestatario2=" + QString(32, QChar(0xC8)).toUtf8() + "A")
        << bad << std::optional(EntryBoxId::EdIntest2);
    QTest::newRow("a tax code in small letters")
        << WithLine("CodiceFiscale", "CodiceFiscale=rssmra80a01h501u") << bad
        << std::optional(EntryBoxId::EdCodFisc);
    QTest::newRow("a balance mark other than X")
        << WithLine("Saldo", "Saldo=x") << bad << std::optional(EntryBoxId::EdSaldo);
    QTest::newRow("a tab in the name") << WithLine("NomeDomicilioVia", "NomeDomicilioVia=ROSSI\tM")
                                       << bad << std::optional(EntryBoxId::EdNome);
    QTest::newRow("a NUL byte in the name")
        << WithLine("NomeDomicilioVia", QByteArray("NomeDomicilioVia=RO\0SSI", 23)) << bad
        << std::optional(EntryBoxId::EdNome);
    QTest::newRow("Latin-1, not UTF-8") << WithLine("ComuneImmobili", "ComuneImmobili=FORL\xCC")
                                        << bad << std::optional(EntryBoxId::EdComun);
    QTest::newRow("an overlong slash") << WithLine("ComuneImmobili", "ComuneImmobili=\xC0\xAF")
                                       << bad << std::optional(EntryBoxId::EdComun);
}

void TestDataFile::badFilesAreRefused() {
    QFETCH(QByteArray, file);
    QFETCH(DataFileFault, fault);
    QFETCH(std::optional<EntryBoxId>, box);
    const DataFileReading reading = ParseDataFile(std::string_view(file.data(), file.size()));
    QCOMPARE(reading.fault, fault);
    QVERIFY(reading.box == box);
}

void TestDataFile::aFileTooLongOrNotAFileIsRefused() {
    QTemporaryDir folder;
    const QString tooLong = QDir(folder.path()).filePath("lungo.ici");
    QByteArray padded = ValidFile;
    padded.append(QByteArray(qsizetype(MaxDataFileBytes) - padded.size() + 1, '\n'));
    QVERIFY(WriteBytes(tooLong, padded));
    QCOMPARE(ReadDataFile(tooLong.toStdString()).fault, DataFileFault::TooLong);
    padded.chop(1);
    QVERIFY(WriteBytes(tooLong, padded));
    QCOMPARE(ReadDataFile(tooLong.toStdString()).fault, DataFileFault::None);

    QCOMPARE(ReadDataFile(folder.path().toStdString()).fault, DataFileFault::Unreadable);
    QCOMPARE(ReadDataFile(QDir(folder.path()).filePath("manca.ici").toStdString()).fault,
             DataFileFault::Unreadable);
#ifndef _WIN32
    // A FIFO in the file's place is refused at once, not waited on.
    const QString fifo = QDir(folder.path()).filePath("fifo.ici");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(ReadDataFile(fifo.toStdString()).fault, DataFileFault::Unreadable);
#endif
}

void TestDataFile::theMessageNamesTheFileAndTheFault() {
    DataFileReading reading;
    reading.fault = DataFileFault::BadText;
    reading.box = EntryBoxId::EdCCNR;
    reading.line = 3;
    const QString message =
        QString::fromStdString(DataFileRefusedMessage("/home/anna/Rossi.ici", reading));
    QVERIFY2(message.contains("/home/anna/Rossi.ici"), qPrintable(message));
    QVERIFY2(message.contains("ContoCorrente"), qPrintable(message));
    QVERIFY2(message.contains("riga 3"), qPrintable(message));
}

QTEST_APPLESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
