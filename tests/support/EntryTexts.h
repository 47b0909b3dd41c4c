#pragma once
// The main window's entry texts as tests write them down, each with the name of its box, and
// the status line a computation of them ends in.
#include <QList>
#include <QString>

struct EntryText {
    QString box;
    QString text;
};
using EntryTexts = QList<EntryText>;

// "box=text|box=text": any boxes, each with its text (which may be empty or hold blanks).
EntryTexts NamedEntries(const QString& entries);

// "R1;V1;A1;D1;P1;M1" and "R2;V2;A2;P2;M2": the main residence's column (REND1 to MESI1) and the
// other buildings' (Edit1 to Edit6), in the order the user fills them.
EntryTexts ColumnEntryTexts(const QString& main, const QString& other);

// The status line under the results: the yearly tax and the instalment, as the user reads them.
QString StatusLineOf(const QString& yearly, const QString& instalment);
