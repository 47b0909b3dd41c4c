#include "rules/AppExec.h"
#include "support/DataRows.h"
#include "support/StandIn.h"
#include "support/TestFiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include "base/WindowsApi.h"
#endif

Q_DECLARE_METATYPE(TWindowState)

namespace {

// Records what the launcher asks to start and answers as scripted, so no program opens.
struct RecordingStarter {
    std::vector<StartRequest> requests;
    StartResult answer{true, 0};
    ProgramStarter hook() {
        return [this](const StartRequest& request) {
            requests.push_back(request);
            return answer;
        };
    }
};

// What the probe wrote: its process number, then the arguments after its output file.
struct ProbeReport {
    qint64 pid = 0;
    QStringList args;
};

std::optional<ProbeReport> readProbeReport(const QString& path) {
    const std::optional<QByteArray> bytes = ReadFile(path);
    if (!bytes)
        return std::nullopt;
    QStringList lines = QString::fromUtf8(*bytes).split('\n');
    lines.removeLast(); // after the final line break
    ProbeReport report;
    report.pid = lines.takeFirst().toLongLong();
    report.args = lines;
    return report;
}

// A program started without waiting writes its report some time after Execute has returned.
std::optional<ProbeReport> waitForProbeReport(const QString& path) {
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (auto report = readProbeReport(path))
            return report;
        QTest::qWait(20);
    }
    return std::nullopt;
}

bool processExists(qint64 pid) {
#ifdef _WIN32
    // An ended process whose handles are all closed can no longer be opened.
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
#else
    return QFile::exists(QStringLiteral("/proc/%1").arg(pid));
#endif
}

std::vector<std::string> StdStrings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& item : list)
        out.push_back(item.toStdString());
    return out;
}

} // namespace

class TestAppExec : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsWithDesignedValues();
    void pathRule_data();
    void pathRule();
    void windowStateSetsShowCommand_data();
    void windowStateSetsShowCommand();
    void clearKeepsOptions();
    void commandLine_data();
    void commandLine();
    void startedProgramSeesUnquotedItems();
    void startsProgramInFolderOfAnyScript();
    void startRequestCarriesOptions();
    void waitReturnsAfterProgramEnded();
    void waitedProgramGivesItsExitCode_data();
    void waitedProgramGivesItsExitCode();
    void noWaitReturnsAtOnceAndLeavesNoZombie();
    void noWaitKeepsErrNo();
    void missingProgramIsFileNotFound();
    void failedStartNumbers_data();
    void failedStartNumbers();
    void directoryChangeFailure();
    void directoryChangeStaysAndIsInherited();
    void directoryIgnoredWithoutChangeDir();
    void overLongCommandLineIsRefused_data();
    void overLongCommandLineIsRefused();
    void errorTexts_data();
    void errorTexts();

private:
    QString startDir_;
    std::optional<QTemporaryDir> tempDir_;
    QString out(const QString& name = QStringLiteral("out.txt")) const {
        return tempDir_->filePath(name);
    }
};

void TestAppExec::initTestCase() {
    // The probe is started by name only, found along the PATH as the editor is.
#ifndef _WIN32
    // (Windows looks first in the starting program's own folder, where the probe is built.)
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray(APPEXEC_PROBE_DIR) + ':' + path);
#endif
    startDir_ = QDir::currentPath();
}

void TestAppExec::init() {
    tempDir_.emplace();
    QVERIFY(tempDir_->isValid());
    QVERIFY2(!tempDir_->path().contains(' '), "the command line cannot carry a path with spaces");
}

void TestAppExec::cleanup() {
    QDir::setCurrent(startDir_);
    tempDir_.reset();
}

void TestAppExec::startsWithDesignedValues() {
    const TAppExec exec;
    QCOMPARE(exec.ChangeDir(), true);
    QCOMPARE(exec.ErrNo(), -1);
    QCOMPARE(exec.ErrorText(), std::string("Pas d'exécution"));
    QVERIFY(exec.ExeName().empty());
    QVERIFY(exec.ExeParams().empty());
    QVERIFY(exec.ExePath().empty());
    QCOMPARE(exec.Wait(), false);
    QCOMPARE(exec.WindowState(), TWindowState::wsNormal);
    QCOMPARE(exec.ShowCommand(), std::uint16_t(1));
}

