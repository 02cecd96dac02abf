#pragma once
// "Compare with file": reads all 100 memories with the download's own traffic, writes no file, and
// lists where a chosen memory data file and the instrument differ (memory, field, file,
// instrument). The file's side is what an upload of it would have written into each memory; a memory
// the instrument did not answer for is listed as such, never as equal.

#include "memory/transfer_parts.h"
#include "ui/list_window.h"

#include <QPointer>

namespace orx {

class MemoryCompare
{
public:
    explicit MemoryCompare(TransferParts parts);

    void cmpfile_Click();

    // The window with the last result, while it is open.
    ListWindow* result() const { return m_result; }

private:
    TransferParts m_p;
    QPointer<ListWindow> m_result;
};

} // namespace orx
