#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quotario");
    QWidget window;
    window.setWindowTitle("Quotario");
    window.show();
    return QApplication::exec();
}
