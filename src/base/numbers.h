#pragma once
// Number rules shared by the whole program: how an instrument answer or a field's text is read as a
// number, how a value is made whole, and the display patterns. All of them ignore the desktop's
// locale: the wire and the files always use a decimal point.

#include <QString>
#include <QStringView>
#include <optional>

namespace orx {

// The number at the start of a text. Blanks, tabs and line feeds anywhere in the text are ignored; an
// optional sign, digits, an optional point with digits and an optional exponent (E or D, optional sign,
// digits) are taken as far as they go. A text without a leading number reads as 0. Values beyond the
// range of a double are held at the largest finite double of that sign.
double leadingNumber(QStringView text);

// The value of a text that is one number and nothing else, in the same syntax (blanks, tabs, carriage
// returns and line feeds around it are allowed, inside it not); nothing for any other text.
std::optional<double> parseNumber(QStringView text);

// The value rounded to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double wholeNumber(double value);

// The whole number of a value when it fits a 16-bit signed integer.
std::optional<qint16> wholeNumber16(double value);

// The whole number of a value held within the 16-bit signed range.
qint16 wholeNumberClamped16(double value);

// Decimal text of a value with exactly `decimals` digits after the point and at least `minIntDigits`
// digits before it. Halves round away from zero on the value's exact decimal expansion. A result that
// reads as zero never carries a minus sign.
QString formatFixed(double value, int decimals, int minIntDigits = 1);

QString format3(double value);        // "#0.000": 5 -> "5.000", 0.25 -> "0.250"
QString formatWhole(double value);    // "#0": 12.4 -> "12", 2.5 -> "2" (the whole number)
QString formatTwoDigit(double value); // "00": 5 -> "05", 123 -> "123", 2.5 -> "02"
QString formatVolts(double value);    // "0.000V"
// "#0.000" cut (towards zero) after the third decimal of the value's shortest decimal text, so an
// answer of 1.005 shows as 1.005 and 12.3456 as 12.345. A result that reads as zero has no sign.
QString formatTruncated3(double value);
QString formatAmperes(double value); // "0.000A"

} // namespace orx
