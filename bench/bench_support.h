#pragma once
// Pieces the benchmarks share: a paced virtual instrument, CPU clocks, memory figures and a serial
// service that counts the characters crossing the wire.

#include "base/silent_dialogs.h"
#include "link/forwarding_serial.h"
#include "sim/pty_server.h"

#include <functional>
#include <memory>

namespace orx::bench {

// Counts the characters written and received, and keeps what was written when asked to.
class CountingSerial : public ForwardingSerial
{
public:
    using ForwardingSerial::ForwardingSerial;

    void write(const QByteArray& text) override
    {
        characters += text.size();
        if (recording)
            written.append(text);
        inner().write(text);
    }
    QByteArray takeInput() override
    {
        const QByteArray input = inner().takeInput();
        characters += input.size();
        return input;
    }

    qint64 characters = 0;  // both directions
    bool recording = false; // when set, every write is kept in `written`
    QList<QByteArray> written;
};

// Every file dialog answers with the one file; messages are printed and counted.
class FileDialogs : public SilentDialogs
{
public:
    explicit FileDialogs(QString path) : m_path(std::move(path)) {}
    void messageBox(const QString& text, const QString&) override;
    QString openFileName(const QString&) override { return m_path; }
    QString saveFileName(const QString&) override { return m_path; }

    int messages = 0;

private:
    QString m_path;
};

// CPU time of the whole process and of the calling thread, in seconds.
double processCpuSeconds();
double threadCpuSeconds();

// A virtual instrument with a 10-ohm load on a pseudo-terminal in `folder` that paces both directions
// at `baud`, reachable as COM1 (ORX_COM1 names it); with late answers when lateMs > 0. Null, with the
// reason on standard error, when it cannot start.
std::unique_ptr<sim::PtyServer> startPacedInstrument(const QString& folder, int baud, int lateMs = 0);

// A panel's windows run headless unless a platform was chosen, and COM2..COM4 do not exist.
void useHeadlessPanelEnvironment();

// Resident memory of the process now and at most so far, in kilobytes (0 when unknown).
long residentKilobytes();
long peakResidentKilobytes();

// Lets events run for `ms`.
void runEvents(int ms);
// Lets events run until `done` or `maxMs` have passed: the seconds it took, or -1 when `done` never came.
double runEventsUntil(const std::function<bool()>& done, int maxMs);

// Seconds a number of characters needs on the wire at a baud rate (10 bits a character).
inline double wireSeconds(qint64 characters, int baud)
{
    return double(characters) * 10.0 / baud;
}

} // namespace orx::bench
