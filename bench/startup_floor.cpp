// The least a Qt Widgets program does to show one window with a bound UDP
// socket: one empty widget, one socket bound to the program's first port.

#include "support/startup_probe.h"

#include <QApplication>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QUdpSocket>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    auto *socket = new QUdpSocket(&window);
    socket->setProxy(QNetworkProxy::NoProxy);
    socket->bind(QHostAddress(QHostAddress::AnyIPv4), 1028, QAbstractSocket::DontShareAddress);
    window.show();
    bench::ReportWhenShown(window);
    return app.exec();
}
