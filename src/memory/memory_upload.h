#pragma once
// "Upload from file": each record of a memory data file passes through the Memory group, so the
// connected model's limits apply, and is saved into the memory of its number, half a second apart.
// Lines that would send made-up values are skipped and reported at the end. With "Verify after
// upload" on, every written memory is then read back and compared with what was sent.

#include "memory/transfer_parts.h"
#include "memory/upload_plan.h"
#include "memory/wait_seconds.h"

#include <QStringList>

namespace orx {

class Clock;

class MemoryUpload
{
public:
    MemoryUpload(TransferParts parts, const Clock& clock, IdleWait idleWait);

    void rallfile_Click();

private:
    void showRecord(const QStringList& fields);
    void verify(const QList<UploadRecord>& records);

    TransferParts m_p;
    const Clock& m_clock;
    IdleWait m_idleWait;
};

} // namespace orx