void TestAppExec::pathRule_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected");
    AddRow("final backslash", "", "C:\\Programmi\\", "C:\\Programmi");
    AddRow("drive root", "", "C:\\", "C:\\");
    AddRow("lone backslash", "", "\\", "\\");
    AddRow("two backslashes lose one", "", "C:\\dati\\\\", "C:\\dati\\");
    AddRow("empty", "C:\\dati", "", "");
    AddRow("no backslash", "", "C:\\dati", "C:\\dati");
    AddRow("three characters, not a drive", "", "ab\\", "ab");
    AddRow("slash is no separator here", "", "/tmp/", "/tmp/");
    // Writing the value already held changes nothing, so the rule is not applied again.
    AddRow("same value again", "C:\\dati\\\\", "C:\\dati\\", "C:\\dati\\");
}

void TestAppExec::pathRule() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, expected);
    TAppExec exec;
    exec.SetExePath(first.toStdString());
    exec.SetExePath(second.toStdString());
    QCOMPARE(QString::fromStdString(exec.ExePath()), expected);
}

void TestAppExec::windowStateSetsShowCommand_data() {
    QTest::addColumn<TWindowState>("from");
    QTest::addColumn<TWindowState>("to");
    QTest::addColumn<int>("showCommand");
    AddRow("maximised", TWindowState::wsNormal, TWindowState::wsMaximized, 3);
    AddRow("minimised", TWindowState::wsNormal, TWindowState::wsMinimized, 2);
    AddRow("normal again", TWindowState::wsMaximized, TWindowState::wsNormal, 1);
    AddRow("maximised twice", TWindowState::wsMaximized, TWindowState::wsMaximized, 3);
}

void TestAppExec::windowStateSetsShowCommand() {
    QFETCH(TWindowState, from);
    QFETCH(TWindowState, to);
    QFETCH(int, showCommand);
    TAppExec exec;
    exec.SetWindowState(from);
    exec.SetWindowState(to);
    QCOMPARE(exec.WindowState(), to);
    QCOMPARE(int(exec.ShowCommand()), showCommand);
}

void TestAppExec::clearKeepsOptions() {
    RecordingStarter starter;
    starter.answer = {false, 3};
    TAppExec exec;
    const StandIn<ProgramStarter> standIn(SetProgramStarter, starter.hook());
    exec.SetExeName("notepad.exe");
    exec.ExeParams().push_back("leggimi-prima.txt");
    exec.SetChangeDir(false);
    exec.SetExePath("D:\\dati");
    exec.SetWait(true);
    exec.SetWindowState(TWindowState::wsMinimized);
    QVERIFY_THROWS_EXCEPTION(EAppExecWinExec, exec.Execute());
    QCOMPARE(exec.ErrNo(), 3);

    exec.Clear();
    QCOMPARE(exec.ErrNo(), -1);
    QVERIFY(exec.ExeName().empty());
    QVERIFY(exec.ExeParams().empty());
    QVERIFY(exec.ExePath().empty());
    QCOMPARE(exec.ChangeDir(), false);
    QCOMPARE(exec.Wait(), true);
    QCOMPARE(exec.WindowState(), TWindowState::wsMinimized);
    QCOMPARE(int(exec.ShowCommand()), 2);
}

void TestAppExec::commandLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("items");
    AddRow("parameter with a space", "notepad.exe", QStringList{"a", "b c"}, "notepad.exe a b c",
           QStringList{"notepad.exe", "a", "b", "c"});
    AddRow("no parameters", "notepad.exe", QStringList{}, "notepad.exe",
           QStringList{"notepad.exe"});
    AddRow("empty parameter leaves a trailing space", "ed", QStringList{"a", ""}, "ed a ",
           QStringList{"ed", "a"});
    AddRow("blank runs and tabs separate once", "ed", QStringList{" a\t\tb  ", "c"},
           "ed  a\t\tb   c", QStringList{"ed", "a", "b", "c"});
    AddRow("quotes are plain characters", "ed", QStringList{"\"x y\""}, "ed \"x y\"",
           QStringList{"ed", "\"x", "y\""});
    AddRow("nothing at all", "", QStringList{}, "", QStringList{});
}

