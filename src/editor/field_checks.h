#pragma once
// The editor's field rules: each takes the texts of the fields it reads and tells what text a field
// takes instead, or nothing when the texts may stand. They keep a record's values inside the limits of
// the model selected when the rule runs. Values are read from texts by the leading-number rule
// (a text without a number is 0) and narrowed to single precision before they are compared with the
// limit table, so a field holding exactly a table value is equal to it, not above it; the fixed
// bounds 0, 1, 99 and 59999 are compared in double precision.

#include "base/model_limits.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace orx {

// A value narrowed to single precision; beyond the single range it is an infinity of its sign.
float toSingle(double value);

enum class LevelField
{
    Voltage,
    Current,
};

// A text a rule writes into one of the two set-point fields.
struct FieldWrite
{
    LevelField field;
    QString text;
    bool operator==(const FieldWrite&) const = default;
};

// A voltage below 0 becomes "0.000", one above the model's highest voltage becomes that voltage; a
// voltage that needs the high range pulls a current above the high-range current down to it.
std::optional<FieldWrite> LimitRecordVoltage(QStringView voltage, QStringView current,
                                             const ModelLimits& limits);

// A current below 0 becomes "0.000", one above the model's highest current becomes that current; a
// current that needs the low range pulls a voltage above the low range down to its top.
std::optional<FieldWrite> LimitRecordCurrent(QStringView current, QStringView voltage,
                                             const ModelLimits& limits);

// OVP level: below 1 it is "1.000", above the model's highest level it is that level.
std::optional<QString> checkOvpLevel(QStringView text, const ModelLimits& limits);

// OCP level: below 0 it is "0.000", above the model's highest level it is that level.
std::optional<QString> checkOcpLevel(QStringView text, const ModelLimits& limits);

// Delay in 100 ms units: below 1 it is "1", above 59999 it is "59999".
std::optional<QString> checkDelay(QStringView text);

// What a level field shows when the user leaves it: its value with three decimals.
QString levelTextOnLeaving(QStringView text);

// The text a level field takes from its adjuster: value -1 raises by `step`, any other value but 0
// lowers by it (in double precision, without bounds; the field's own rule bounds the result).
std::optional<QString> steppedLevel(QStringView text, int adjusterValue, float step);

// The delay stepped by 1: raised only below 59999, lowered only above 1.
std::optional<QString> steppedDelay(QStringView text, int adjusterValue);

// The record number stepped by 1: raised only below 99, lowered without a test (the record rule
// turns -1 into 0).
std::optional<QString> steppedRecord(QStringView text, int adjusterValue);

// The record field's text after its rule: below 0 it is "0", above 99 it is "99", and a text that is
// one number is written as a whole number; any other text stands.
QString boundedRecordText(QStringView text);

// The record a record field's text selects: its value made whole, within 0 to 99.
int recordNumberOf(QStringView text);

} // namespace orx
