#pragma once
// Whole files as a test writes and reads them: the bytes as they are, nothing decoded.
#include <QByteArray>
#include <QString>

#include <optional>
#include <string>

// All the bytes of a file; nothing when it cannot be read.
std::optional<QByteArray> ReadFile(const QString& path);

// The same for a comparison with the bytes expected: "<missing>" when there is no file,
// "<unreadable>" when it cannot be opened, so that a failure says which it was.
QByteArray ReadBytes(const QString& path);

// Makes the file hold exactly these bytes; false when it could not.
bool WriteBytes(const QString& path, const QByteArray& bytes);

// A std::string's bytes, NUL bytes and all.
inline QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}
