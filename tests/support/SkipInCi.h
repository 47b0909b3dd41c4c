#pragma once
// A case this machine cannot set up (no private mounts, no comma locale) is no pass. In CI
// (CI=true), where the set-up installs everything the suite needs, it fails; elsewhere it is
// skipped, and the test program then ends with SkipExitCode, which CTest reports as skipped
// (SKIP_RETURN_CODE), unless a case failed.
#include <QByteArray>
#include <QTest>
#include <QtGlobal>

inline constexpr int SkipExitCode = 77;

inline bool& CaseSkipped() {
    static bool skipped = false;
    return skipped;
}

inline bool RunningInCi() {
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

#define SKIP_OR_FAIL_IN_CI(reason)                                                                 \
    do {                                                                                           \
        const QByteArray why = QByteArray(reason);                                                 \
        if (RunningInCi())                                                                         \
            QFAIL(("cannot be set up in CI: " + why).constData());                                 \
        CaseSkipped() = true;                                                                      \
        QSKIP(why.constData());                                                                    \
    } while (false)

// For tests that need no application object.
struct NoApplication {
    NoApplication(int&, char**) {}
};

#define QUOTARIO_SKIPPABLE_TEST_MAIN(ApplicationClass, TestClass)                                  \
    int main(int argc, char* argv[]) {                                                             \
        ApplicationClass application(argc, argv);                                                  \
        TestClass test;                                                                            \
        const int failures = QTest::qExec(&test, argc, argv);                                      \
        return failures == 0 && CaseSkipped() ? SkipExitCode : failures;                           \
    }
