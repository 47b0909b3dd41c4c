// Runs every committed fuzz input through its check: the seeds of each target and every input
// that once made a target fail, kept so that the fault cannot come back unseen.
#include "fuzz/FuzzChecks.h"
#include "support/TestFiles.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

#include <functional>
#include <string_view>

using Check = std::function<void(std::string_view)>;
Q_DECLARE_METATYPE(Check)

class TestFuzzReplay : public QObject {
    Q_OBJECT
private slots:
    void inputKeepsItsPromises_data();
    void inputKeepsItsPromises();
};

void TestFuzzReplay::inputKeepsItsPromises_data() {
    QTest::addColumn<Check>("check");
    QTest::addColumn<QString>("file");
    const QList<QPair<QString, Check>> targets = {{"numtext", CheckNumberTexts},
                                                  {"profile", CheckProfileReading},
                                                  {"amountinwords", CheckAmountInWords},
                                                  {"datafile", CheckDataFileReading}};
    for (const QString kind : {"corpus", "regressions"}) {
        for (const auto& [target, check] : targets) {
            const QString folder = QStringLiteral(QUOTARIO_FUZZ_INPUTS "/") + kind + "/" + target;
            QStringList files;
            for (QDirIterator it(folder, QDir::Files); it.hasNext();)
                files << it.next();
            files.sort();
            if (kind == "corpus")
                QVERIFY2(!files.isEmpty(), qPrintable("no seeds in " + folder));
            for (const QString& file : files)
                QTest::addRow("%s/%s/%s", qPrintable(kind), qPrintable(target),
                              qPrintable(QFileInfo(file).fileName()))
                    << check << file;
        }
    }
}

void TestFuzzReplay::inputKeepsItsPromises() {
    QFETCH(Check, check);
    QFETCH(QString, file);
    const std::optional<QByteArray> bytes = ReadFile(file);
    QVERIFY(bytes);
    try {
        check(std::string_view(bytes->constData(), std::size_t(bytes->size())));
    } catch (const std::exception& error) {
        QFAIL(error.what());
    }
}

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
