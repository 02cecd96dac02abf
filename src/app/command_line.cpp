#include "app/command_line.h"

#include "app/file_check_command.h"

#include "base/model_limits.h"
#include "remote/remote_preference.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace orx {
namespace {

// The window options every Qt program takes; the application object removes them from its arguments.
void acceptQtWindowOptions(QCommandLineParser& parser)
{
    const char* withValue[] = {"platform",        "platformpluginpath",
                               "platformtheme",   "plugin",
                               "qwindowgeometry", "geometry",
                               "qwindowicon",     "icon",
                               "qwindowtitle",    "title",
                               "session",         "display",
                               "style",           "stylesheet",
                               "qmljsdebugger"};
    const char* flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLine exitWith(int code, const QString& out, const QString& err = QString())
{
    CommandLine line;
    line.exits = true;
    line.exitCode = code;
    line.out = out;
    line.err = err;
    return line;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Control panel for ORX programmable DC power supplies. Without options it finds the "
                       "instrument on the serial ports and the GPIB bus by itself."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Start against the built-in virtual instrument (behind COM1, "
                       "every other port and GPIB hidden)."));
    parser.addOption(simulate);
    const QCommandLineOption remotePort(
        QStringLiteral("remote-port"),
        QStringLiteral("Serve remote clients (scripts on this computer) on the loopback at port N for "
                       "this run."),
        QStringLiteral("N"));
    parser.addOption(remotePort);
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Check a memory data file against --model and print each problem as "
                       "FILE:LINE: FIELD: message; exit 0 (none), 1 (problems) or 2 (unreadable). "
                       "Opens no window and no port."),
        QStringLiteral("FILE"));
    parser.addOption(check);
    const QCommandLineOption model(QStringLiteral("model"),
                                   QStringLiteral("With --check: ORX-A100, ORX-B200 or ORX-C300."),
                                   QStringLiteral("MODEL"));
    parser.addOption(model);
    parser.addPositionalArgument(
        QStringLiteral("model"),
        QStringLiteral("With --simulate: ORX-A100 (the default), ORX-B200 or ORX-C300."),
        QStringLiteral("[MODEL]"));
    acceptQtWindowOptions(parser);

    const QString program = QFileInfo(arguments.value(0, QStringLiteral("orx-panel"))).fileName();
    // The parser names the program by how it was started, or not at all before the application exists.
    QString usage = parser.helpText();
    usage.replace(0, usage.indexOf(QStringLiteral(" [options]")), QStringLiteral("Usage: ") + program);
    const bool parsed = parser.parse(arguments);
    if (parsed && (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))))
        return exitWith(0, usage);
    if (parsed && parser.isSet(version))
        return exitWith(0, QStringLiteral("%1 %2\n").arg(program, QStringLiteral(ORX_VERSION)));

    QString error = parsed ? QString() : parser.errorText();
    CommandLine line;
    line.simulate = parser.isSet(simulate);
    if (error.isEmpty() && parser.isSet(remotePort)) {
        line.remotePort = remotePortOf(parser.value(remotePort));
        if (!line.remotePort)
            error = QStringLiteral("--remote-port takes a port number from 1 to 65535.");
    }
    const QStringList positional = parser.positionalArguments();
    if (error.isEmpty() && !positional.isEmpty()) {
        line.modelIndex = modelIndexOfAnyCase(positional.first());
        if (!line.simulate)
            error = QStringLiteral("A model can only be named with --simulate.");
        else if (positional.size() > 1)
            error = QStringLiteral("Only one model can be simulated.");
        else if (line.modelIndex < 0)
            error = QStringLiteral("Unknown model '%1'.").arg(positional.first());
    }
    const int checkModel = modelIndexOfAnyCase(parser.value(model));
    if (error.isEmpty() && parser.isSet(check) != parser.isSet(model))
        error = QStringLiteral("--check and --model go together.");
    else if (error.isEmpty() && parser.isSet(check) && (line.simulate || !positional.isEmpty()))
        error = QStringLiteral("--check runs without an instrument: no --simulate, no other model.");
    else if (error.isEmpty() && parser.isSet(model) && checkModel < 0)
        error = QStringLiteral("Unknown model '%1'.").arg(parser.value(model));
    if (!error.isEmpty())
        return exitWith(kUsageExitCode, QString(), program + QStringLiteral(": ") + error + u'\n' + usage);
    if (parser.isSet(check))
        return runFileCheck(parser.value(check), checkModel);
    return line;
}

} // namespace orx
