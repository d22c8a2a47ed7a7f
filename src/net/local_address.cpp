// SPDX-License-Identifier: MIT
#include "net/local_address.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QUdpSocket>

namespace corvane {

namespace {

// Connecting a UDP socket sends nothing; it only makes the kernel choose the
// route, and with it the source address, for the given destination. With an
// address rather than a name there is no lookup, so the socket is connected,
// or has failed, when connectToHost() returns.
std::string DefaultRouteSource()
{
    QUdpSocket probe;
    probe.setProxy(QNetworkProxy::NoProxy);
    probe.connectToHost(QHostAddress(QStringLiteral("192.0.2.1")), 9); // a documentation address
    if (probe.state() != QAbstractSocket::ConnectedState)
        return {};
    const QHostAddress local = probe.localAddress();
    if (local.protocol() != QAbstractSocket::IPv4Protocol || local == QHostAddress(QHostAddress::AnyIPv4))
        return {};
    return local.toString().toStdString();
}

std::string FirstInterfaceAddress()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString().toStdString();
        }
    }
    return {};
}

} // namespace

std::string PrimaryLocalIPv4()
{
    std::string address = DefaultRouteSource();
    if (address.empty())
        address = FirstInterfaceAddress();
    return address.empty() ? "127.0.0.1" : address;
}

} // namespace corvane
