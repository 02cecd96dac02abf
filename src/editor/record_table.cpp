#include "editor/record_table.h"

namespace orx {
namespace {

constexpr int kFieldCount = 8;

} // namespace

void loadRecordLines(RecordTable& table, const QStringList& lines,
                     const std::function<void()>& beforeEachLine)
{
    std::array<QString, kFieldCount> buffer;
    for (const QString& line : lines) {
        if (beforeEachLine)
            beforeEachLine();
        const QStringList fields = splitRecordFields(line);
        const std::optional<qint16> number = editorRecordNumber(fields.first());
        if (!number)
            continue;
        for (qsizetype i = 0; i < qMin<qsizetype>(fields.size(), kFieldCount); ++i)
            buffer[static_cast<size_t>(i)] = fields[i];
        if (*number < 0 || *number >= kMemoryCount)
            continue;
        table[static_cast<size_t>(*number)] = {buffer[1], buffer[2], buffer[3], buffer[4],
                                               buffer[5], buffer[6], buffer[7]};
    }
}

RecordTable withDefaultsFilled(RecordTable table)
{
    for (MemoryRecordTexts& record : table) {
        if (record.voltage.isEmpty())
            record = kDefaultRecord;
    }
    return table;
}

QStringList savedFileLines(const RecordTable& table, const QString& header)
{
    const RecordTable saved = withDefaultsFilled(table);
    QStringList lines = {header};
    for (int i = 0; i < kMemoryCount; ++i)
        lines.append(recordLine(i, saved[static_cast<size_t>(i)]));
    return lines;
}

} // namespace orx
