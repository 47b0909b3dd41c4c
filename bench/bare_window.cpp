// The barest Qt Widgets program: one empty window of the main window's size, shown at once.
// With --with-text the window also shows one line of text, so that the fonts are set up as in
// any window that shows text: a second yardstick, to tell what text costs from what the
// program itself adds.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt Widgets window"));
    window.resize(582, 412);
    if (argc > 1 && std::strcmp(argv[1], "--with-text") == 0)
        (new QLabel(QStringLiteral("Calcolo ICI dei fabbricati"), &window))->move(10, 10);
    window.show();
    return QApplication::exec();
}
