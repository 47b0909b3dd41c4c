#pragma once
// main() of a window test: the program's own application object (with its last safety net
// and its font), then the test class, and the program's own way out.
#include "program/Application.h"

#include <QTest>

#define QUOTARIO_GUI_TEST_MAIN(TestClass)                                                          \
    int main(int argc, char* argv[]) {                                                             \
        TApplication application(argc, argv);                                                      \
        TestClass test;                                                                            \
        return EndProgram(QTest::qExec(&test, argc, argv));                                        \
    }
