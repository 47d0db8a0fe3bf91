// The Quorvane desktop program: the application object does everything.
#include "app/QVNApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    CQVNApp app;
    return app.Run(QApplication::arguments());
}
