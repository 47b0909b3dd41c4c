#include "support/WindowTest.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QRegularExpression PrintName(QStringLiteral(
    "^Stampa (n\\. \\d+ \\(ore \\d\\d:\\d\\d:\\d\\d(?:, stampante \"[^\"]*\")?\\)):\\r"));

} // namespace

QStringList ReportBodies(const QStringList& texts) {
    QStringList bodies;
    for (const QString& text : texts) {
        const QRegularExpressionMatch named = PrintName.match(text);
        bodies.append(named.hasMatch() ? text.mid(named.capturedLength()) : text);
    }
    return bodies;
}

QStringList ReportNames(const QStringList& texts) {
    QStringList names;
    for (const QString& text : texts)
        names.append(PrintName.match(text).captured(1));
    return names;
}

// Everything is set up before anything is checked: a test class's own init() goes on after
// this one, and must find the windows and the folder even when one of them failed.
void WindowTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    const bool active = StartWindowSet();
    Form2->SetAlignmentDirectory(folder_->path().toStdString());
    watchdog_.start();
    QVERIFY2(active, "the main window did not become active");
    QVERIFY2(folder_->isValid(), qPrintable(folder_->errorString()));
}

void WindowTest::cleanup() {
    watchdog_.verifyNoneClosed();
}

void WindowTest::cleanupTestCase() {
    StopWindowSet();
    folder_.reset();
}

QString WindowTest::testFile(const QString& name) const {
    return folder_->filePath(name);
}
