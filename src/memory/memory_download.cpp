#include "memory/memory_download.h"

#include "base/dialogs.h"
#include "base/program_state.h"
#include "memory/memory_file.h"
#include "memory/memory_reading.h"
#include "memory/memory_rules.h"
#include "panel/form1_controls.h"
#include "ui/status_bar.h"

namespace orx {
namespace {

const QString kCannotWrite = QStringLiteral("Can not write this file. Please try the other file.");

QString unreadMemoriesText(const QList<int>& unread)
{
    const QString list = memoryListText(unread);
    const QString sentence = unread.size() == 1
                                 ? QStringLiteral("Memory %1 could not be read from the instrument.")
                                 : QStringLiteral("Memories %1 could not be read from the instrument.");
    return sentence.arg(list) + QStringLiteral(" The file was left unchanged.");
}

} // namespace

MemoryDownload::MemoryDownload(TransferParts parts) : m_p(std::move(parts)) {}

void MemoryDownload::sallfile_Click()
{
    const QString path = m_p.dialogs.saveFileName(kMemoryFileFilter);
    if (path.isEmpty())
        return;
    QString why;
    if (!canWriteFile(path, &why)) {
        warnOperator(m_p, kCannotWrite + u'\n' + why);
        return;
    }
    const MemoryReadings readings = readMemories(m_p, allMemories());
    if (!readings.complete)
        return; // cancelled or ending: the old file stays as it was
    if (!readings.unread.isEmpty()) {
        m_p.controls.SBar1->setPanelText(1, QStringLiteral("Communication error"));
        warnOperator(m_p, unreadMemoriesText(readings.unread));
        return;
    }
    std::array<MemoryRecordTexts, kMemoryCount> records;
    for (const auto& [memory, texts] : readings.records)
        records[static_cast<size_t>(memory)] = texts;
    if (!writeFileAtomically(path, memoryFileBytes(m_p.state.CsvHeader, records), &why))
        warnOperator(m_p, kCannotWrite + u'\n' + why);
}

} // namespace orx
