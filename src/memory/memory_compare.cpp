#include "memory/memory_compare.h"

#include "base/dialogs.h"
#include "base/numbers.h"
#include "base/program_state.h"
#include "memory/held_record.h"
#include "memory/memory_reading.h"
#include "memory/memory_rules.h"
#include "memory/upload_plan.h"
#include "panel/form1_controls.h"
#include "ui/list_window.h"
#include "ui/status_bar.h"

#include <QFileInfo>

namespace orx {
namespace {

QList<QStringList> resultRows(const MemoryComparison& comparison)
{
    QList<QStringList> rows;
    for (const FieldDifference& d : comparison.differences)
        rows.append({formatTwoDigit(d.memory), d.field, d.inFile, d.inInstrument});
    for (int memory : comparison.unread)
        rows.append({formatTwoDigit(memory), QStringLiteral("every field"), QString(),
                     QStringLiteral("no answer: not compared")});
    return rows;
}

QString resultSummary(const QString& file, const MemoryComparison& c)
{
    QString text = QStringLiteral("%1 against the instrument: %2 of %3 memories match")
                       .arg(QFileInfo(file).fileName())
                       .arg(c.matching)
                       .arg(c.compared);
    const int differing = c.compared - c.matching - static_cast<int>(c.unread.size());
    if (differing > 0)
        text += QStringLiteral(", %1 differ").arg(differing);
    if (!c.unread.isEmpty())
        text +=
            QStringLiteral(", %1 could not be read (%2)").arg(c.unread.size()).arg(memoryListText(c.unread));
    return text + u'.';
}

} // namespace

MemoryCompare::MemoryCompare(TransferParts parts) : m_p(std::move(parts)) {}

void MemoryCompare::cmpfile_Click()
{
    const QString path = m_p.dialogs.openFileName(kMemoryFileFilter);
    if (path.isEmpty())
        return;
    const std::optional<QStringList> lines = readMemoryFile(path);
    if (!lines) {
        warnOperator(m_p, kCannotOpenFile);
        return;
    }
    const std::map<int, MemoryRecordTexts> expected =
        expectedMemories(planUpload(*lines).records, limitsOf(m_p.state));
    if (expected.empty()) {
        warnOperator(m_p, QStringLiteral("This file holds no record to compare."));
        return;
    }
    const MemoryReadings readings = readMemories(m_p, allMemories());
    if (!readings.complete)
        return; // cancelled or ending: nothing was compared
    const MemoryComparison comparison = compareMemories(expected, readings.records, readings.unread);
    if (!readings.unread.isEmpty())
        m_p.controls.SBar1->setPanelText(1, QStringLiteral("Communication error"));
    if (!m_result) {
        m_result = new ListWindow(m_p.mainWindow, QStringLiteral("CompareResult"),
                                  QStringLiteral("Compare with the instrument"),
                                  {QStringLiteral("Memory"), QStringLiteral("Field"), QStringLiteral("File"),
                                   QStringLiteral("Instrument")});
    }
    m_result->setContents(resultSummary(path, comparison), resultRows(comparison));
    m_result->present();
}

} // namespace orx
