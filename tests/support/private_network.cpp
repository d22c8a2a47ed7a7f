// SPDX-License-Identifier: MIT
#include "support/private_network.h"

#include <QNetworkInterface>

bool InPrivateNetwork(QString *whyNot)
{
    if (qEnvironmentVariable("CORVANE_PRIVATE_NETWORK") != QLatin1String("inside")) {
        *whyNot = QStringLiteral("not run through tests/support/private-network.sh; nothing is sent "
                                 "from the host's own network");
        return false;
    }
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
#ifndef Q_OS_WIN // Windows, and Wine, name interfaces their own way: their addresses tell.
        if (!QStringList{"lo", "corvane0", "corvane1"}.contains(interface.name())) {
            *whyNot = QStringLiteral("interface %1 is visible: this is not a private namespace")
                          .arg(interface.name());
            return false;
        }
#endif
    }
    for (const QHostAddress &ip : QNetworkInterface::allAddresses()) {
        if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback() &&
            ip != QHostAddress(QStringLiteral("10.99.0.1"))) {
            *whyNot =
                QStringLiteral("address %1 is visible: this is not a private namespace").arg(ip.toString());
            return false;
        }
    }
    return true;
}
