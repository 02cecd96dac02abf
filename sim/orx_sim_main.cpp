// orx-sim: a virtual ORX power supply on a pseudo-terminal. It prints the pty's device path, then
// serves until SIGTERM or SIGINT, taking fault commands on its standard input meanwhile.

#include "sim/pty_server.h"
#include "sim/sim_options.h"

#include <QStringList>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace orx::sim;

namespace {

int gSignalPipe[2] = {-1, -1};

void onStopSignal(int)
{
    if (gSignalPipe[1] >= 0 && ::write(gSignalPipe[1], "s", 1) < 0) {
        // Nothing more can be done inside a signal handler.
    }
}

bool installSignalHandlers()
{
    if (pipe2(gSignalPipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return false;
    struct sigaction action
    {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN); // a reader of our standard output that went away is no reason to die
    return true;
}

void reply(const QString& text)
{
    std::fputs(qPrintable(text + u'\n'), stdout);
    std::fflush(stdout);
}

QString loadText(const std::optional<double>& ohms)
{
    return ohms ? QString::number(*ohms) : QStringLiteral("open");
}

void carryOut(const ControlCommand& command, PtyServer& server)
{
    QString error;
    switch (command.kind) {
    case ControlCommand::SetFault:
        if (command.lateMs)
            server.setLateMs(*command.lateMs);
        server.setFault(command.fault);
        reply(QStringLiteral("ok ") + faultName(command.fault));
        return;
    case ControlCommand::Unplug:
        reply(server.unplug() ? QStringLiteral("ok unplug") : QStringLiteral("error: not plugged in"));
        return;
    case ControlCommand::Replug:
        if (server.replug(&error, command.modelIndex >= 0 ? std::optional(command.modelIndex) : std::nullopt))
            reply(QStringLiteral("ok replug ") + server.devicePath());
        else
            reply(QStringLiteral("error: ") + error);
        return;
    case ControlCommand::Normal:
        server.setFault(Fault::None);
        if (server.isUnplugged() && !server.replug(&error)) {
            reply(QStringLiteral("error: ") + error);
            return;
        }
        reply(QStringLiteral("ok normal ") + server.devicePath());
        return;
    case ControlCommand::SetLoad:
        server.withInstrument([&](Instrument& instrument) {
            if (command.loadOhms)
                instrument.setLoadOhms(*command.loadOhms);
            else
                instrument.setOpenCircuit();
        });
        reply(QStringLiteral("ok load ") + loadText(command.loadOhms));
        return;
    case ControlCommand::OutputOff:
        server.withInstrument([](Instrument& instrument) { instrument.frontPanelOutputOff(); });
        reply(QStringLiteral("ok off"));
        return;
    case ControlCommand::LagOnce:
        server.lagNextAnswer(*command.lateMs);
        reply(QStringLiteral("ok lag"));
        return;
    case ControlCommand::SendLine:
        server.sendUnasked(command.line.toLatin1() + '\n');
        reply(QStringLiteral("ok send"));
        return;
    case ControlCommand::IgnoreSave:
        server.withInstrument([&](Instrument& instrument) { instrument.ignoreNextSave(command.memory); });
        reply(QStringLiteral("ok ignore-save %1").arg(command.memory));
        return;
    case ControlCommand::Trip:
        server.withInstrument([&](Instrument& instrument) { instrument.forceTrip(command.protection); });
        reply(command.protection == Protection::Ovp ? QStringLiteral("ok trip ovp")
                                                    : QStringLiteral("ok trip ocp"));
        return;
    }
}

// Carries out every complete line in `pending`, keeping an unfinished one.
void carryOutLines(QByteArray& pending, PtyServer& server)
{
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(pending.left(end));
        pending.remove(0, end + 1);
        QString error;
        if (const auto command = parseControlCommand(line, &error))
            carryOut(*command, server);
        else if (!error.isEmpty())
            reply(QStringLiteral("error: ") + error);
    }
}

// Waits for stop signals and standard-input commands until a signal comes.
void serveControls(PtyServer& server)
{
    QByteArray pending;
    bool stdinOpen = true;
    for (;;) {
        pollfd fds[2] = {{gSignalPipe[0], POLLIN, 0}, {stdinOpen ? STDIN_FILENO : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0)
            continue; // interrupted by a signal; its byte is in the pipe
        if (fds[0].revents & POLLIN)
            return;
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[1024];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                stdinOpen = false; // end of input: keep serving, stop reading
                pending.append('\n');
            } else {
                pending.append(buffer, n);
            }
            if (pending.size() > 65536)
                pending.clear(); // a runaway line without end is not a command
            carryOutLines(pending, server);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    SimCommandLine commandLine = parseSimCommandLine(arguments);
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "orx-sim: %s\nTry 'orx-sim --help'.\n", qPrintable(commandLine.error));
        return 2;
    }
    if (commandLine.help) {
        std::fputs(qPrintable(simUsage()), stdout);
        return 0;
    }
    // The path is printed before an unplug at start, so the caller still learns which device it was.
    const bool unplugAtStart = commandLine.options.fault == Fault::Unplugged;
    if (unplugAtStart)
        commandLine.options.fault = Fault::None;
    if (!installSignalHandlers()) {
        std::fprintf(stderr, "orx-sim: cannot set up signal handling\n");
        return 1;
    }
    PtyServer server(commandLine.options);
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "orx-sim: %s\n", qPrintable(error));
        return 1;
    }
    reply(server.devicePath());
    if (unplugAtStart)
        server.unplug();
    serveControls(server);
    server.stop();
    return 0;
}
