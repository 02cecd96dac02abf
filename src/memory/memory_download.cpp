#include "memory/memory_download.h"

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/program_state.h"
#include "memory/memory_bank.h"
#include "memory/memory_file.h"
#include "memory/memory_rules.h"
#include "memory/transfer_run.h"
#include "panel/form1_controls.h"
#include "ui/form2.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"
#include "ui/status_bar.h"

namespace orx {
namespace {

const QString kCannotWrite = QStringLiteral("Can not write this file. Please try the other file.");

QString recallText(const QString& number)
{
    return QStringLiteral("Recall the setting data from #") + number + QStringLiteral(" location.");
}

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

void MemoryDownload::warn(const QString& text)
{
    m_p.dialogs.messageBox(text, QStringLiteral("Warning"));
}

void MemoryDownload::sallfile_Click()
{
    const QString path = m_p.dialogs.saveFileName(kMemoryFileFilter);
    if (path.isEmpty())
        return;
    QString why;
    if (!canWriteFile(path, &why)) {
        warn(kCannotWrite + u'\n' + why);
        return;
    }
    std::array<MemoryRecordTexts, kMemoryCount> records;
    QList<int> unread;
    bool complete = true;
    {
        TransferRun run(m_p.gate, m_p.mainWindow,
                        QStringLiteral("Recall the setting data from a specific memory location."),
                        recallText(QStringLiteral("00")), kMemoryCount, m_p.programEnding);
        m_p.controls.output->select(kOff);
        m_p.controls.autorun->select(kOff);
        for (int i = 0; i < kMemoryCount; ++i) {
            if (!run.goOn()) {
                complete = false;
                break;
            }
            const QString number = formatTwoDigit(i);
            run.progress().setText(recallText(number));
            if (!m_p.bank.RecallMemory(number))
                unread.append(i);
            // The line of the memory just recalled, as the panel shows it.
            const Form1Controls& c = m_p.controls;
            records[static_cast<size_t>(i)] =
                recordTextsOf({c.setv, c.setc, c.delay, c.ovp, c.ocp, c.ovpen, c.ocpen});
            run.progress().setValue(run.progress().value() + 1);
        }
    }
    if (!complete)
        return; // cancelled or ending: the old file stays as it was
    if (!unread.isEmpty()) {
        m_p.controls.SBar1->setPanelText(1, QStringLiteral("Communication error"));
        warn(unreadMemoriesText(unread));
        return;
    }
    if (!writeFileAtomically(path, memoryFileBytes(m_p.state.CsvHeader, records), &why))
        warn(kCannotWrite + u'\n' + why);
}

} // namespace orx
