#include "sim/sim_fault.h"

#include <algorithm>

namespace orx::sim {

std::optional<Fault> faultFromName(const QString& name)
{
    if (name == u"none" || name == u"normal")
        return Fault::None;
    if (name == u"silence")
        return Fault::Silence;
    if (name == u"late")
        return Fault::Late;
    if (name == u"garbage")
        return Fault::Garbage;
    if (name == u"unplug")
        return Fault::Unplugged;
    return std::nullopt;
}

QString faultName(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return QStringLiteral("none");
    case Fault::Silence:
        return QStringLiteral("silence");
    case Fault::Late:
        return QStringLiteral("late");
    case Fault::Garbage:
        return QStringLiteral("garbage");
    case Fault::Unplugged:
        return QStringLiteral("unplug");
    }
    return QString();
}

QByteArray garbleAnswer(qsizetype length, quint32& seed)
{
    const qsizetype noise = std::max<qsizetype>(1, length - 1);
    QByteArray out;
    out.reserve(noise + 1);
    for (qsizetype i = 0; i < noise; ++i) {
        seed = seed * 1664525u + 1013904223u; // a plain linear congruential generator
        out.append(static_cast<char>(0x80 | (seed >> 25)));
    }
    out.append('\n');
    return out;
}

} // namespace orx::sim
