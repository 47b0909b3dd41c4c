#include "PrintedPage.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString Run(const QString& program, const QStringList& arguments, QString& error) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        error = program + " failed: " + QString::fromLocal8Bit(process.readAllStandardError());
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Unescape(QString text) {
    text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
    return text.replace("&amp;", "&");
}

} // namespace

PrintedPage ReadPrintedPage(const QString& pdfFile) {
    PrintedPage page;
    const QString info = Run("pdfinfo", {pdfFile}, page.error);
    if (!page.error.isEmpty())
        return page;
    const auto field = [&info](const QString& name) {
        return QRegularExpression("^" + name + ":\\s*(.*)$", QRegularExpression::MultilineOption)
            .match(info)
            .captured(1)
            .trimmed();
    };
    page.pages = field("Pages").toInt();
    page.rotation = field("Page rot").toInt();
    const QRegularExpressionMatch size =
        QRegularExpression("([0-9.]+) x ([0-9.]+) pts").match(field("Page size"));
    page.width = size.captured(1).toDouble();
    page.height = size.captured(2).toDouble();

    const QString boxes =
        Run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdfFile, "-"}, page.error);
    static const QRegularExpression word(
        "<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">"
        "(.*?)</word>");
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        page.words.append({Unescape(m.captured(5)), m.captured(1).toDouble(),
                           m.captured(2).toDouble(), m.captured(3).toDouble(),
                           m.captured(4).toDouble()});
    }
    return page;
}
