#pragma once
// The command line of orx-sim and the control commands it reads on its standard input, as pure
// functions so that they are tested without starting a server.

#include "sim/pty_server.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace orx::sim {

struct SimCommandLine
{
    PtyOptions options;
    bool help = false;
    QString error; // non-empty: the command line was refused, with this reason
};

// Parses the arguments after the program name. Options take their value as the next argument or
// after "=" ("--baud 2400", "--baud=2400").
SimCommandLine parseSimCommandLine(const QStringList& arguments);

// The text of "orx-sim --help": every option and every standard-input command.
QString simUsage();

// One control line from standard input.
struct ControlCommand
{
    enum Kind
    {
        SetFault, // fault: None, Silence, Late, Garbage or Babble; lateMs when given
        Unplug,
        Replug,
        Normal,     // answers as they should be, and the port back if it was unplugged
        SetLoad,    // loadOhms; nothing = open circuit
        OutputOff,  // the front panel's output key
        Trip,       // protection
        SendLine,   // line: sent unasked, with a line feed
        LagOnce,    // lateMs: the next answer only comes that late
        IgnoreSave, // memory: its next "*SAV" is lost
    };
    Kind kind = Normal;
    Fault fault = Fault::None;
    std::optional<int> lateMs;
    std::optional<double> loadOhms;
    Protection protection = Protection::Ovp;
    QString line;
    int modelIndex = -1; // Replug: another instrument, of this model, comes back (-1: the same one)
    int memory = 0;      // IgnoreSave: the memory whose next save is lost
};

// Nothing for an empty or unknown line; `error` then says why (empty for a blank line).
std::optional<ControlCommand> parseControlCommand(const QString& line, QString* error);

} // namespace orx::sim
