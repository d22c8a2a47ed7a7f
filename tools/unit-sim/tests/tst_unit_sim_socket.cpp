// The simulator as a program on a real socket: it binds the units' port,
// hears unicast and limited broadcast, answers the sender and logs each step.
// Runs only inside the private network namespace of private-network.sh.

#include "protocol/command_frame.h"
#include "support/hex.h"
#include "support/private_network.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTest>
#include <QUdpSocket>

namespace {

constexpr quint16 kUnitPort = 2639;
constexpr int kReplyDelayMs = 150;

// Sends one datagram and returns the first reply within `ms`, or "(none)".
QByteArray Exchange(QUdpSocket &socket, const std::string &payload, const QHostAddress &to, int ms = 1000)
{
    if (socket.writeDatagram(QByteArray::fromStdString(payload), to, kUnitPort) < 0)
        return "(send failed: " + socket.errorString().toUtf8() + ')';
    if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(ms))
        return "(none)";
    return socket.receiveDatagram().data();
}

} // namespace

class TestUnitSimSocket : public QObject
{
    Q_OBJECT

private slots:
    void answersSendersOverTheNetwork();
};

void TestUnitSimSocket::answersSendersOverTheNetwork()
{
    REQUIRE_PRIVATE_NETWORK();
    QProcess sim;
    sim.start(QStringLiteral(CORVANE_UNIT_SIM),
              {QStringLiteral("--ids"), QStringLiteral("1,5"), QStringLiteral("--errors"),
               QStringLiteral("1"), QStringLiteral("--delay"), QString::number(kReplyDelayMs)});
    const auto stop = qScopeGuard([&sim] {
        sim.kill();
        sim.waitForFinished(3000);
    });
    QVERIFY2(sim.waitForStarted(5000), qPrintable(sim.errorString()));
    QByteArray log;
    const auto logged = [&](const QByteArray &text) {
        QElapsedTimer clock;
        clock.start();
        while (!(log += sim.readAllStandardOutput()).contains(text) && clock.elapsed() < 5000 &&
               sim.state() != QProcess::NotRunning)
            sim.waitForReadyRead(50);
        return log.contains(text);
    };
    QVERIFY2(logged("ready port=2639 "), log.constData());

    QUdpSocket client;
    QVERIFY2(client.bind(QHostAddress(QHostAddress::AnyIPv4), 0), qPrintable(client.errorString()));
    const QHostAddress loopback(QHostAddress::LocalHost);
    const std::string play1 = FromHex("F1 01 04 31 40 50 4C 0D FF 01 1F F2");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(Exchange(client, play1, loopback), QByteArray("E00")); // the rehearsed error
    QVERIFY2(clock.elapsed() >= kReplyDelayMs - 10, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(Exchange(client, play1, loopback), QByteArray("R"));
    QCOMPARE(Exchange(client, corvane::CommandFrame("005", "1AD\r"), QHostAddress(QHostAddress::Broadcast)),
             QByteArray("R"));
    QCOMPARE(Exchange(client, FromHex("F1 01 04 31 40 50 4C 0D FF 01 20 F2"), loopback), QByteArray("E00"));
    QCOMPARE(Exchange(client, corvane::CommandFrame("9", "PL\r"), loopback, 400), QByteArray("(none)"));
    QCOMPARE(Exchange(client, std::string(65507, '\xF1'), loopback, 400), QByteArray("(none)"));

    const QByteArray from = "rx from=127.0.0.1:" + QByteArray::number(client.localPort());
    QVERIFY2(logged(from + " to=127.0.0.1 size=12 hex=[F1 01 04 31 40 50 4C 0D FF 01 1F F2] "
                           "frame=command id=1 cmd=\"PL\\r\" answer=R"),
             log.constData());
    QVERIFY2(logged("size=65507 "), log.constData());
    QVERIFY(log.contains("unit 1: mode stopped -> playing"));
    QVERIFY(log.contains(" to=255.255.255.255 "));
    QCOMPARE(log.count("\ntx to="), 4);

    // The port is held; a second simulator on it says so and stops.
    QProcess second;
    second.start(QStringLiteral(CORVANE_UNIT_SIM), {});
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 1);
}

QTEST_GUILESS_MAIN(TestUnitSimSocket)
#include "tst_unit_sim_socket.moc"
