#pragma once
// The program's command line. Parsed before any window exists, so that --help, --version and a wrong
// option work without a desktop. Qt's own window options (-platform, -style, ...) are accepted and
// left to the application object.

#include <QString>
#include <QStringList>
#include <optional>

namespace orx {

struct CommandLine
{
    bool exits = false; // the program ends after printing `out` and `err`, with `exitCode`
    int exitCode = 0;
    QString out; // for standard output: the help, the version
    QString err; // for standard error: what was wrong, then the usage

    bool simulate = false;             // --simulate: the built-in virtual instrument behind COM1
    int modelIndex = 0;                // its model
    std::optional<quint16> remotePort; // --remote-port N: serve remote clients on port N for this run
};

// `arguments` begin with the program's own name, as argv does.
CommandLine parseCommandLine(const QStringList& arguments);

// The exit code of a command line the program cannot use.
inline constexpr int kUsageExitCode = 2;

} // namespace orx
