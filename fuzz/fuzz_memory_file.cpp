// The memory data file as the upload and the editor read it, on arbitrary bytes.
//
// Properties: reading is bounded (at most 1002 lines of at most 4096 characters, never a line end
// inside a line); every record the upload would write has exactly eight trimmed, comma-free fields
// and comes from a line of the file; and a file the editor loaded and saved again reads back to the
// same table, by the editor's rules and by the upload's.

#include "base/program_state.h"
#include "editor/record_table.h"
#include "fuzz_check.h"
#include "memory/memory_file.h"
#include "memory/upload_plan.h"
#include "memory_lines.h"

#include <cstdint>

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = memoryLinesOf(file);
    FUZZ_CHECK(lines.size() <= kMaxMemoryFileLines);
    for (const QString& line : lines)
        FUZZ_CHECK(line.size() <= kMaxMemoryFileLineLength && !line.contains(u'\r') && !line.contains(u'\n'));

    const UploadPlan plan = planUpload(lines);
    for (const UploadRecord& record : plan.records) {
        FUZZ_CHECK(record.fields.size() == kRecordFields);
        FUZZ_CHECK(record.line >= 2 && record.line <= lines.size());
        FUZZ_CHECK(!plan.shortLines.contains(record.line));
        for (const QString& field : record.fields)
            FUZZ_CHECK(!field.contains(u',') && !field.startsWith(u' ') && !field.endsWith(u' '));
    }

    RecordTable table;
    loadRecordLines(table, lines.mid(1));
    const RecordTable saved = withDefaultsFilled(table);
    const QByteArray written = memoryFileBytes(kCsvHeader, saved);
    const QStringList again = memoryLinesOf(written);
    FUZZ_CHECK(again.size() == 1 + kMemoryCount);
    RecordTable reread;
    loadRecordLines(reread, again.mid(1));
    FUZZ_CHECK(reread == saved);
    FUZZ_CHECK(memoryFileBytes(kCsvHeader, withDefaultsFilled(reread)) == written);

    const UploadPlan replan = planUpload(again);
    FUZZ_CHECK(replan.records.size() == kMemoryCount && replan.shortLines.isEmpty());
    for (int i = 0; i < kMemoryCount; ++i) {
        const MemoryRecordTexts& r = saved[static_cast<size_t>(i)];
        FUZZ_CHECK(replan.records[i].fields ==
                   QStringList({QStringLiteral("%1").arg(i, 2, 10, QChar(u'0')), r.voltage, r.current,
                                r.delay, r.ovpLevel, r.ocpLevel, r.ovpStatus, r.ocpStatus}));
    }
    return 0;
}
