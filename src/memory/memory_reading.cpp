#include "memory/memory_reading.h"

#include "base/numbers.h"
#include "memory/memory_bank.h"
#include "memory/transfer_run.h"
#include "panel/form1_controls.h"
#include "ui/form2.h"
#include "ui/option_group.h"

namespace orx {
namespace {

QString recallText(const QString& number)
{
    return QStringLiteral("Recall the setting data from #") + number + QStringLiteral(" location.");
}

} // namespace

QList<int> allMemories()
{
    QList<int> memories;
    for (int i = 0; i < kMemoryCount; ++i)
        memories.append(i);
    return memories;
}

MemoryReadings readMemories(const TransferParts& p, const QList<int>& memories)
{
    MemoryReadings readings;
    TransferRun run(
        p.gate, p.mainWindow, QStringLiteral("Recall the setting data from a specific memory location."),
        recallText(formatTwoDigit(memories.value(0))), static_cast<int>(memories.size()), p.programEnding);
    const Form1Controls& c = p.controls;
    c.output->select(kOff);
    c.autorun->select(kOff);
    for (int memory : memories) {
        if (!run.goOn())
            return readings;
        const QString number = formatTwoDigit(memory);
        run.progress().setText(recallText(number));
        // The windows are painted while the recall line is on its way, not while the line stands idle.
        if (!p.bank.RecallMemory(number, [&run] { run.paintWindows(); }))
            readings.unread.append(memory);
        // The memory just recalled, as the panel shows it.
        readings.records[memory] = recordTextsOf({c.setv, c.setc, c.delay, c.ovp, c.ocp, c.ovpen, c.ocpen});
        run.progress().setValue(run.progress().value() + 1);
    }
    readings.complete = true;
    return readings;
}

} // namespace orx
