// The least a Qt Widgets program does to show one window with a bound UDP
// socket: one empty widget, one socket bound to the program's first port.

#include "support/startup_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    bench::BindShowAndReport(window);
    return app.exec();
}
