#pragma once
// Pieces the benchmarks share: CPU clocks and a serial service that counts the characters crossing
// the wire.

#include "link/forwarding_serial.h"
#include "sim/pty_server.h"

#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace orx::bench {

// Counts the characters written and received.
class CountingSerial : public ForwardingSerial
{
public:
    using ForwardingSerial::ForwardingSerial;

    void write(const QByteArray& text) override
    {
        characters += text.size();
        inner().write(text);
    }
    QByteArray takeInput() override
    {
        const QByteArray input = inner().takeInput();
        characters += input.size();
        return input;
    }

    qint64 characters = 0; // both directions
};

// The virtual instrument the benchmarks measure against: served on a pseudo-terminal that paces
// both directions at the real wire speed, reached as COM1 (the other ports mapped away). Nothing (and
// the reason printed) when it cannot start.
std::unique_ptr<sim::PtyServer> startPacedInstrument(const QTemporaryDir& dir, int baud,
                                                     std::optional<double> loadOhms = std::nullopt);

// CPU time of the whole process and of the calling thread, in seconds.
double processCpuSeconds();
double threadCpuSeconds();

// Seconds a number of characters needs on the wire at a baud rate (10 bits a character).
inline double wireSeconds(qint64 characters, int baud)
{
    return double(characters) * 10.0 / baud;
}

} // namespace orx::bench
