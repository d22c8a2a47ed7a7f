// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QList>
#include <QStringList>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr int kCannotRun = 1;
constexpr int kUsageError = 2;

const char *const kNoDisplay = "corvane: cannot open a display; is DISPLAY or WAYLAND_DISPLAY set?\n";

void SetUp(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Remote control for networked video playback units: sends each command as one "
                       "UDP datagram to port %1 and shows the unit's reply.")
            .arg(corvane::kUnitPort));
    parser.addHelpOption();
    parser.addVersionOption();
}

// What the parser refuses in the arguments, empty when it takes them all:
// the program takes none of its own beyond asking for help or its version.
QString Refusal(QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.parse(arguments))
        return parser.errorText();
    if (!parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    return {};
}

// The refusal as the program prints it, the reason and then the usage;
// empty when the arguments are taken.
std::string RefusalText(const QCoreApplication &app)
{
    QCommandLineParser parser;
    SetUp(parser);
    const QString refusal = Refusal(parser, app.arguments());
    if (refusal.isEmpty())
        return {};
    return "corvane: " + refusal.toStdString() + "\n\n" + parser.helpText().toStdString();
}

// On standard error; a window program on Windows has no console to write to
// unless its starter gave it standard handles: then it shows in a box, as
// --help does.
void ShowRefusal(const std::string &refusal)
{
#ifdef Q_OS_WIN
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (!GetConsoleWindow() && !(startup.dwFlags & STARTF_USESTDHANDLES)) {
        const QString text = QString::fromStdString(refusal);
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t *>(text.utf16()), L"corvane",
                    MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
        return;
    }
#endif
    std::cerr << refusal;
}

// Returns the exit status when the arguments say not to start.
std::optional<int> HandleArguments(const QCoreApplication &app)
{
    if (const std::string refusal = RefusalText(app); !refusal.empty()) {
        ShowRefusal(refusal);
        return kUsageError;
    }
    QCommandLineParser parser;
    SetUp(parser);
    // Answers --help and --version by printing them and exiting with 0.
    parser.process(app);
    return std::nullopt;
}

// What the arguments ask for, as far as can be told before the application
// object exists: Qt's own options (-platform, -style and the like) are taken
// out by QApplication only, so arguments the parser refuses here may still
// be fine.
enum class Asked { Window, HelpOrVersion, Unclear };

Asked FirstLook(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    SetUp(parser);
    if (!Refusal(parser, arguments).isEmpty())
        return Asked::Unclear;
    const bool answers = parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
                         parser.isSet(QStringLiteral("version"));
    return answers ? Asked::HelpOrVersion : Asked::Window;
}

// Qt ends the program with a fatal message, status 134 and a core dump, when
// no platform plugin can open a display, whether none is set or the one set
// cannot be reached. While the application opens its display, its messages
// are held back (those before the fatal one only say which plugins failed)
// and the fatal one is turned into the program's own line and status; once
// the display is open, the held ones are passed on as they came.
class DisplayWatch
{
public:
    // What to say and return instead of Qt's fatal message.
    DisplayWatch(const std::string &failure, int status)
    {
        s_failure = failure;
        s_status = status;
        s_previous = qInstallMessageHandler(&DisplayWatch::hold);
    }
    ~DisplayWatch()
    {
        qInstallMessageHandler(s_previous);
        for (const Held &message : std::as_const(s_held)) {
            const QMessageLogContext context(message.file.constData(), message.line,
                                             message.function.constData(), message.category.constData());
            s_previous(message.type, context, message.text);
        }
        s_held.clear();
    }
    DisplayWatch(const DisplayWatch &) = delete;
    DisplayWatch &operator=(const DisplayWatch &) = delete;

private:
    struct Held
    {
        QtMsgType type;
        QByteArray file, function, category;
        int line;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtFatalMsg) {
            std::cerr << s_failure;
            std::_Exit(s_status);
        }
        s_held.append({type, context.file, context.function, context.category, context.line, text});
    }

    static inline std::string s_failure;
    static inline int s_status = kCannotRun;
    static inline QtMessageHandler s_previous = nullptr;
    static inline QList<Held> s_held;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));

    // Help, version and a refused argument never need a display.
    const Asked asked = FirstLook(argc, argv);
    if (asked == Asked::HelpOrVersion) {
        const QCoreApplication app(argc, argv);
        return HandleArguments(app).value_or(EXIT_SUCCESS);
    }
    std::string failure = kNoDisplay;
    int failureStatus = kCannotRun;
    if (asked == Asked::Unclear) {
        // Refused for good when no display opens to take Qt's own options out.
        const QCoreApplication app(argc, argv);
        failure = RefusalText(app);
        failureStatus = kUsageError;
    }

    std::optional<QApplication> app;
    {
        const DisplayWatch watch(failure, failureStatus);
        app.emplace(argc, argv);
    }
    if (const std::optional<int> status = HandleArguments(*app))
        return *status;
    corvane::Main window;
    window.startUp();
    window.show();
    return app->exec();
}
