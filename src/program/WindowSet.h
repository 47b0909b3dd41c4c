#pragma once
// The program's three windows, created once in this order: the main window (which installs
// the program's error handler), the summary window and the report carrier. The set owns them; the
// globals Form1, Form2 and QRFM only point at them while the set lives.
#include <QStringList>

#include <memory>

class TForm1;
class TForm2;
class TQRFM;

class WindowSet {
public:
    WindowSet();
    // Destroys the windows in the opposite order, each global cleared with its window.
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TQRFM> qrfm_;
};

// The data file the command line names (a double click on one names it), opened in the main
// window once the program has started; nothing when it names none.
void OpenDataFileOfCommandLine(const QStringList& arguments);
