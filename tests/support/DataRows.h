#pragma once
// Data rows written one to a line: the tag, then a value for each column in order.
#include <QTest>

template <class... Values> void AddRow(const char* tag, const Values&... values) {
    (QTest::newRow(tag) << ... << values);
}

// A row tagged with its first value: the name of the control or case it is about.
template <class... Values> void AddNamedRow(const char* name, const Values&... values) {
    AddRow(name, name, values...);
}
