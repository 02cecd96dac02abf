#pragma once
// Rules for the instrument's identity answer and the interface choices, free of any window.

#include <QString>
#include <optional>

namespace orx {

// The answer of an ORX instrument: it begins with the maker and family "QZ.Inc,ORX" (exact case).
bool isOrxIdentity(const QString& answer);

// Any instrument of the maker: the answer begins with "QZ".
bool isMakerAnswer(const QString& answer);

// The model field of an identity answer: the text between its first and second comma. Without a
// second comma, the rest after the first comma with trailing blanks and line ends removed.
QString modelFieldOf(const QString& identity);

// A GPIB primary address written as a number whose whole number lies in 0..30 (blanks around it
// allowed); nothing for any other text, letters or numbers out of range.
std::optional<int> gpibAddressOf(const QString& text);

// The address field's text after an edit: an empty text, or one that is not an address, becomes "8".
QString normalisedGpibAddressText(const QString& text);

// The port number of a port list entry such as "COM3": the value of its last character.
int comPortOfEntry(const QString& entry);

} // namespace orx