void TestAppExec::commandLine() {
    QFETCH(QString, name);
    QFETCH(QStringList, params);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, items);
    const std::string built = BuildCommandLine(name.toStdString(), StdStrings(params));
    QCOMPARE(QString::fromStdString(built), commandLine);
    QCOMPARE(SplitCommandLine(built), StdStrings(items));
}

void TestAppExec::startedProgramSeesUnquotedItems() {
    TAppExec exec;
    exec.SetExeName("appexec_probe");
    exec.SetExeParams({out().toStdString(), "a", "b c"});
    exec.SetWait(true);
    exec.Execute();
    const auto report = readProbeReport(out());
    QVERIFY(report);
    QCOMPARE(report->args, (QStringList{"a", "b", "c"}));
}

void TestAppExec::startsProgramInFolderOfAnyScript() {
    // The program's own folder, and so the editor's file, may be named in any script.
    const QString folder = tempDir_->filePath(QStringLiteral("Documenti-\u00e8\u0436"));
    QVERIFY(QDir().mkpath(folder));
    const QString probe = QStringLiteral(APPEXEC_PROBE_FILE);
    const QString copy = QDir(folder).filePath(QFileInfo(probe).fileName());
    QVERIFY(QFile::copy(probe, copy));
    TAppExec exec;
    exec.SetExeName(QDir::toNativeSeparators(copy).toStdString());
    exec.SetExeParams({out().toStdString(), "a"});
    exec.SetWait(true);
    exec.Execute();
    QCOMPARE(exec.ErrNo(), 0);
    const auto report = readProbeReport(out());
    QVERIFY(report);
    QCOMPARE(report->args, QStringList{QStringLiteral("a")});
}

void TestAppExec::startRequestCarriesOptions() {
    RecordingStarter starter;
    TAppExec exec;
    const StandIn<ProgramStarter> standIn(SetProgramStarter, starter.hook());
    exec.SetExeName("notepad.exe");
    exec.ExeParams().push_back("leggimi-prima.txt");
    exec.SetWait(true);
    exec.SetWindowState(TWindowState::wsMaximized);
    exec.Execute();
    QCOMPARE(starter.requests.size(), std::size_t(1));
    QCOMPARE(starter.requests[0].commandLine, std::string("notepad.exe leggimi-prima.txt"));
    QCOMPARE(int(starter.requests[0].showCommand), 3);
    QCOMPARE(starter.requests[0].wait, true);
    QCOMPARE(exec.ErrNo(), 0);
}

void TestAppExec::waitReturnsAfterProgramEnded() {
    TAppExec exec;
    exec.SetExeName("appexec_probe");
    exec.SetExeParams({out().toStdString(), "--sleep=400"});
    exec.SetWait(true);
    exec.Execute();
    const auto report = readProbeReport(out());
    QVERIFY2(report, "Execute returned before the program had ended");
    QCOMPARE(exec.ErrNo(), 0);
    QVERIFY(!processExists(report->pid));
}

void TestAppExec::waitedProgramGivesItsExitCode_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("wait");
    QTest::addColumn<int>("exitCode");
#ifdef _WIN32
    AddRow("success", "cmd.exe /c exit 0", true, 0);
    AddRow("failure", "cmd.exe /c exit 1", true, 1);
    AddRow("not waited", "cmd.exe /c exit 1", false, 0);
#else
    AddRow("success", "true", true, 0);
    AddRow("failure", "false", true, 1);
    AddRow("not waited", "false", false, 0);
#endif
}

void TestAppExec::waitedProgramGivesItsExitCode() {
    QFETCH(QString, program);
    QFETCH(bool, wait);
    QFETCH(int, exitCode);
    TAppExec exec;
    exec.SetExeName(program.toStdString());
    exec.SetWait(wait);
    exec.Execute();
    QCOMPARE(exec.ExitCode(), exitCode);
    exec.Clear();
    QCOMPARE(exec.ExitCode(), 0);
}

