// The real window under hostile traffic: datagrams of the largest size and of
// any bytes, floods of "E00" from a port that is not the unit's, floods while a
// modal box is open, and every port it could want held by someone else. Each
// must leave it running, responsive and sending no more than its rules allow.
// Runs in a private network namespace; the window talks to 127.0.0.1 only.

#include "net/udp_endpoint.h"
#include "support/box_answerer.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

using namespace corvane;

namespace {

constexpr quint16 kWindowPort = 1028;
constexpr quint16 kUnitPort = 2639;
const QByteArray kPlayFrame = QByteArray::fromHex("F1 01 04 31 40 50 4C 0D FF 01 1F F2");

// The unit's side: counts and keeps every frame that reaches the command port.
class FrameCounter : public QObject
{
public:
    FrameCounter()
    {
        QVERIFY2(m_socket.bind(QHostAddress::LocalHost, kUnitPort), qPrintable(m_socket.errorString()));
        connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
            while (m_socket.hasPendingDatagrams()) {
                QByteArray frame(static_cast<int>(m_socket.pendingDatagramSize()), '\0');
                m_socket.readDatagram(frame.data(), frame.size());
                frames << frame;
            }
        });
    }
    QList<QByteArray> frames;

private:
    QUdpSocket m_socket;
};

// Someone else on the network: sends from a port of its own to the window's.
class Stranger
{
public:
    Stranger() { m_socket.bind(QHostAddress::LocalHost, 0); }

    void send(const QByteArray &datagram)
    {
        QCOMPARE(m_socket.writeDatagram(datagram, QHostAddress::LocalHost, kWindowPort),
                 qint64(datagram.size()));
    }

    // Sends in small bursts with the event loop turning between them, so the
    // window's receive buffer never overflows and every datagram counts.
    void flood(const QByteArray &datagram, int count)
    {
        for (int sent = 0; sent < count; ++sent) {
            send(datagram);
            if (sent % 20 == 19)
                QTest::qWait(2);
        }
    }

private:
    QUdpSocket m_socket;
};

// The window started as the program starts it, sending to 127.0.0.1.
struct Session
{
    BoxAnswerer boxes;
    Main window;
    QLineEdit *reply = nullptr;

    Session()
    {
        window.startUp();
        window.show();
        window.ops().setText(Field::BroadIPtxt, "127.0.0.1");
        reply = window.findChild<QLineEdit *>(QStringLiteral("TeskRspTxt"));
    }

    void press(const char *button) { window.findChild<QPushButton *>(QLatin1String(button))->click(); }
};

// Holds a range of ports on every local address, as another program would.
class HeldPorts
{
public:
    HeldPorts(int first, int last)
    {
        rlimit limit{};
        getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
        for (int port = first; port <= last; ++port) {
            const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(static_cast<quint16>(port));
            address.sin_addr.s_addr = htonl(INADDR_ANY);
            if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
                if (fd >= 0)
                    ::close(fd);
                return;
            }
            m_fds.push_back(fd);
        }
        m_complete = true;
    }
    ~HeldPorts()
    {
        for (const int fd : m_fds)
            ::close(fd);
    }
    bool complete() const { return m_complete; }

private:
    std::vector<int> m_fds;
    bool m_complete = false;
};

} // namespace

class TestAbuse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void largestDatagramIsTakenWhole();
    void anyByteShowsAsOneLatin1Char();
    void e00FloodFromAStrangerStaysWithinTheBound();
    void floodWhileADataErrorBoxIsOpen();
    void everyPortUpToTheUnitsHeldStartsOn2640();
};

void TestAbuse::init() { REQUIRE_PRIVATE_NETWORK(); }

void TestAbuse::largestDatagramIsTakenWhole()
{
    Session session;
    Stranger stranger;
    // Rising byte values never spell "E00", so the reply is shown, not answered.
    QByteArray largest(65507, '\0');
    for (int i = 0; i < largest.size(); ++i)
        largest[i] = static_cast<char>(i % 255 + 1);
    stranger.send(largest);

    QTRY_COMPARE(session.reply->text().size(), qsizetype(65507));
    QCOMPARE(session.reply->text(), QString::fromLatin1(largest));
    QCOMPARE(session.window.ops().text(Field::TeskRspTxt).size(), std::size_t(65507));
    QVERIFY(session.boxes.seen.isEmpty());
}

