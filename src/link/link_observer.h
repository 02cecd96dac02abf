#pragma once
// Watching the command link. The link reports every exchange to the observers it holds, after the
// exchange happened, on the calling thread. Observers only look: nothing they do may reach the wire,
// and the link never waits for them. With no observer the link does exactly what it did before.
//
// An observer must be quick (the link is blocking and runs on the user-interface thread), must not
// call back into the link, and must not add or remove observers from inside a call.

#include <QByteArray>
#include <QString>

namespace orx {

// When and where an exchange happened.
struct LinkMoment
{
    qint64 sinceConnectNs = 0; // since the current connect started (since the link was made before one)
    qint64 wallMs = 0;         // wall-clock time, milliseconds since the epoch
    QString interfaceName;     // "COM2 9600" or "GPIB 8"
    QString origin;            // whose exchange: empty for the panel's own, else "remote 127.0.0.1:53122"
};

class LinkObserver
{
public:
    virtual ~LinkObserver() = default;

    // A connect (the automatic search and the read-back that follows it) begins.
    virtual void connectStarted(const LinkMoment& at) = 0;
    // Bytes written: a serial command with its carriage return, or a GPIB command that was accepted.
    virtual void sent(const LinkMoment& at, const QByteArray& bytes) = 0;
    // One whole answer as it arrived: a serial line with its line feed, or what a GPIB read returned.
    virtual void received(const LinkMoment& at, const QByteArray& bytes) = 0;
    // A serial answer did not end within the answer time; `partial` is what arrived before.
    virtual void timedOut(const LinkMoment& at, const QByteArray& partial) = 0;
    // The serial port could not be opened for a send or a read.
    virtual void openFailed(const LinkMoment& at) = 0;
    // Input left over from an earlier exchange, thrown away before a command was written.
    virtual void staleInputDiscarded(const LinkMoment& at, const QByteArray& bytes) = 0;
    // The GPIB service refused a command (`bytes`) or failed to read an answer.
    virtual void gpibWriteFailed(const LinkMoment& at, const QByteArray& bytes) = 0;
    virtual void gpibReadFailed(const LinkMoment& at) = 0;
    // A remark on the link's use from whoever `at.origin` names (a remote client came, or was closed,
    // or its line dropped: trouble); nothing crossed the wire. Observers that do not care need not
    // override it.
    virtual void remarked(const LinkMoment& at, const QString& text, bool trouble)
    {
        Q_UNUSED(at)
        Q_UNUSED(text)
        Q_UNUSED(trouble)
    }
};

} // namespace orx
