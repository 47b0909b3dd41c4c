#include "support/EntryTexts.h"

#include <QStringList>
#include <QTest>

namespace {

const QStringList MainColumn = {"REND1", "RIVAL1", "ALIQ1", "DETR1", "PERC1", "MESI1"};
const QStringList OtherColumn = {"Edit1", "Edit2", "Edit3", "Edit5", "Edit6"};

// A mistyped row fails its test instead of filling the boxes with whatever it happens to hold.
void AddColumn(const QStringList& boxes, const QString& column, EntryTexts& entries) {
    const QStringList texts = column.split(';');
    if (texts.size() != boxes.size()) {
        QTest::qFail(qPrintable(QString("\"%1\" has %2 texts for the %3 boxes %4")
                                    .arg(column)
                                    .arg(texts.size())
                                    .arg(boxes.size())
                                    .arg(boxes.join(' '))),
                     __FILE__, __LINE__);
        return;
    }
    for (qsizetype i = 0; i < boxes.size(); ++i)
        entries.append({boxes[i], texts[i]});
}

} // namespace

EntryTexts NamedEntries(const QString& entries) {
    EntryTexts result;
    for (const QString& entry : entries.split('|')) {
        const qsizetype equals = entry.indexOf('=');
        if (equals < 0) {
            QTest::qFail(qPrintable("no box=text: \"" + entry + "\""), __FILE__, __LINE__);
            continue;
        }
        result.append({entry.left(equals), entry.mid(equals + 1)});
    }
    return result;
}

EntryTexts ColumnEntryTexts(const QString& main, const QString& other) {
    EntryTexts result;
    AddColumn(MainColumn, main, result);
    AddColumn(OtherColumn, other, result);
    return result;
}

QString StatusLineOf(const QString& yearly, const QString& instalment) {
    return QString::fromUtf8(" L'ICI da pagare è € ") + yearly +
           QString::fromUtf8(" cioè DUE rate da € ") + instalment + "-- Scadenza 30/6  - 20/12 --";
}
