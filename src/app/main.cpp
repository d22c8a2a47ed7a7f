#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    corvane::Main window;
    window.startUp();
    window.show();
    return app.exec();
}
