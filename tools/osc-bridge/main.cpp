// SPDX-License-Identifier: MIT
// corvane-osc: a bridge from Open Sound Control to the units, so that cue
// software and control surfaces press the window's buttons with OSC
// messages. This file reads the command line and starts the bridge.

#include "controller/input_checks.h"
#include "net/ipv4_text.h"
#include "osc_bridge.h"
#include "protocol/unit_conventions.h"
#include "quit_on_signals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

namespace {

enum Status : int { Ended = 0, CannotStart = 1, BadInput = 2 };

constexpr std::uint32_t kLoopback = 0x7F000001;

std::string Latin1(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

struct ListenAddress
{
    std::uint32_t address = kLoopback;
    std::uint16_t port = 0;
};

// [ADDR:]PORT, ADDR four decimal numbers; loopback when left out.
std::optional<ListenAddress> ReadListen(const QString &text)
{
    ListenAddress listen;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const auto address = corvane::ParseDottedQuad(Latin1(text.left(colon)));
        if (!address)
            return std::nullopt;
        listen.address = *address;
    }
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    listen.port = static_cast<std::uint16_t>(port);
    return listen;
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
        "/unit/ID/reply, /unit/ID/resends-spent, /unit/ID/timeout or /unit/ID/error."));
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
    parser.addOptions({listenOption, addressOption, timeoutOption});
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

    const std::optional<ListenAddress> listen = ReadListen(parser.value(listenOption));
    const std::string address = Latin1(parser.value(addressOption));
    bool timeoutOk = false;
    const int timeoutMs = parser.value(timeoutOption).toInt(&timeoutOk);
    if (!parser.positionalArguments().isEmpty()) {
        qCCritical(lcOsc).noquote() << "takes no arguments, only options; see --help";
        return BadInput;
    }
    if (!listen) {
        qCCritical(lcOsc).noquote() << "invalid --listen, want [ADDR:]PORT:" << parser.value(listenOption);
        return BadInput;
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
    corvane::OscBridge bridge{std::chrono::milliseconds(timeoutMs)};
    QString error;
    if (!bridge.listen(listen->address, listen->port, &error)) {
        qCCritical(lcOsc).noquote() << "cannot listen on" << listenText + QStringLiteral(":") << error;
        return CannotStart;
    }
    bridge.startUp(address);
    qCInfo(lcOsc).noquote() << "taking OSC on" << listenText << "and sending to"
                            << parser.value(addressOption) << "port" << corvane::kUnitPort;
    QCoreApplication::exec();
    return Ended;
}
