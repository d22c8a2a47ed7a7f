// The simulator as a program on a real socket: it holds the units' port,
// hears unicast and limited broadcast, answers the sender after the delay
// asked for, and logs each datagram. Runs only inside a private network namespace.

#include "support/hex.h"
#include "support/private_network.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTest>
#include <QUdpSocket>

class TestUnitSimSocket : public QObject
{
    Q_OBJECT

private slots:
    void answersSendersOverTheNetwork()
    {
        REQUIRE_PRIVATE_NETWORK();
        QProcess sim;
        sim.start(QStringLiteral(CORVANE_UNIT_SIM), {"--ids", "1", "--errors", "1", "--delay", "150"});
        const auto stop = qScopeGuard([&sim] {
            sim.kill();
            sim.waitForFinished(3000);
        });
        QVERIFY2(sim.waitForReadyRead(5000), qPrintable(sim.errorString())); // its "ready" line

        QUdpSocket client;
        QVERIFY2(client.bind(QHostAddress(QHostAddress::AnyIPv4), 0), qPrintable(client.errorString()));
        const QByteArray play = QByteArray::fromStdString(FromHex("F1 01 04 31 40 50 4C 0D FF 01 1F F2"));
        QElapsedTimer clock;
        clock.start();
        for (const auto &[to, reply] :
             {std::pair{QHostAddress::LocalHost, "E00"}, {QHostAddress::Broadcast, "R"}}) {
            QCOMPARE(client.writeDatagram(play, QHostAddress(to), 2639), qint64(play.size()));
            QVERIFY(client.waitForReadyRead(2000));
            QCOMPARE(client.receiveDatagram().data(), QByteArray(reply));
        }
        QVERIFY2(clock.elapsed() >= 2 * 150, qPrintable(QString::number(clock.elapsed())));
        QByteArray log;
        QTRY_VERIFY(
            (log += sim.readAllStandardOutput())
                .contains(":" + QByteArray::number(client.localPort()) +
                          " to=255.255.255.255 size=12 hex=[F1 01 04 31 40 50 4C 0D FF 01 1F F2] "
                          "frame=command id=1 cmd=\"PL\\r\" answer=R\nunit 1: mode stopped -> playing\n"));

        QProcess second; // the port is held: a second simulator says so and stops
        second.start(QStringLiteral(CORVANE_UNIT_SIM), {});
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 1);
    }
};

QTEST_GUILESS_MAIN(TestUnitSimSocket)
#include "tst_unit_sim_socket.moc"
