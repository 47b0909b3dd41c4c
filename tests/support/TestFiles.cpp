#include "support/TestFiles.h"

#include <QFile>

std::optional<QByteArray> ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QByteArray ReadBytes(const QString& path) {
    if (!QFile::exists(path))
        return "<missing>";
    return ReadFile(path).value_or("<unreadable>");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}
