#pragma once
// Faults the virtual instrument's links can show, for tests and the demo: no answers, answers that
// come late, noise instead of answers, an endless stream of noise, and a port that has been unplugged.

#include <QByteArray>
#include <QString>
#include <optional>

namespace orx::sim {

enum class Fault
{
    None,     // every answer as it should be
    Silence,  // the instrument still acts on commands, but no answer comes back
    Late,     // each answer leaves the instrument a settable time after the command
    Garbage,  // noise instead of each answer (see garbleAnswer)
    Babble,   // no answers, but an endless stream of noise without a line feed
    Unplugged // the port has gone: it cannot be opened and nothing passes it
};

// The default lateness: more than the panel's one-second answer time.
inline constexpr int kDefaultLateMs = 1500;

// Name used on the command line and on orx-sim's standard input ("none", "silence", "late",
// "garbage", "babble", "unplug"); nothing for an unknown name.
std::optional<Fault> faultFromName(const QString& name);
QString faultName(Fault fault);

// Noise in place of an answer line of `length` bytes (its line feed included): bytes with the high
// bit set, as a line at the wrong speed or with a bad ground produces, never CR or LF, followed by a
// line feed, so a reader sees one complete line that is not the answer. `seed` carries the noise
// generator from one answer to the next, so noise looks random yet every run is the same.
QByteArray garbleAnswer(qsizetype length, quint32& seed);

// `length` bytes of the same noise without any line end: a piece of an endless stream.
QByteArray noise(qsizetype length, quint32& seed);

} // namespace orx::sim
