#include "memory/memory_upload.h"

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/program_state.h"
#include "memory/held_record.h"
#include "memory/memory_bank.h"
#include "memory/memory_file.h"
#include "memory/memory_reading.h"
#include "memory/memory_rules.h"
#include "memory/transfer_run.h"
#include "memory/upload_plan.h"
#include "panel/form1_controls.h"
#include "ui/form2.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QCheckBox>

namespace orx {
namespace {

constexpr double kPauseSeconds = 0.5; // the instrument's time to store a memory

QString saveText(const QString& number)
{
    return QStringLiteral("Save the setting data to #") + number + QStringLiteral(" location.");
}

QString unreachedText(const QStringList& memories)
{
    return QStringLiteral("The instrument could not be reached. Memories %1 were not written.")
        .arg(memories.join(QStringLiteral(", ")));
}

QString shortLinesText(const QList<int>& lines)
{
    QStringList numbers;
    for (int line : lines)
        numbers.append(QString::number(line));
    const QString sentence =
        lines.size() == 1
            ? QStringLiteral("Line %1 of the file has fewer than eight fields and was not written.")
            : QStringLiteral("Lines %1 of the file have fewer than eight fields and were not written.");
    return sentence.arg(numbers.join(QStringLiteral(", ")));
}

} // namespace

MemoryUpload::MemoryUpload(TransferParts parts, const Clock& clock, IdleWait idleWait)
    : m_p(std::move(parts)), m_clock(clock), m_idleWait(std::move(idleWait))
{}

void MemoryUpload::rallfile_Click()
{
    const QString path = m_p.dialogs.openFileName(kMemoryFileFilter);
    if (path.isEmpty())
        return;
    m_p.state.DataFilePath = path;
    const std::optional<QStringList> lines = readMemoryFile(path);
    if (!lines) {
        warnOperator(m_p, kCannotOpenFile);
        return;
    }
    const UploadPlan plan = planUpload(*lines);
    bool complete = true;
    QStringList unreached; // memories not written because the instrument could not be reached
    if (!plan.records.isEmpty()) {
        TransferRun run(
            m_p.gate, m_p.mainWindow, QStringLiteral("Save the setting data to a specific memory location."),
            saveText(QStringLiteral("0")), static_cast<int>(plan.records.size()), m_p.programEnding);
        m_p.controls.output->select(kOff);
        m_p.controls.autorun->select(kOff);
        for (const UploadRecord& record : plan.records) {
            if (!run.goOn()) {
                complete = false;
                break;
            }
            showRecord(record.fields);
            // The memory the Record field holds the line's number to, as the save names it.
            const QString number = memoryNumberText(m_p.controls.record->value());
            run.progress().setText(saveText(number));
            if (!unreached.isEmpty() || !m_p.bank.SaveMemory()) {
                // The port went away: the rest is not sent, and none of it is called done.
                unreached.append(number);
                continue;
            }
            WaitSeconds(kPauseSeconds, m_clock, m_idleWait);
            run.progress().setValue(run.progress().value() + 1);
        }
    }
    if (!unreached.isEmpty()) {
        m_p.controls.SBar1->setPanelText(1, QStringLiteral("Communication error"));
        warnOperator(m_p, unreachedText(unreached));
        return;
    }
    if (complete && !plan.shortLines.isEmpty())
        warnOperator(m_p, shortLinesText(plan.shortLines));
    if (complete && !plan.records.isEmpty() && m_p.controls.verifyUpload->isChecked())
        verify(plan.records);
}

// Reads every written memory back as the download does and says whether it holds what was sent.
void MemoryUpload::verify(const QList<UploadRecord>& records)
{
    const std::map<int, MemoryRecordTexts> expected = expectedMemories(records, limitsOf(m_p.state));
    QList<int> memories;
    for (const auto& written : expected)
        memories.append(written.first);
    const MemoryReadings readings = readMemories(m_p, memories);
    if (!readings.complete)
        return; // cancelled or ending: nothing is claimed
    const MemoryComparison c = compareMemories(expected, readings.records, readings.unread);
    const QString verified =
        QStringLiteral("Verified: %1 of %2 memories match.").arg(c.matching).arg(c.compared);
    if (c.matching == c.compared) {
        m_p.dialogs.messageBox(verified);
        return;
    }
    QStringList lines = {verified};
    for (const FieldDifference& d : c.differences)
        lines.append(QStringLiteral("Memory %1: %2 is %3 in the file, %4 in the instrument.")
                         .arg(formatTwoDigit(d.memory), d.field, d.inFile, d.inInstrument));
    if (!c.unread.isEmpty()) {
        m_p.controls.SBar1->setPanelText(1, QStringLiteral("Communication error"));
        lines.append(QStringLiteral("Memories %1 could not be read back: not verified.")
                         .arg(memoryListText(c.unread)));
    }
    warnOperator(m_p, lines.join(u'\n'));
}

// The record goes through the group's fields with the values their rules hold it to: the same values
// the file check and the verification measure against.
void MemoryUpload::showRecord(const QStringList& fields)
{
    const HeldRecord held = heldRecord(fields, limitsOf(m_p.state));
    const Form1Controls& c = m_p.controls;
    c.record->setValue(held.memory);
    c.vm->setValue(held.voltage);
    c.cm->setValue(held.current);
    c.delay->setValue(held.delay);
    c.ovpm->setValue(held.ovpLevel);
    c.ocpm->setValue(held.ocpLevel);
    c.ovpmen->setOptionSelected(kOn, held.ovpOn);
    c.ocpmen->setOptionSelected(kOn, held.ocpOn);
}

} // namespace orx
