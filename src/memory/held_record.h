#pragma once
// What a record line of a memory data file puts into a memory: each of its eight fields read by the
// leading-number rule and held by the rule of its field in the Memory group under a model's limits.
// The upload writes these values into the group and saves them; the file check, the comparison with
// the instrument and the verification after an upload measure against them. One function, so that
// what is checked is what is sent.

#include "base/model_limits.h"
#include "memory/memory_file.h"
#include "memory/upload_plan.h"

#include <QList>
#include <QStringList>
#include <map>

namespace orx {

struct HeldRecord
{
    int memory = 0; // 0..99
    double voltage = 0;
    double current = 0;
    double delay = 1;
    double ovpLevel = 1;
    double ocpLevel = 0;
    bool ovpOn = true;
    bool ocpOn = true;

    // The texts the group's fields show for these values: what SaveMemory sends and what a download
    // of the memory writes.
    MemoryRecordTexts texts() const;
};

// The eight fields of a record line (at least eight; the rest is not read) under `limits`. A voltage
// and its current are held as a pair: each correction runs the rules again until neither changes.
HeldRecord heldRecord(const QStringList& fields, const ModelLimits& limits);

// What an upload of a file leaves in each memory it writes: the texts of the last record line for
// that memory, by memory number.
std::map<int, MemoryRecordTexts> expectedMemories(const QList<UploadRecord>& records,
                                                  const ModelLimits& limits);

// The header names of the eight fields, "Record" to "OCP status", as the file's header gives them.
const QStringList& recordFieldNames();

// One field of a memory that differs between a file and the instrument.
struct FieldDifference
{
    int memory;
    QString field; // header name
    QString inFile;
    QString inInstrument;
    bool operator==(const FieldDifference&) const = default;
};

// The fields in which two records of one memory differ, in file order.
QList<FieldDifference> fieldDifferences(int memory, const MemoryRecordTexts& inFile,
                                        const MemoryRecordTexts& inInstrument);

// A file's memories against what was read from the instrument. A memory that could not be read is
// neither a match nor a difference: it is listed as unread.
struct MemoryComparison
{
    int compared = 0; // memories the file writes
    int matching = 0;
    QList<FieldDifference> differences; // by memory, then field
    QList<int> unread;
};

MemoryComparison compareMemories(const std::map<int, MemoryRecordTexts>& expected,
                                 const std::map<int, MemoryRecordTexts>& read, const QList<int>& unread);

} // namespace orx
