#pragma once
// Pieces the benchmarks share: CPU clocks and a serial service that counts the characters crossing
// the wire.

#include "link/forwarding_serial.h"

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

// CPU time of the whole process and of the calling thread, in seconds.
double processCpuSeconds();
double threadCpuSeconds();

// Resident memory of the process now and at most so far, in kilobytes (0 when unknown).
long residentKilobytes();
long peakResidentKilobytes();

// Seconds a number of characters needs on the wire at a baud rate (10 bits a character).
inline double wireSeconds(qint64 characters, int baud)
{
    return double(characters) * 10.0 / baud;
}

} // namespace orx::bench
