#pragma once
// The lines SaveMemory sends for one record, as the memory tests expect them.

#include <QByteArray>
#include <QList>

namespace orx::test {

inline QList<QByteArray> saveLines(const QByteArray& range, const QByteArray& volts,
                                   const QByteArray& amperes, const QByteArray& ovp, const QByteArray& ocp,
                                   bool ovpOn, bool ocpOn, const QByteArray& delay, const QByteArray& number)
{
    QList<QByteArray> lines;
    if (!range.isEmpty())
        lines.append(":VOLT:RANG " + range);
    return lines + QList<QByteArray>{":VOLT " + volts,
                                     ":CURR " + amperes,
                                     ":VOLT:PROT " + ovp,
                                     ":CURR:PROT " + ocp,
                                     QByteArray(":VOLT:PROT:STAT ") + (ovpOn ? "1" : "0"),
                                     QByteArray(":CURR:PROT:STAT ") + (ocpOn ? "1" : "0"),
                                     "SYST:AUTO:DEL " + delay,
                                     "*SAV " + number};
}

} // namespace orx::test
