// SPDX-License-Identifier: MIT
#include "support/private_network.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QStringList>

std::string WhyNotPrivateNetwork()
{
    if (qEnvironmentVariable("CORVANE_PRIVATE_NETWORK") != QLatin1String("inside"))
        return "not run through tests/support/private-network.sh; nothing is sent from the host's own "
               "network";
#ifndef Q_OS_WIN // Windows, and Wine, name interfaces their own way: their addresses tell.
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        if (!QStringList{QStringLiteral("lo"), QStringLiteral("corvane0"), QStringLiteral("corvane1")}
                 .contains(interface.name()))
            return "interface " + interface.name().toStdString() +
                   " is visible: this is not a private namespace";
    }
#endif
    for (const QHostAddress &ip : QNetworkInterface::allAddresses()) {
        if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback() &&
            ip != QHostAddress(QStringLiteral("10.99.0.1")))
            return "address " + ip.toString().toStdString() + " is visible: this is not a private namespace";
    }
    return {};
}
