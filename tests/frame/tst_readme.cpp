#include "frame/ReadmeLaunch.h"
#include "rules/AppExec.h"
#include "support/MessageRecorder.h"
#include "support/StandIn.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <future>
#include <new>
#include <system_error>
#include <thread>

// The read-me launch of the summary window: the editor on the read-me beside the program,
// whatever directory the program was started in, and the launcher's failures in the plain box.
class TestReadme : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsTheEditorOnTheReadmeInTheProgramsDirectory();
    void failedStartShowsTheLaunchersMessage_data();
    void failedStartShowsTheLaunchersMessage();
    void failedDirectoryChangeShowsItsMessage();
    void otherErrorsGoOn();
    void theProgramEndsAtOnceWhileTheEditorStaysOpen();
    void editorEndingInErrorIsReported_data();
    void editorEndingInErrorIsReported();
#ifdef _WIN32
    void startsNotepadInTheProgramsDirectoryAndWaits();
#else
    void waitsForTheRealEditorStartedInTheProgramsDirectory();
    void missingEditorIsReportedNotFound();
#endif

private:
    QString startDirectory_;
    QByteArray path_;
    QTemporaryDir home_;
};

namespace {

const QString Editor = QString::fromLatin1(TextEditorProgram);

QString Canonical(const QString& directory) {
    return QDir(directory).canonicalPath();
}

// A launcher with leftovers of an earlier use, which the launch must not carry over.
void UseEarlier(TAppExec& launcher) {
    launcher.SetExeName("old.exe");
    launcher.ExeParams() = {"old", "params"};
    launcher.SetExePath(QDir::tempPath().toStdString());
    launcher.SetChangeDir(false);
}

} // namespace

void TestReadme::init() {
    // Started from a desktop menu, the program runs in the user's home, not beside its files.
    startDirectory_ = QDir::currentPath();
    path_ = qgetenv("PATH");
    QVERIFY(home_.isValid());
    QVERIFY(QDir::setCurrent(home_.path()));
}

void TestReadme::cleanup() {
    QDir::setCurrent(startDirectory_);
    qputenv("PATH", path_);
}

void TestReadme::startsTheEditorOnTheReadmeInTheProgramsDirectory() {
    MessageRecorder recorder;
    TAppExec AppExec1;
    UseEarlier(AppExec1);
    QList<StartRequest> starts;
    QStringList directoriesAtStart;
    const StandIn<ProgramStarter> starter(SetProgramStarter, [&](const StartRequest& request) {
        starts.append(request);
        directoriesAtStart.append(Canonical(QDir::currentPath()));
        return StartResult{true, 0};
    });

    // Twice in a row: the parameter is not added to the one of the first launch.
    OpenReadme(AppExec1);
    OpenReadme(AppExec1);

    QCOMPARE(starts.size(), 2);
    const QString program = Canonical(QCoreApplication::applicationDirPath());
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(QString::fromStdString(starts[i].commandLine), Editor + " leggimi-prima.txt");
        QVERIFY(starts[i].wait);
        QCOMPARE(directoriesAtStart[i], program);
    }
    QVERIFY(AppExec1.Wait());
    QVERIFY(AppExec1.ChangeDir());
    QCOMPARE(AppExec1.ErrNo(), 0);
    // The editor's directory stays the program's.
    QCOMPARE(Canonical(QDir::currentPath()), program);
    QVERIFY(recorder.messages.isEmpty());
}

void TestReadme::failedStartShowsTheLaunchersMessage_data() {
    QTest::addColumn<int>("errNo");
    QTest::addColumn<QString>("message");
    QTest::newRow("file not found") << 2 << "Fichier non trouvé";
    QTest::newRow("path not found") << 3 << "Chemin non trouvé";
    QTest::newRow("not enough memory") << 8 << "Mémoire insuffisante pour démarrer l'application";
}

void TestReadme::failedStartShowsTheLaunchersMessage() {
    QFETCH(int, errNo);
    QFETCH(QString, message);
    MessageRecorder recorder;
    TAppExec AppExec1;
    const StandIn<ProgramStarter> starter(SetProgramStarter, [errNo](const StartRequest&) {
        return StartResult{false, errNo};
    });
    OpenReadme(AppExec1);
    QCOMPARE(recorder.shown(), QStringList{"Plain Quotario: " + message});
    QCOMPARE(AppExec1.ErrNo(), errNo);
}

void TestReadme::failedDirectoryChangeShowsItsMessage() {
    MessageRecorder recorder;
    TAppExec AppExec1;
    bool started = false;
    const StandIn<ProgramStarter> starter(SetProgramStarter, [&started](const StartRequest&) {
        started = true;
        return StartResult{true, 0};
    });
    const QString gone = home_.filePath("removed");
    OpenReadmeIn(AppExec1, gone.toStdString());
    QVERIFY(!started);
#ifdef _WIN32
    // The system's own text, in the language of the user's Windows.
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(recorder.messages[0].kind, MessageKind::Plain);
    QCOMPARE(recorder.messages[0].caption, QString("Quotario"));
    QVERIFY(!recorder.messages[0].text.isEmpty());
#else
    QCOMPARE(recorder.shown(),
             QStringList{"Plain Quotario: " +
                         QString::fromStdString(std::system_category().message(ENOENT))});
#endif
    QCOMPARE(Canonical(QDir::currentPath()), Canonical(home_.path()));
    QCOMPARE(AppExec1.ErrNo(), -1);
}

