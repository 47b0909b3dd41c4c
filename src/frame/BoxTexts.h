#pragma once
// The windows hand the rules the texts of their boxes and show the rules' texts, unchanged:
// UTF-8 on the rules' side, QString on the windows'.
#include <QLabel>
#include <QLineEdit>
#include <QString>

#include <string>

inline std::string StdText(const QLineEdit* box) {
    return box->text().toStdString();
}

inline std::string StdText(const QLabel* label) {
    return label->text().toStdString();
}

inline QString QText(const std::string& text) {
    return QString::fromStdString(text);
}
