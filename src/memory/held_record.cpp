#include "memory/held_record.h"

#include "base/numbers.h"
#include "base/program_state.h"
#include "memory/memory_rules.h"
#include "panel/limit_rules.h"

namespace orx {
namespace {

// Enough passes for any chain of the rules: a voltage held, the current held, the current lowered for
// the voltage's range.
constexpr int kMaxRulePasses = 4;

// A value written into a field whose rule may correct it; each correction runs the rule again.
template <typename Rule>
double heldBy(double value, Rule rule)
{
    for (int pass = 0; pass < kMaxRulePasses; ++pass) {
        const std::optional<double> corrected = rule(value);
        if (!corrected || *corrected == value)
            break;
        value = *corrected;
    }
    return value;
}

// The voltage and current fields as a pair: the voltage's rule, then the current's, until neither
// changes anything.
void holdPair(double& volts, double& amperes, const ModelLimits& limits)
{
    for (int pass = 0; pass < kMaxRulePasses; ++pass) {
        const Correction voltage = voltageRule(volts, amperes, limits);
        const Correction current = currentRule(amperes, volts, limits);
        if (voltage.field)
            volts = *voltage.field;
        else if (voltage.paired)
            amperes = *voltage.paired;
        else if (current.field)
            amperes = *current.field;
        else
            return;
    }
}

} // namespace

MemoryRecordTexts HeldRecord::texts() const
{
    return {format3(voltage),  format3(current),  formatWhole(delay), format3(ovpLevel),
            format3(ocpLevel), statusText(ovpOn), statusText(ocpOn)};
}

HeldRecord heldRecord(const QStringList& fields, const ModelLimits& limits)
{
    HeldRecord r;
    r.memory = memoryNumberOf(leadingNumber(fields.value(0)));
    r.voltage = leadingNumber(fields.value(1));
    r.current = leadingNumber(fields.value(2));
    holdPair(r.voltage, r.current, limits);
    r.delay = heldBy(leadingNumber(fields.value(3)), delayRule);
    r.ovpLevel = heldBy(leadingNumber(fields.value(4)), [&](double v) { return ovpRule(v, limits); });
    r.ocpLevel = heldBy(leadingNumber(fields.value(5)), [&](double v) { return ocpRule(v, limits); });
    r.ovpOn = statusIsOn(fields.value(6));
    r.ocpOn = statusIsOn(fields.value(7));
    return r;
}

std::map<int, MemoryRecordTexts> expectedMemories(const QList<UploadRecord>& records,
                                                  const ModelLimits& limits)
{
    std::map<int, MemoryRecordTexts> memories;
    for (const UploadRecord& record : records) {
        const HeldRecord held = heldRecord(record.fields, limits);
        memories[held.memory] = held.texts();
    }
    return memories;
}

const QStringList& recordFieldNames()
{
    static const QStringList names = kCsvHeader.split(u',');
    return names;
}

QList<FieldDifference> fieldDifferences(int memory, const MemoryRecordTexts& inFile,
                                        const MemoryRecordTexts& inInstrument)
{
    const QString MemoryRecordTexts::*const members[] = {
        &MemoryRecordTexts::voltage,  &MemoryRecordTexts::current,  &MemoryRecordTexts::delay,
        &MemoryRecordTexts::ovpLevel, &MemoryRecordTexts::ocpLevel, &MemoryRecordTexts::ovpStatus,
        &MemoryRecordTexts::ocpStatus};
    QList<FieldDifference> differences;
    for (size_t i = 0; i < std::size(members); ++i) {
        const QString& file = inFile.*members[i];
        const QString& instrument = inInstrument.*members[i];
        if (file != instrument)
            differences.append(
                {memory, recordFieldNames().value(static_cast<qsizetype>(i) + 1), file, instrument});
    }
    return differences;
}

MemoryComparison compareMemories(const std::map<int, MemoryRecordTexts>& expected,
                                 const std::map<int, MemoryRecordTexts>& read, const QList<int>& unread)
{
    MemoryComparison comparison;
    for (const auto& [memory, inFile] : expected) {
        ++comparison.compared;
        const auto instrument = read.find(memory);
        if (instrument == read.end() || unread.contains(memory)) {
            comparison.unread.append(memory);
            continue;
        }
        const QList<FieldDifference> differences = fieldDifferences(memory, inFile, instrument->second);
        comparison.differences += differences;
        comparison.matching += differences.isEmpty() ? 1 : 0;
    }
    return comparison;
}

} // namespace orx
