// The yardstick for the start-up: a bare Qt Widgets window of the main window's size with one
// line edit and one button, shown at once. It takes the program's application font (8-point
// Liberation Sans), so that both pay the same font set-up and the difference is what the
// program itself adds.
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt Widgets window"));
    window.resize(582, 412);
    (new QLineEdit(QStringLiteral("Calcolo ICI dei fabbricati"), &window))
        ->setGeometry(10, 10, 200, 21);
    (new QPushButton(QStringLiteral("C&alcola"), &window))->setGeometry(10, 40, 75, 25);
    window.show();
    return QApplication::exec();
}
