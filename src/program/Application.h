#pragma once
// The application object. Every handler already runs inside the guard; catching here as well
// is only the last net for an error thrown by code that was entered some other way.
#include <QApplication>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The title, Qt's Italian texts, the icon, the font and the hints the whole program shares;
// tests call it on their own application object.
void PrepareApplication(QApplication& application);

// What main returns at the end of the event loop. While a page is still being handed over to a
// print system that does not answer, the process ends here at once: tearing down the
// application under that thread's painting would crash the program on its way out.
int EndProgram(int exitCode);
