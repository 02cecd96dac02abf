#pragma once
// One hundred different memories for transfer tests: every field differs from memory to memory,
// both ranges and both switch states occur, and each memory is one the instrument can hold and the
// panel's limit rules leave as it is (no voltage at exactly the top of the low range).

#include "sim/instrument_settings.h"

#include <QString>
#include <QStringList>

namespace orx::test {

inline sim::Settings seededMemory(int i)
{
    sim::Settings s;
    s.voltage = (i * 197) % 20600;
    s.current = s.voltage > 8240 ? (i * 53) % 10300 : (i * 211) % 20600;
    s.ovpLevel = 1000 + (i * 331) % 21000;
    s.ocpLevel = (i * 173) % 22000;
    s.ovpOn = i % 2 == 0;
    s.ocpOn = i % 3 == 0;
    s.delay = 1 + (i * 599) % 59999;
    return s;
}

// The record line the download writes for a memory, worked out here on its own.
inline QString expectedRecordLine(int i, const sim::Settings& s)
{
    const auto milli = [](qint64 m) {
        return QString::asprintf("%lld.%03lld", m / 1000, m % 1000);
    };
    const auto status = [](bool on) {
        return on ? QStringLiteral("True") : QStringLiteral("False");
    };
    return QStringList{QString::asprintf("%02d", i),
                       milli(s.voltage),
                       milli(s.current),
                       QString::number(s.delay),
                       milli(s.ovpLevel),
                       milli(s.ocpLevel),
                       status(s.ovpOn),
                       status(s.ocpOn)}
        .join(QStringLiteral(", "));
}

} // namespace orx::test
