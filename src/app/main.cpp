#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Untitled - Quorvane"));
    window.showMaximized();
    return QApplication::exec();
}
