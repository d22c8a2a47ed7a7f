// SPDX-License-Identifier: MIT
// The headless controller against a unit played by a plain socket: what only
// its own timer can show. Everything else that ends a press is the scripts'
// of corvane-send and corvane-osc.

#include "headless_controller.h"
#include "protocol/unit_conventions.h"
#include "support/private_network.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

using namespace corvane;

class TestHeadless : public QObject
{
    Q_OBJECT

private slots:
    void init() { REQUIRE_PRIVATE_NETWORK(); }

    // The window's timer stops at the first reply; here each resend waits its own full time.
    void e00ThenSilenceTimesOut()
    {
        QUdpSocket unit;
        QVERIFY2(unit.bind(QHostAddress(QHostAddress::LocalHost), kUnitPort), qPrintable(unit.errorString()));
        int frames = 0;
        connect(&unit, &QUdpSocket::readyRead, &unit, [&unit, &frames] {
            const QNetworkDatagram frame = unit.receiveDatagram();
            if (++frames == 1)
                unit.writeDatagram("E00\r", frame.senderAddress(), frame.senderPort());
        });
        HeadlessController headless(std::chrono::milliseconds(200));
        QSignalSpy timedOut(&headless, &HeadlessController::timedOut);
        QSignalSpy replied(&headless, &HeadlessController::replied);
        headless.startUp("127.0.0.1");
        headless.press("1", Command::Play);
        QTRY_COMPARE_WITH_TIMEOUT(timedOut.count(), 1, 3000);
        QCOMPARE(frames, 2);
        QCOMPARE(replied.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