void TestReadme::editorEndingInErrorIsReported_data() {
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("opened") << 0 << "";
    QTest::newRow("no program for text files")
        << 4
        << "Impossibile aprire il file leggimi-prima.txt.\rIl programma \"" +
               QString(TextEditorProgram) + "\" ha risposto con il codice di errore 4.";
}

void TestReadme::editorEndingInErrorIsReported() {
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    MessageRecorder recorder;
    TAppExec AppExec1;
    const StandIn<ProgramStarter> starter(SetProgramStarter, [exitCode](const StartRequest&) {
        return StartResult{true, 0, exitCode};
    });
    OpenReadme(AppExec1);
    QCOMPARE(recorder.shown(),
             message.isEmpty() ? QStringList() : QStringList{"Plain Quotario: " + message});
}

void TestReadme::otherErrorsGoOn() {
    MessageRecorder recorder;
    TAppExec AppExec1;
    const StandIn<ProgramStarter> starter(
        SetProgramStarter, [](const StartRequest&) -> StartResult { throw std::bad_alloc(); });
    QVERIFY_THROWS_EXCEPTION(std::bad_alloc, OpenReadme(AppExec1));
    QVERIFY(recorder.messages.isEmpty());
}

#ifdef _WIN32

void TestReadme::startsNotepadInTheProgramsDirectoryAndWaits() {
    // Windows looks for a program named without a folder first in the starting program's own
    // folder: a probe put there as notepad.exe takes the editor's place. It writes its report
    // into the file named by its first parameter, relative to the folder it runs in.
    const QString program = QCoreApplication::applicationDirPath();
    const QString notepad = program + "/notepad.exe";
    const QString report = program + "/leggimi-prima.txt";
    QFile::remove(notepad);
    QFile::remove(report);
    QVERIFY(QFile::copy(program + "/../rules/appexec_probe.exe", notepad));

    MessageRecorder recorder;
    TAppExec AppExec1;
    OpenReadme(AppExec1);
    const bool reported = QFile::exists(report);
    QFile::remove(notepad);
    QFile::remove(report);

    QVERIFY2(reported, "notepad.exe did not run on leggimi-prima.txt in the program's folder, "
                       "or OpenReadme returned before it ended");
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(AppExec1.ErrNo(), 0);
}

#else

void TestReadme::waitsForTheRealEditorStartedInTheProgramsDirectory() {
    // An editor of our own in place of the desktop's: it takes its time, then writes down
    // where it ran and what it was given.
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString report = bin.filePath("report.txt");
    const QString editor = bin.filePath(Editor);
    QVERIFY(WriteBytes(editor, "#!/bin/sh\nsleep 0.3\n{ pwd -P; printf '%s\\n' \"$@\"; } > '" +
                                   QFile::encodeName(report) + "'\n"));
    QVERIFY(QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("PATH", QFile::encodeName(bin.path()) + ":/usr/bin:/bin");

    MessageRecorder recorder;
    TAppExec AppExec1;
    QElapsedTimer clock;
    clock.start();
    OpenReadme(AppExec1);
    QVERIFY(clock.elapsed() >= 300);
    QVERIFY(recorder.messages.isEmpty());

    const QStringList lines = QString::fromLocal8Bit(ReadBytes(report)).split('\n');
    QCOMPARE(lines, QStringList({Canonical(QCoreApplication::applicationDirPath()),
                                 "leggimi-prima.txt", ""}));
    QCOMPARE(AppExec1.ErrNo(), 0);
}

void TestReadme::missingEditorIsReportedNotFound() {
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    qputenv("PATH", QFile::encodeName(empty.path()));
    MessageRecorder recorder;
    TAppExec AppExec1;
    OpenReadme(AppExec1);
    QCOMPARE(recorder.shown(), QStringList({"Plain Quotario: Fichier non trouvé"}));
}

#endif

// A logout while the read-me is open: the program's loop is asked to end, and the program ends
// at once while the editor stays open. (Before, the end waited for the editor to close; here the
// editor closes by itself after 3 s.)
void TestReadme::theProgramEndsAtOnceWhileTheEditorStaysOpen() {
    std::promise<void> closing;
    const std::shared_future<void> closed = closing.get_future().share();
    const StandIn<ProgramStarter> editor(SetProgramStarter, [closed](const StartRequest&) {
        closed.wait();
        return StartResult{.started = true};
    });
    std::thread closesLater([&closing] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        closing.set_value();
    });
    MessageRecorder recorder;
    TAppExec AppExec1;
    QElapsedTimer clock;
    qint64 returnedAfter = -1;
    QTimer::singleShot(
        0,
        [&] {
            clock.start();
            OpenReadme(AppExec1);
            returnedAfter = clock.elapsed();
        });
    QTimer::singleShot(300, [] { QApplication::exit(0); });
    QCOMPARE(QApplication::exec(), 0);
    const bool stillOpen = closed.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
    closesLater.join();
    QVERIFY2(returnedAfter >= 0 && returnedAfter < 1500,
             qPrintable(QString::number(returnedAfter)));
    QVERIFY(stillOpen);
    QVERIFY(recorder.messages.isEmpty());
}

QUOTARIO_GUI_TEST_MAIN(TestReadme)
#include "tst_readme.moc"
