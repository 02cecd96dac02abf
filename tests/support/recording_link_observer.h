#pragma once
// A link observer that writes down every report as one text: milliseconds since the connect started,
// the interface, what happened and the bytes as they were, for example
// "1001 COM1 9600 timedOut 12.3" or "0 GPIB 8 sent *IDN?".

#include "link/link_observer.h"

#include <QStringList>

namespace orx::test {

class RecordingLinkObserver : public LinkObserver
{
public:
    QStringList events;
    QList<qint64> wallMs; // the wall-clock time of each report

    void connectStarted(const LinkMoment& at) override { note(at, "connectStarted"); }
    void sent(const LinkMoment& at, const QByteArray& bytes) override { note(at, "sent", bytes); }
    void received(const LinkMoment& at, const QByteArray& bytes) override { note(at, "received", bytes); }
    void timedOut(const LinkMoment& at, const QByteArray& partial) override { note(at, "timedOut", partial); }
    void openFailed(const LinkMoment& at) override { note(at, "openFailed"); }
    void staleInputDiscarded(const LinkMoment& at, const QByteArray& bytes) override
    {
        note(at, "staleInputDiscarded", bytes);
    }
    void gpibWriteFailed(const LinkMoment& at, const QByteArray& bytes) override
    {
        note(at, "gpibWriteFailed", bytes);
    }
    void gpibReadFailed(const LinkMoment& at) override { note(at, "gpibReadFailed"); }

private:
    void note(const LinkMoment& at, const char* what, const QByteArray& bytes = {})
    {
        QString event =
            QStringLiteral("%1 %2 %3").arg(at.sinceConnectNs / 1'000'000).arg(at.interfaceName, what);
        if (!bytes.isEmpty())
            event += u' ' + QString::fromLatin1(bytes);
        events.append(event);
        wallMs.append(at.wallMs);
    }
};

} // namespace orx::test
