// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>

namespace {

constexpr int kUsageError = 2;

bool IsSet(const char *variable)
{
    const char *value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Whether a window can be opened at all. Without a display Qt aborts with a
// message about reinstalling, so the program looks for one first: a chosen
// platform (QT_QPA_PLATFORM, -platform) is trusted to know what it needs.
bool DisplayChosen(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    // A Windows session always has its desktop.
    return true;
#endif
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "-platform" || argument == "--platform")
            return true;
    }
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

// The program takes no arguments of its own beyond asking for help or its
// version. Returns the exit status when the arguments say not to start.
std::optional<int> HandleArguments(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Remote control for networked video playback units: sends each command as one "
                       "UDP datagram to port 2639 and shows the unit's reply."));
    parser.addHelpOption();
    parser.addVersionOption();
    QString error;
    if (!parser.parse(app.arguments()))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    if (!error.isEmpty()) {
        const QString text = QStringLiteral("corvane: ") + error + QStringLiteral("\n\n") + parser.helpText();
#ifdef Q_OS_WIN
        // A window program has no console to write to unless its starter gave
        // it standard handles: then the refusal shows in a box, as --help does.
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        GetStartupInfoW(&startup);
        if (!GetConsoleWindow() && !(startup.dwFlags & STARTF_USESTDHANDLES)) {
            MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text.utf16()), L"corvane",
                        MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
            return kUsageError;
        }
#endif
        std::cerr << text.toStdString();
        return kUsageError;
    }
    // Answers --help and --version by printing them and exiting with 0.
    parser.process(app);
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    if (!DisplayChosen(argc, argv)) {
        // Help and version still answer; anything else has nowhere to go.
        const QCoreApplication app(argc, argv);
        if (const std::optional<int> status = HandleArguments(app))
            return *status;
        std::cerr << "corvane: cannot open a display; is DISPLAY or WAYLAND_DISPLAY set?\n";
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    if (const std::optional<int> status = HandleArguments(app))
        return *status;
    corvane::Main window;
    window.startUp();
    window.show();
    return app.exec();
}
