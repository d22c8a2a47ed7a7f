// SPDX-License-Identifier: MIT
// corvane-send: one press of one of the window's buttons, from a script or a
// show-control cue. The window's controller applies every rule through
// HeadlessController; this file only reads the command line, presses, and
// turns the outcome into output and an exit status.

#include "button_names.h"
#include "headless_controller.h"
#include "controller/input_checks.h"
#include "net/ipv4_text.h"
#include "net/latin1.h"
#include "protocol/printable.h"
#include "protocol/unit_conventions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

namespace {

Q_LOGGING_CATEGORY(lcSend, "corvane-send")

enum Status : int { Replied = 0, SocketFailed = 1, BadInput = 2, ResendsSpent = 3, NoReply = 4 };

using corvane::Latin1;

// The reply as a line on stdout; a reader's terminal sees no raw control bytes.
bool PrintReply(const std::string &reply)
{
    const std::string line = corvane::Printable(reply) + '\n';
    return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fflush(stdout) == 0;
}

struct Request
{
    std::string address;
    std::string unitId;
    corvane::ButtonPress button;
    std::string clip;
    int timeoutMs = 0;
};

// Reads the command line; on a mistake says what is wrong and gives nothing.
std::optional<Request> ReadRequest(QCommandLineParser &parser, const QStringList &arguments)
{
    const QCommandLineOption address(QStringLiteral("address"),
                                     QStringLiteral("Where the command goes (default 255.255.255.255, every "
                                                    "unit on the network)."),
                                     QStringLiteral("A"), QStringLiteral("255.255.255.255"));
    const QCommandLineOption id(QStringLiteral("id"),
                                QStringLiteral("Unit ID, 0-127, sent as written (default 1)."),
                                QStringLiteral("N"), QStringLiteral("1"));
    const QString defaultTimeout = QString::number(corvane::kReplyTimeout.count());
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        QStringLiteral("Milliseconds to wait for each reply (default %1).").arg(defaultTimeout),
        QStringLiteral("MS"), defaultTimeout);
    parser.setApplicationDescription(
        QStringLiteral("Sends one command to a Tesk2 playback unit, as the Corvane "
                       "window's buttons do, and prints the unit's reply."));
    parser.addOptions({address, id, timeout});
    parser.addPositionalArgument(QStringLiteral("COMMAND"), Latin1(corvane::ButtonNameList() + '.'));
    parser.addPositionalArgument(QStringLiteral("CLIP"),
                                 QStringLiteral("For select: the clip number, 0 to 5 digits."),
                                 QStringLiteral("[CLIP]"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(arguments)) {
        qCCritical(lcSend).noquote() << parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();

    Request request{Latin1(parser.value(address)), Latin1(parser.value(id)), corvane::Command::Play, {}, 0};
    const QStringList words = parser.positionalArguments();
    const auto button = words.isEmpty() ? std::nullopt : corvane::ButtonNamed(Latin1(words.first()));
    const bool select = button && std::holds_alternative<corvane::Command>(*button) &&
                        std::get<corvane::Command>(*button) == corvane::Command::SelectClip;
    bool timeoutOk = false;
    request.timeoutMs = parser.value(timeout).toInt(&timeoutOk);
    if (!button) {
        qCCritical(lcSend).noquote() << (words.isEmpty()
                                             ? QStringLiteral("no command given")
                                             : QStringLiteral("unknown command: ") + words.first());
    } else if (words.size() != (select ? 2 : 1)) {
        qCCritical(lcSend).noquote() << (select ? QStringLiteral("select takes one clip number")
                                                : words.first() + QStringLiteral(" takes no clip number"));
    } else if (select && !corvane::IsClipText(Latin1(words.at(1)))) {
        qCCritical(lcSend).noquote() << QStringLiteral("invalid clip number (0 to 5 digits):") << words.at(1);
    } else if (!timeoutOk || request.timeoutMs <= 0) {
        qCCritical(lcSend).noquote() << QStringLiteral("invalid timeout (milliseconds, 1 or more):")
                                     << parser.value(timeout);
    } else if (corvane::IsIpTextValid(request.address) && !corvane::ParseDottedQuad(request.address)) {
        // The window's check looks at four groups only and lets "1.2.3.4.5"
        // through to the socket, which cannot send there.
        qCCritical(lcSend).noquote() << QStringLiteral("not an IPv4 address of four numbers:")
                                     << parser.value(address);
    } else {
        request.button = *button;
        if (select)
            request.clip = Latin1(words.at(1));
        return request;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-send"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    QCommandLineParser parser;
    const std::optional<Request> request = ReadRequest(parser, QCoreApplication::arguments());
    if (!request)
        return BadInput;

    int status = -1;
    const auto end = [&status](int code) {
        status = code;
        QCoreApplication::exit(code); // no effect before the event loop runs
    };
    const auto print = [&end](const std::string &reply, int code) {
        if (!PrintReply(reply)) {
            qCCritical(lcSend) << "cannot write the reply to standard output";
            code = SocketFailed;
        }
        end(code);
    };

    corvane::HeadlessController unit(std::chrono::milliseconds(request->timeoutMs));
    QObject::connect(&unit, &corvane::HeadlessController::checkFailed, [&end](const QString &message) {
        qCCritical(lcSend).noquote() << message;
        end(BadInput);
    });
    QObject::connect(&unit, &corvane::HeadlessController::socketError, [&end](const QString &message) {
        qCCritical(lcSend).noquote() << message;
        end(SocketFailed);
    });
    QObject::connect(&unit, &corvane::HeadlessController::sentWithoutReply, [&end] { end(Replied); });
    QObject::connect(&unit, &corvane::HeadlessController::replied,
                     [&print](const std::string &reply) { print(reply, Replied); });
    QObject::connect(&unit, &corvane::HeadlessController::resendsSpent,
                     [&print](const std::string &reply) { print(reply, ResendsSpent); });
    QObject::connect(&unit, &corvane::HeadlessController::timedOut, [&end] {
        qCCritical(lcSend) << "no reply from the unit";
        end(NoReply);
    });

    unit.startUp(request->address);
    unit.press(request->unitId, request->button, request->clip);
    return status >= 0 ? status : QCoreApplication::exec();
}
