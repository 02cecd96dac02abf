#pragma once
// The editor's table of the 100 records, held as the texts of the file, and the rules that fill it
// from a file's record lines and complete it for saving.

#include "memory/memory_file.h"

#include <array>
#include <functional>

namespace orx {

using RecordTable = std::array<MemoryRecordTexts, kMemoryCount>;

// What a record that was never set is saved as.
inline const MemoryRecordTexts kDefaultRecord = {
    QStringLiteral("0.000"), QStringLiteral("0.000"), QStringLiteral("10"),   QStringLiteral("1.000"),
    QStringLiteral("0.000"), QStringLiteral("False"), QStringLiteral("False")};

// Fills the table from record lines (the header already left out), in file order; `beforeEachLine`
// runs before each line. A line's fields go into a buffer of eight that lives through the whole load:
// a shorter line leaves the later fields as the previous line left them, fields past the eighth are
// dropped. The first field must be one number whose whole value (halves to even) fits 16 bits, or the
// line is skipped and the buffer left alone; a number outside 0 to 99 fills the buffer but no record.
// A later line for the same record replaces the earlier one.
void loadRecordLines(RecordTable& table, const QStringList& lines,
                     const std::function<void()>& beforeEachLine = {});

// The table as it is saved: every record whose voltage is empty takes all seven default texts.
RecordTable withDefaultsFilled(RecordTable table);

// The lines a save of the table writes: the header, then records 00 to 99 with the defaults filled in.
QStringList savedFileLines(const RecordTable& table, const QString& header);

} // namespace orx
