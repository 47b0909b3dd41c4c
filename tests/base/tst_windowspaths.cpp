// Windows only: the program's folder, Allinea.ini and the current directory in folders named
// in any script, through the system's wide calls. The test program itself lies in a folder
// named with "è" and Cyrillic letters.
#include "base/FileReplace.h"
#include "base/ProgramDirectory.h"
#include "rules/AlignmentFile.h"
#include "rules/ProgramStart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWindowsPaths : public QObject {
    Q_OBJECT
private slots:
    void programDirectoryIsTheExecutablesFolder();
    void alignmentFileInAnyFolder_data();
    void alignmentFileInAnyFolder();
    void failedReplaceLeavesTheFileWhole();
    void currentDirectoryInAnyFolder();
};

namespace {

std::string NativePath(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const AlignmentTexts Saved{"30", "22", {"", "D1", ""}};

} // namespace

void TestWindowsPaths::programDirectoryIsTheExecutablesFolder() {
    const QString expected =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + '\\';
    QVERIFY2(expected.contains(QString::fromUtf8("è ж")), qPrintable(expected));
    QCOMPARE(QString::fromStdString(ProgramDirectory()), expected);
}

void TestWindowsPaths::alignmentFileInAnyFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("Latin accent") << QString::fromUtf8("Contabilità");
    QTest::newRow("Cyrillic") << QString::fromUtf8("Налоги");
    QTest::newRow("Japanese") << QString::fromUtf8("税金");
}

void TestWindowsPaths::alignmentFileInAnyFolder() {
    QFETCH(QString, folder);
    QTemporaryDir temporary;
    QVERIFY(QDir(temporary.path()).mkdir(folder));
    const QString directory = temporary.filePath(folder);
    const std::string path = AlignmentFilePath(NativePath(directory));
    WriteAlignmentFile(path, Saved);
    QCOMPARE(Content(directory + "/Allinea.ini"),
             QByteArray::fromStdString(AlignmentFileContent(Saved)));
    QCOMPARE(ReadAlignmentFile(path), Saved);
    // Only the file itself is left: no temporary file beside it.
    QCOMPARE(QDir(directory).entryList(QDir::Files), QStringList{"Allinea.ini"});
}

void TestWindowsPaths::failedReplaceLeavesTheFileWhole() {
    // A file that another program holds open without letting it be replaced.
    QTemporaryDir temporary;
    const QString directory = temporary.filePath(QString::fromUtf8("è"));
    QVERIFY(QDir().mkpath(directory));
    const std::string path = AlignmentFilePath(NativePath(directory));
    WriteAlignmentFile(path, Saved);
    QFile held(directory + "/Allinea.ini");
    QVERIFY(held.open(QIODevice::ReadOnly));
    QVERIFY_THROWS_EXCEPTION(EIniFileException,
                             WriteAlignmentFile(path, {"0", "0", {"C1", "", ""}}));
    held.close();
    QCOMPARE(ReadAlignmentFile(path), Saved);
    QCOMPARE(QDir(directory).entryList(QDir::Files), QStringList{"Allinea.ini"});
}

void TestWindowsPaths::currentDirectoryInAnyFolder() {
    QTemporaryDir temporary;
    const QString directory = temporary.filePath(QString::fromUtf8("Città Москва"));
    QVERIFY(QDir().mkpath(directory));
    const QString before = QDir::currentPath();
    const auto failure = ChangeCurrentDirectory(NativePath(directory));
    const QString now = QDir::currentPath();
    QDir::setCurrent(before);
    QVERIFY2(!failure, failure ? failure->c_str() : "");
    QCOMPARE(now, QDir(directory).absolutePath());
}

QTEST_GUILESS_MAIN(TestWindowsPaths)
#include "tst_windowspaths.moc"
