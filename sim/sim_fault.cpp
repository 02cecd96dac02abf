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
    if (name == u"babble")
        return Fault::Babble;
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
    case Fault::Babble:
        return QStringLiteral("babble");
    case Fault::Unplugged:
        return QStringLiteral("unplug");
    }
    return QString();
}

QByteArray noise(qsizetype length, quint32& seed)
{
    QByteArray out;
    out.reserve(length);
    for (qsizetype i = 0; i < length; ++i) {
        seed = seed * 1664525u + 1013904223u; // a plain linear congruential generator
        out.append(static_cast<char>(0x80 | (seed >> 25)));
    }
    return out;
}

QByteArray garbleAnswer(qsizetype length, quint32& seed)
{
    return noise(std::max<qsizetype>(1, length - 1), seed) + '\n';
}

} // namespace orx::sim
