// SPDX-License-Identifier: MIT
// corvane-unit-sim: behaves like one or more playback units on the network,
// so the operator tool can be rehearsed, faults included, without hardware.

#include "quit_on_signals.h"
#include "sim_server.h"
#include "simulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <optional>
#include <vector>

using namespace corvane::unitsim;

namespace {

constexpr int kUnitCommandPort = 2639;
constexpr int kHighestUnitId = 126; // 127 addresses every unit at once

std::optional<int> Number(const QString &text, int lowest, int highest)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

int Refuse(const QString &what)
{
    std::cerr << "corvane-unit-sim: " << what.toStdString() << " (see --help)\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-unit-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays one or more playback units: answers \"R\" to commands it accepts, "
                       "\"E00\" to damaged frames, \"?\" to commands it does not know, and logs "
                       "every datagram and state change on standard output."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("UDP port to listen on."),
                                  QStringLiteral("N"), QString::number(kUnitCommandPort));
    const QCommandLineOption ids(QStringLiteral("ids"),
                                 QStringLiteral("Unit IDs to play, 0-126, comma-separated."),
                                 QStringLiteral("LIST"), QStringLiteral("1"));
    const QCommandLineOption errors(QStringLiteral("errors"),
                                    QStringLiteral("Answer \"E00\" instead of the next N replies."),
                                    QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption silent(QStringLiteral("silent"),
                                    QStringLiteral("Never answer past --errors (the units still act)."));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Delay every reply by MS milliseconds."),
                                   QStringLiteral("MS"), QStringLiteral("0"));
    parser.addOptions({port, ids, errors, silent, delay});
    // An option not understood is a usage error, as in the other programs.
    if (!parser.parse(QCoreApplication::arguments()))
        return Refuse(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp(0);
    if (parser.isSet(version))
        parser.showVersion();

    if (!parser.positionalArguments().isEmpty())
        return Refuse(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().front()));
    const std::optional<int> portNumber = Number(parser.value(port), 1, 65535);
    if (!portNumber)
        return Refuse(QStringLiteral("--port must be 1 to 65535"));
    std::vector<int> unitIds;
    for (const QString &text : parser.value(ids).split(QLatin1Char(','))) {
        const std::optional<int> id = Number(text, 0, kHighestUnitId);
        if (!id)
            return Refuse(QStringLiteral("--ids takes unit IDs from 0 to %1, not \"%2\"")
                              .arg(kHighestUnitId)
                              .arg(text));
        if (std::find(unitIds.begin(), unitIds.end(), *id) == unitIds.end())
            unitIds.push_back(*id);
    }
    const std::optional<int> errorCount = Number(parser.value(errors), 0, 1'000'000);
    if (!errorCount)
        return Refuse(QStringLiteral("--errors must be a count from 0"));
    const std::optional<int> delayMs = Number(parser.value(delay), 0, 600'000);
    if (!delayMs)
        return Refuse(QStringLiteral("--delay must be 0 to 600000 milliseconds"));

    // Stopped by a signal, it ends as after any normal run, with status 0.
    corvane::QuitOnSignals quitOnSignals;
    if (!quitOnSignals.armed()) {
        std::cerr << "corvane-unit-sim: cannot take SIGTERM and SIGINT: "
                  << quitOnSignals.error().toStdString() << '\n';
        return 1;
    }
    Simulator simulator(unitIds, Faults{*errorCount, parser.isSet(silent)});
    SimServer server(simulator, *delayMs);
    QString whyNot;
    if (!server.listen(static_cast<quint16>(*portNumber), &whyNot)) {
        std::cerr << "corvane-unit-sim: cannot listen on UDP port " << *portNumber << ": "
                  << whyNot.toStdString() << '\n';
        return 1;
    }
    // Followers wait for this line before they send anything.
    LogLine("ready port=" + std::to_string(*portNumber) + " ids=" + parser.value(ids).toStdString() +
            " errors=" + std::to_string(*errorCount) + " silent=" + (parser.isSet(silent) ? "yes" : "no") +
            " delay=" + std::to_string(*delayMs));
    return app.exec();
}
