#include "support/hex.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTest>
#include <QUdpSocket>

#include <deque>

using namespace corvane;

namespace {

// A unit on the command port that answers each frame with the next scripted reply.
class ScriptedUnit : public QObject
{
public:
    ScriptedUnit()
    {
        QVERIFY2(m_socket.bind(QHostAddress(QHostAddress::AnyIPv4), 2639),
                 qPrintable(m_socket.errorString()));
        connect(&m_socket, &QUdpSocket::readyRead, this, [this] {
            while (m_socket.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = m_socket.receiveDatagram();
                frames << datagram.data().toHex(' ').toUpper();
                if (!replies.empty()) {
                    m_socket.writeDatagram(replies.front(), datagram.senderAddress(), datagram.senderPort());
                    replies.pop_front();
                }
            }
        });
    }

    std::deque<QByteArray> replies;
    QList<QByteArray> frames;

private:
    QUdpSocket m_socket;
};

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void operatorSessionAgainstAUnit();
};

void TestRoundTrip::operatorSessionAgainstAUnit()
{
    REQUIRE_PRIVATE_NETWORK();
    ScriptedUnit unit;
    Main window;
    window.startUp();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *reply = window.findChild<QLineEdit *>(QStringLiteral("TeskRspTxt"));
    auto *video = window.findChild<QPushButton *>(QStringLiteral("VideoMuteCmd"));

    // Play by broadcast; the unit asks three times for the frame again, then takes it.
    unit.replies = {"E00", "e00", "E00", "R"};
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("PlayCmd")), Qt::LeftButton);
    QTRY_COMPARE(unit.frames.size(), 4);
    for (const QByteArray &frame : unit.frames)
        QCOMPARE(frame, QByteArray("F1 01 04 31 40 50 4C 0D FF 01 1F F2"));
    QTRY_COMPARE(reply->text(), QStringLiteral("R"));

    // Mute Video is acknowledged, so the button now offers to unmute, and does.
    unit.frames.clear();
    unit.replies = {"R"};
    QTest::mouseClick(video, Qt::LeftButton);
    QTRY_COMPARE(video->text(), QStringLiteral("Unmute Video"));
    QTest::mouseClick(video, Qt::LeftButton);
    QTRY_COMPARE(unit.frames.size(), 2);
    QCOMPARE(unit.frames[0], QByteArray("F1 01 04 31 40 30 56 44 0D FF 01 4D F2"));
    QCOMPARE(unit.frames[1], QByteArray("F1 01 04 31 40 31 56 44 0D FF 01 4E F2"));
    QCOMPARE(video->text(), QStringLiteral("Unmute Video")); // no reply to the second press
}

QTEST_MAIN(TestRoundTrip)
#include "tst_round_trip.moc"