void TestAppExec::noWaitReturnsAtOnceAndLeavesNoZombie() {
    TAppExec exec;
    exec.SetExeName("appexec_probe");
    exec.SetExeParams({out().toStdString(), "--sleep=400"});
    exec.Execute();
    QVERIFY2(!QFile::exists(out()), "Execute waited for the program");
    const auto report = waitForProbeReport(out());
    QVERIFY(report);
    // An ended child that nobody collects stays in the process table as a zombie.
    QTRY_VERIFY_WITH_TIMEOUT(!processExists(report->pid), 10000);
}

void TestAppExec::noWaitKeepsErrNo() {
    TAppExec exec;
    exec.SetExeName("appexec_probe");
    exec.SetExeParams({out().toStdString()});
    exec.Execute();
    QCOMPARE(exec.ErrNo(), -1);
    QVERIFY(waitForProbeReport(out()));

    exec.SetExeName("quotario_no_such_program");
    QVERIFY_THROWS_EXCEPTION(EAppExecWinExec, exec.Execute());
    QCOMPARE(exec.ErrNo(), 2);
    exec.SetExeName("appexec_probe");
    exec.SetExeParams({out("second.txt").toStdString()});
    exec.Execute();
    QCOMPARE(exec.ErrNo(), 2);
    QVERIFY(waitForProbeReport(out("second.txt")));
}

void TestAppExec::missingProgramIsFileNotFound() {
    TAppExec exec;
    exec.SetExeName("quotario_no_such_program");
    exec.ExeParams().push_back("leggimi-prima.txt");
    exec.SetWait(true);
    try {
        exec.Execute();
        QFAIL("a missing program was reported as started");
    } catch (const EAppExec& e) {
        QVERIFY(dynamic_cast<const EAppExecWinExec*>(&e));
        QCOMPARE(e.what(), "Fichier non trouvé");
    }
    QCOMPARE(exec.ErrNo(), 2);
}

void TestAppExec::failedStartNumbers_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("errNo");
    QTest::addColumn<QString>("message");
#ifdef _WIN32
    // Windows' own numbers: 193 has no row, so the system's text follows the number. (A missing
    // directory is 3 on Windows, but Wine answers 2.)
    AddRow("not a program", "@file@.exe", 193, "Erreur système n° 193 : ");
    AddRow("blank command line", " ", 2, "Fichier non trouvé");
#else
    AddRow("missing directory", "/quotario/no/such/dir/prog", 3, "Chemin non trouvé");
    AddRow("file used as a directory", "@file@/prog", 3, "Chemin non trouvé");
    AddRow("not executable", "@file@", 5,
           "Tentative de liaison dynamique à une tâche, ou erreur de "
           "partage, ou erreur de protection réseau");
    AddRow("no executable format", "@script@", 11,
           "Exécutable invalide, application non Windows, ou erreur dans l'image du fichier .EXE");
    AddRow("blank command line", " ", 2, "Fichier non trouvé");
#endif
}