void TestAbuse::anyByteShowsAsOneLatin1Char()
{
    Session session;
    Stranger stranger;
    const QByteArray controls("A\0B\rC\nD\x7F", 8);
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b)
        high.append(static_cast<char>(b));

    for (const QByteArray &datagram : {controls, high, controls + high}) {
        stranger.send(datagram);
        QTRY_COMPARE(session.reply->text().size(), datagram.size());
        for (int i = 0; i < datagram.size(); ++i)
            QCOMPARE(session.reply->text().at(i).unicode(),
                     char16_t(static_cast<unsigned char>(datagram[i])));
    }
    QVERIFY(session.boxes.seen.isEmpty());
}

void TestAbuse::e00FloodFromAStrangerStaysWithinTheBound()
{
    FrameCounter unit;
    Session session;
    Stranger stranger;

    session.press("PlayCmd");
    QTRY_COMPARE(unit.frames.size(), 1);
    stranger.flood("E00", 300);
    QTRY_COMPARE(unit.frames.size(), 1 + 41);
    QTest::qWait(100); // and not one more
    QCOMPARE(unit.frames.size(), 1 + 41);
    QCOMPARE(session.reply->text(), QStringLiteral("E00")); // the 42nd stays shown

    // A new command has a bound of its own.
    session.press("PlayCmd");
    stranger.flood("e00", 300);
    QTRY_COMPARE(unit.frames.size(), 2 * (1 + 41));
    QTest::qWait(100);
    QCOMPARE(unit.frames.size(), 2 * (1 + 41));
    for (const QByteArray &frame : unit.frames)
        QCOMPARE(frame.toHex(' '), kPlayFrame.toHex(' '));
    QVERIFY(session.boxes.seen.isEmpty());
}

void TestAbuse::floodWhileADataErrorBoxIsOpen()
{
    FrameCounter unit;
    Session session;
    Stranger stranger;
    auto *endpoint = session.window.findChild<UdpEndpoint *>();
    int handledWhileBoxOpen = 0;
    connect(endpoint, &UdpEndpoint::datagramArrived, this, [&handledWhileBoxOpen] {
        if (QApplication::activeModalWidget())
            ++handledWhileBoxOpen;
    });

    // A frame went out before, so a resend during the box would have something to send.
    session.press("PlayCmd");
    QTRY_COMPARE(unit.frames.size(), 1);
    session.window.ops().setText(Field::TeskIDtxt, "");
    // Waiting in the socket when the box opens, and more arriving while it is open.
    for (int i = 0; i < 50; ++i)
        stranger.send(i % 2 ? "E00" : "R");
    QTimer::singleShot(0, this, [&stranger] {
        stranger.send(QByteArray(60000, 'x'));
        for (int i = 0; i < 50; ++i)
            stranger.send(QByteArray("E00\0\xFF", 5));
    });
    session.press("PlayCmd");

    QCOMPARE(session.boxes.seen, QStringList{QStringLiteral("Data Error: Invalid Tesk2 ID! (0-127)")});
    QVERIFY(handledWhileBoxOpen > 0);
    QTest::qWait(100);
    QCOMPARE(unit.frames.size(), 1); // the abandoned command sent nothing, nor resent the one before

    // Still fully working afterwards.
    session.window.ops().setText(Field::TeskIDtxt, "1");
    session.press("PlayCmd");
    QTRY_COMPARE(unit.frames.size(), 2);
    QCOMPARE(unit.frames.back().toHex(' '), kPlayFrame.toHex(' '));
    QCOMPARE(session.boxes.seen.size(), 1);
}

void TestAbuse::everyPortUpToTheUnitsHeldStartsOn2640()
{
    const HeldPorts held(kWindowPort, kUnitPort - 1);
    QVERIFY2(held.complete(), "the ports 1028-2638 cannot all be held here");
    Session session;

    QCOMPARE(session.window.ops().text(Field::LocalPortTxt), std::string("2640"));
    QVERIFY(session.boxes.seen.isEmpty());
    // Bound there for real: a datagram to 2640 reaches the reply field.
    QUdpSocket probe;
    probe.writeDatagram("here", QHostAddress::LocalHost, 2640);
    QTRY_COMPARE(session.reply->text(), QStringLiteral("here"));
}

QTEST_MAIN(TestAbuse)
#include "tst_abuse.moc"
