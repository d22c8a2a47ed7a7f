// SPDX-License-Identifier: MIT
// corvane-osc: a bridge from Open Sound Control to the units, so that cue
// software and control surfaces press the window's buttons with OSC
// messages. This file reads the command line and starts the bridge.

#include "controller/input_checks.h"
#include "net/ipv4_text.h"
#include "net/latin1.h"
#include "osc_bridge.h"
#include "protocol/unit_conventions.h"
#include "quit_on_signals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkInterface>

#include <algorithm>

namespace {

enum Status : int { Ended = 0, CannotStart = 1, BadInput = 2 };

constexpr std::uint32_t kLoopback = 0x7F000001;

// [ADDR:]PORT, ADDR four decimal numbers; `otherwise` when left out.
std::optional<corvane::Peer> ReadPeer(const QString &text, std::uint32_t otherwise)
{
    corvane::Peer peer{otherwise, 0};
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const auto address = corvane::ParseDottedQuad(corvane::Latin1(text.left(colon)));
        if (!address)
            return std::nullopt;
        peer.address = *address;
    }
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    peer.port = static_cast<std::uint16_t>(port);
    return peer;
}

// A socket bound to a broadcast address hears only broadcasts and cannot
// answer from it.
bool IsBroadcast(std::uint32_t address)
{
    if (address == 0xFFFFFFFF)
        return true;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    return std::any_of(interfaces.begin(), interfaces.end(), [address](const QNetworkInterface &interface) {
        const QList<QNetworkAddressEntry> entries = interface.addressEntries();
        return std::any_of(entries.begin(), entries.end(), [address](const QNetworkAddressEntry &entry) {
            return entry.broadcast().toIPv4Address() == address;
        });
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-osc"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Takes OSC messages such as /unit/1/play and sends the command to the Tesk2 playback unit, "
        "as the Corvane window's buttons do; the outcome goes back to the sender as "
        "/unit/ID/reply, /unit/ID/resends-spent, /unit/ID/timeout or /unit/ID/error, and what each "
        "acknowledged command changed as /unit/ID/clip, /transport, /video-muted and /audio-muted."));
    const QCommandLineOption listenOption(
        QStringLiteral("listen"),
        QStringLiteral("Where to take OSC over UDP (default 127.0.0.1:9000). 0.0.0.0:PORT lets every machine "
                       "that reaches this one press the buttons."),
        QStringLiteral("[ADDR:]PORT"), QStringLiteral("127.0.0.1:9000"));
    const QCommandLineOption addressOption(
        QStringLiteral("address"),
        QStringLiteral("Where commands go (default 255.255.255.255, every unit on the network)."),
        QStringLiteral("A"), QStringLiteral("255.255.255.255"));
    const QString defaultTimeout = QString::number(corvane::kReplyTimeout.count());
    const QCommandLineOption timeoutOption(
        QStringLiteral("timeout"),
        QStringLiteral("Milliseconds to wait for each reply (default %1).").arg(defaultTimeout),
        QStringLiteral("MS"), defaultTimeout);
    const QCommandLineOption replyToOption(
        QStringLiteral("reply-to"),
        QStringLiteral(
            "Send every answer to PORT (at ADDR, else at the sender's address) instead of the port "
            "the message came from."),
        QStringLiteral("[ADDR:]PORT"));
    const QCommandLineOption feedbackOption(
        QStringLiteral("feedback"),
        QStringLiteral("Also send each acknowledged state here; may be given more than once."),
        QStringLiteral("ADDR:PORT"));
    parser.addOptions({listenOption, addressOption, timeoutOption, replyToOption, feedbackOption});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        qCCritical(lcOsc).noquote() << parser.errorText();
        return BadInput;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();

    const std::optional<corvane::Peer> listen = ReadPeer(parser.value(listenOption), kLoopback);
    const std::string address = corvane::Latin1(parser.value(addressOption));
    bool timeoutOk = false;
    const int timeoutMs = parser.value(timeoutOption).toInt(&timeoutOk);
    if (!parser.positionalArguments().isEmpty()) {
        qCCritical(lcOsc).noquote() << "takes no arguments, only options; see --help";
        return BadInput;
    }
    if (parser.values(listenOption).size() > 1 || parser.values(replyToOption).size() > 1) {
        qCCritical(lcOsc).noquote() << "--listen and --reply-to are given once at most";
        return BadInput;
    }
    if (!listen || IsBroadcast(listen->address)) {
        qCCritical(lcOsc).noquote() << "invalid --listen, want [ADDR:]PORT, ADDR not a broadcast address:"
                                    << parser.value(listenOption);
        return BadInput;
    }
    corvane::OscBridge::Options options;
    if (parser.isSet(replyToOption)) {
        options.replyTo = ReadPeer(parser.value(replyToOption), 0);
        if (!options.replyTo) {
            qCCritical(lcOsc).noquote()
                << "invalid --reply-to, want [ADDR:]PORT:" << parser.value(replyToOption);
            return BadInput;
        }
    }
    for (const QString &text : parser.values(feedbackOption)) {
        const std::optional<corvane::Peer> peer = ReadPeer(text, 0);
        if (!peer || !peer->address) {
            qCCritical(lcOsc).noquote() << "invalid --feedback, want ADDR:PORT:" << text;
            return BadInput;
        }
        options.feedback.push_back(*peer);
    }
    // The address is fixed for the run, so it is checked once, here, with
    // the window's rule; five groups would pass that rule and then fail every send.
    if (!corvane::IsIpTextValid(address) || !corvane::ParseDottedQuad(address)) {
        qCCritical(lcOsc).noquote() << "An invalid IP address was entered!" << parser.value(addressOption);
        return BadInput;
    }
    if (!timeoutOk || timeoutMs <= 0) {
        qCCritical(lcOsc).noquote() << "invalid timeout (milliseconds, 1 or more):"
                                    << parser.value(timeoutOption);
        return BadInput;
    }

    corvane::QuitOnSignals quitOnSignals;
    if (!quitOnSignals.armed()) {
        qCCritical(lcOsc).noquote() << "cannot take SIGTERM and SIGINT:" << quitOnSignals.error();
        return CannotStart;
    }
    const QString listenText =
        QHostAddress(listen->address).toString() + QLatin1Char(':') + QString::number(listen->port);
    options.replyTimeout = std::chrono::milliseconds(timeoutMs);
    corvane::OscBridge bridge{options};
    QString error;
    if (!bridge.listen(*listen, &error)) {
        qCCritical(lcOsc).noquote() << "cannot listen on" << listenText + QStringLiteral(":") << error;
        return CannotStart;
    }
    bridge.startUp(address);
    qCInfo(lcOsc).noquote() << "taking OSC on" << listenText << "and sending to"
                            << parser.value(addressOption) << "port" << corvane::kUnitPort;
    QCoreApplication::exec();
    return Ended;
}
