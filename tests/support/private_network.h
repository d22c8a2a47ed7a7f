// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// True only inside the namespace that private-network.sh makes: its marker is
// set and the only interfaces are loopback and its veth pair. Tests that send
// anything skip themselves otherwise, so they can never reach a real network.
bool InPrivateNetwork(QString *whyNot);

#define REQUIRE_PRIVATE_NETWORK()                                                                            \
    do {                                                                                                     \
        QString whyNot;                                                                                      \
        if (!InPrivateNetwork(&whyNot))                                                                      \
            QSKIP(qPrintable(whyNot));                                                                       \
    } while (false)
