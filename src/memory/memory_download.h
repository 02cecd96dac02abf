#pragma once
// "Download to file": every memory is recalled, read back through the panel and becomes one line of
// a memory data file. The 101 lines are assembled in memory and replace the chosen file in one step
// after the last memory, so a cancelled, interrupted or incomplete download never harms the old
// file; a target that cannot be written is refused before anything is sent.

#include "memory/transfer_parts.h"

namespace orx {

class MemoryDownload
{
public:
    explicit MemoryDownload(TransferParts parts);

    void sallfile_Click();

private:
    TransferParts m_p;
};

} // namespace orx
