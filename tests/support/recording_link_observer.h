#pragma once
// A link observer that writes every report down as one text: milliseconds since the connect started,
// the interface, what happened and the bytes as they were ("1001 COM1 9600 timedOut 12.3").

#include "link/link_observer.h"

#include <QStringList>

namespace orx::test {

class RecordingLinkObserver : public LinkObserver
{
public:
    QStringList events;
    QList<qint64> wallMs; // the wall-clock time of each report

    void connectStarted(const LinkMoment& at) override { note(at, "connectStarted"); }
    void sent(const LinkMoment& at, const QByteArray& b) override { note(at, "sent", b); }
    void received(const LinkMoment& at, const QByteArray& b) override { note(at, "received", b); }
    void timedOut(const LinkMoment& at, const QByteArray& b) override { note(at, "timedOut", b); }
    void openFailed(const LinkMoment& at) override { note(at, "openFailed"); }
    void staleInputDiscarded(const LinkMoment& at, const QByteArray& b) override { note(at, "stale", b); }
    void gpibWriteFailed(const LinkMoment& at, const QByteArray& b) override { note(at, "writeFailed", b); }
    void gpibReadFailed(const LinkMoment& at) override { note(at, "readFailed"); }

private:
    void note(const LinkMoment& at, const char* what, const QByteArray& bytes = {})
    {
        const QString text =
            QStringLiteral("%1 %2 %3").arg(at.sinceConnectNs / 1'000'000).arg(at.interfaceName, what);
        events.append(bytes.isEmpty() ? text : text + u' ' + QString::fromLatin1(bytes));
        wallMs.append(at.wallMs);
    }
};

} // namespace orx::test
