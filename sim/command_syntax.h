#pragma once
// How the virtual instrument reads one received line: a header (the command word, such as
// ":VOLT:PROT" or "*IDN?") and an optional argument after blanks. Headers are matched exactly as the
// panel sends them, in upper case; a leading colon is optional. Arguments are read strictly: a
// setting that is not a number is refused, never read as 0.

#include <QString>
#include <QStringView>
#include <optional>

namespace orx::sim {

struct CommandText
{
    QString header;   // without a leading colon, e.g. "VOLT:PROT" or "*IDN?"
    QString argument; // the rest after the blanks that follow the header, trimmed; may be empty
    bool hasArgument = false;
};

// Splits a line; blanks, tabs, carriage returns and line feeds around it are ignored.
CommandText splitCommand(const QString& line);

// A decimal number: optional sign, digits with an optional point, an optional exponent. The whole
// text must be the number.
std::optional<double> parseDecimal(QStringView text);

// A whole number: optional sign and digits only. Values beyond 64 bits are held at the largest
// 64-bit value of that sign (they are out of every range anyway).
std::optional<qint64> parseInteger(QStringView text);

// A switch setting: "1" or "ON" is true, "0" or "OFF" is false.
std::optional<bool> parseSwitch(QStringView text);

// "HIGH" is true, "LOW" is false.
std::optional<bool> parseRange(QStringView text);

} // namespace orx::sim
