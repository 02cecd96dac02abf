#pragma once
// One line of the traffic console: what the command link did, when and where, and how the line reads.
// The formatting is pure so that it can be checked without a window.

#include <QByteArray>
#include <QString>

namespace orx {

struct TrafficRecord
{
    enum class Kind : quint8
    {
        ConnectStarted,
        Sent,
        Received,
        TimedOut,
        OpenFailed,
        StaleDiscarded,
        GpibWriteFailed,
        GpibReadFailed,
        Note,    // a remark on the link's use by someone else (a remote client came or left)
        Trouble, // a remark on trouble with that use (a remote client closed, its line dropped)
    };

    Kind kind = Kind::Sent;
    qint64 sinceConnectNs = 0;
    qint64 wallMs = 0;
    QString interfaceName;
    QByteArray bytes; // the text sent or received; the partial answer of a time-out; a remark
    QString origin;   // empty for the panel's own exchanges, else whose ("remote 127.0.0.1:53122")
};

// Time-outs, failures, discarded input and trouble remarks: the lines the console marks.
bool isMarked(TrafficRecord::Kind kind);

// The bytes as readable text: CR and LF as <CR> and <LF>, a backslash doubled, every other control
// byte and every byte outside printable ASCII as \xNN.
QString visibleText(const QByteArray& bytes);

// "    1001 ms  14:03:08.001  COM1 9600  !!  time-out, no answer": milliseconds since the connect
// started, local wall-clock time, interface (blank for the start of a connect), direction (TX, RX, !!
// for a marked line, -- for the start of a connect) and the text, then whose exchange it was when it
// was not the panel's own ("  [remote 127.0.0.1:53122]").
QString formatTrafficLine(const TrafficRecord& record);

} // namespace orx
