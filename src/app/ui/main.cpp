// The Kelmora desktop program.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelmora"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kelmora"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
