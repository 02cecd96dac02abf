#include "traffic/traffic_record.h"

#include <QDateTime>

namespace orx {
namespace {

using Kind = TrafficRecord::Kind;

QString direction(Kind kind)
{
    switch (kind) {
    case Kind::Sent:
        return QStringLiteral("TX");
    case Kind::Received:
        return QStringLiteral("RX");
    case Kind::ConnectStarted:
    case Kind::Note:
        return QStringLiteral("--");
    default:
        return QStringLiteral("!!");
    }
}

QString describe(const TrafficRecord& record)
{
    const QString text = visibleText(record.bytes);
    switch (record.kind) {
    case Kind::ConnectStarted:
        return QStringLiteral("connect started");
    case Kind::Sent:
    case Kind::Received:
        return text;
    case Kind::TimedOut:
        return text.isEmpty() ? QStringLiteral("time-out, no answer")
                              : QStringLiteral("time-out, partial answer: ") + text;
    case Kind::OpenFailed:
        return QStringLiteral("port could not be opened");
    case Kind::StaleDiscarded:
        return QStringLiteral("stale input discarded: ") + text;
    case Kind::GpibWriteFailed:
        return QStringLiteral("write failed: ") + text;
    case Kind::GpibReadFailed:
        return QStringLiteral("read failed, no answer");
    case Kind::Note:
    case Kind::Trouble:
        return text;
    }
    return text;
}

} // namespace

bool isMarked(Kind kind)
{
    return kind != Kind::Sent && kind != Kind::Received && kind != Kind::ConnectStarted && kind != Kind::Note;
}

QString visibleText(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r')
            out += QLatin1String("<CR>");
        else if (byte == '\n')
            out += QLatin1String("<LF>");
        else if (byte == '\\')
            out += QLatin1String("\\\\");
        else if (byte >= 0x20 && byte < 0x7f)
            out += QChar(byte);
        else
            out += QLatin1String("\\x") + QString::number(byte, 16).rightJustified(2, u'0').toUpper();
    }
    return out;
}

QString formatTrafficLine(const TrafficRecord& record)
{
    const qint64 ms = record.sinceConnectNs / 1'000'000;
    const QString wall =
        QDateTime::fromMSecsSinceEpoch(record.wallMs).toString(QStringLiteral("hh:mm:ss.zzz"));
    // A connect is not yet on any interface: it searches them all.
    const QString where = record.kind == Kind::ConnectStarted ? QString() : record.interfaceName;
    const QString origin = record.origin.isEmpty() ? QString() : QStringLiteral("  [%1]").arg(record.origin);
    return QStringLiteral("%1 ms  %2  %3  %4  %5%6")
        .arg(ms, 8)
        .arg(wall, where.leftJustified(9), direction(record.kind), describe(record), origin);
}

} // namespace orx
