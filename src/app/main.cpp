// The Quorvane desktop program: the application object does everything.
#include "app/QVNApp.h"
#include "platform/HugePages.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    qvn::UseHugePagesForTheHeap(argv);
    QApplication qt(argc, argv);
    CQVNApp app;
    return app.Run(QApplication::arguments());
}