void TestAppExec::failedStartNumbers() {
    QFETCH(QString, name);
    QFETCH(int, errNo);
    QFETCH(QString, message);
    // A plain file, and an executable one that holds no program and names no interpreter.
    QFile plain(out("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("text\n");
    plain.close();
    QVERIFY(QFile::copy(plain.fileName(), plain.fileName() + ".exe"));
    QFile script(out("script"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("echo hello\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    name.replace("@file@", plain.fileName()).replace("@script@", script.fileName());

    TAppExec exec;
    exec.SetExeName(name.toStdString());
    try {
        exec.Execute();
        QFAIL("the start was reported as a success");
    } catch (const EAppExecWinExec& e) {
#ifdef _WIN32
        // The system's text is in the language of the user's Windows, and names no place-holder.
        const QString text = QString::fromUtf8(e.what());
        QVERIFY2(text.startsWith(message) && !text.contains("%1"), qPrintable(text));
#else
        QCOMPARE(QString::fromUtf8(e.what()), message);
#endif
    }
    QCOMPARE(exec.ErrNo(), errNo);
}

void TestAppExec::directoryChangeFailure() {
    RecordingStarter starter;
    TAppExec exec;
    const StandIn<ProgramStarter> standIn(SetProgramStarter, starter.hook());
    exec.SetExeName("notepad.exe");
    exec.SetExePath(out("missing").toStdString());
    try {
        exec.Execute();
        QFAIL("a missing directory was accepted");
    } catch (const EAppExecChDir& e) {
        QVERIFY(std::string(e.what()).size() > 0);
    }
    QVERIFY(starter.requests.empty());
    QCOMPARE(exec.ErrNo(), -1);
    QCOMPARE(QDir::currentPath(), startDir_);
}

void TestAppExec::directoryChangeStaysAndIsInherited() {
    TAppExec exec;
    exec.SetExeName("appexec_probe");
    exec.ExeParams().push_back("relative.txt");
    exec.SetExePath(tempDir_->path().toStdString());
    exec.SetWait(true);
    exec.Execute();
    QVERIFY(QFile::exists(out("relative.txt")));
    QCOMPARE(QDir::currentPath(), QDir(tempDir_->path()).canonicalPath());
}

void TestAppExec::directoryIgnoredWithoutChangeDir() {
    RecordingStarter starter;
    TAppExec exec;
    const StandIn<ProgramStarter> standIn(SetProgramStarter, starter.hook());
    exec.SetExeName("notepad.exe");
    exec.SetChangeDir(false);
    exec.SetExePath(out("missing").toStdString());
    exec.Execute();
    QCOMPARE(starter.requests.size(), std::size_t(1));
    QCOMPARE(QDir::currentPath(), startDir_);
}

void TestAppExec::overLongCommandLineIsRefused_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("refused");
    AddRow("511 characters fit", 511, false);
    AddRow("512 characters do not", 512, true);
    AddRow("far too long", 5000, true);
}

void TestAppExec::overLongCommandLineIsRefused() {
    QFETCH(int, length);
    QFETCH(bool, refused);
    RecordingStarter starter;
    TAppExec exec;
    const StandIn<ProgramStarter> standIn(SetProgramStarter, starter.hook());
    exec.SetExeName("ed");
    exec.ExeParams().push_back(std::string(length - 3, 'x'));
    exec.SetExePath(out("missing").toStdString());
    exec.SetChangeDir(false);
    if (!refused) {
        exec.Execute();
        QCOMPARE(starter.requests.size(), std::size_t(1));
        QCOMPARE(int(starter.requests[0].commandLine.size()), length);
        return;
    }
    try {
        exec.Execute();
        QFAIL("an over-long command line was accepted");
    } catch (const EAppExecWinExec& e) {
        QCOMPARE(e.what(), "Ligne de commande trop longue (511 caractères au plus)");
    }
    QVERIFY(starter.requests.empty());
    QCOMPARE(exec.ErrNo(), ErrNoCommandLineTooLong);
}

void TestAppExec::errorTexts_data() {
    QTest::addColumn<int>("errNo");
    QTest::addColumn<QString>("text");
    AddRow("nothing started", -1, "Pas d'exécution");
    AddRow("0", 0,
           "Système dépassé en capacité mémoire, exécutable corrompu, ou "
           "réallocations invalides");
    AddRow("8", 8, "Mémoire insuffisante pour démarrer l'application");
    AddRow("21", 21, "Application nécessitant des extensions 32-bit");
#ifdef _WIN32
    // The system's own text after the number, in the language of the user's Windows.
    AddRow("no row", 1, "Erreur système n° 1 : *");
    AddRow("old success number is no success", 32, "Erreur système n° 32 : *");
#else
    AddRow("no row", 1, "Erreur inconnue n° 1");
    AddRow("old success number is no success", 32, "Erreur inconnue n° 32");
#endif
    AddRow("system number without a row", -ENOSYS,
           "Erreur système n° " + QString::number(ENOSYS) + " : " +
               QString::fromStdString(std::system_category().message(ENOSYS)));
}

void TestAppExec::errorTexts() {
    QFETCH(int, errNo);
    QFETCH(QString, text);
    const QString actual = QString::fromStdString(AppExecErrorText(errNo));
    if (text.endsWith('*')) {
        QVERIFY2(actual.startsWith(text.chopped(1)) && actual.size() > text.size(),
                 qPrintable(actual));
        return;
    }
    QCOMPARE(actual, text);
}

QTEST_GUILESS_MAIN(TestAppExec)
#include "tst_appexec.moc"
