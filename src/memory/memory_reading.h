#pragma once
// Reading memories out of the instrument as the download does, for the download itself, the
// comparison with a file and the verification after an upload: the output and the automatic
// sequence are switched off, then each memory is recalled and read back through the panel, one after
// the other, with the progress window and its Cancel.

#include "memory/memory_file.h"
#include "memory/transfer_parts.h"

#include <QList>
#include <map>

namespace orx {

struct MemoryReadings
{
    std::map<int, MemoryRecordTexts> records; // each memory read, as the panel shows it
    QList<int> unread;                        // memories not every answer of which came
    bool complete = false;                    // false when cancelled or the program is ending
};

// Reads `memories` (numbers 0..99) in the order given.
MemoryReadings readMemories(const TransferParts& parts, const QList<int>& memories);

// Memories 0 to 99.
QList<int> allMemories();

} // namespace orx
