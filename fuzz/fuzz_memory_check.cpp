// The file check on arbitrary bytes, for each model.
//
// Properties: every problem points at a line of the file (or line 1 of an empty one), in file order,
// names a field and says something; and what the panel uses instead is itself clean: a file of the
// values the panel would write has no problem left but an OVP level below its voltage, which the
// panel sends as it stands.

#include "fuzz_check.h"
#include "memory/held_record.h"
#include "memory/memory_check.h"
#include "memory/memory_file.h"
#include "memory/upload_plan.h"
#include "memory_lines.h"

#include <cstdint>

using namespace orx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int model = size > 0 ? data[0] % kModelCount : 0;
    const QStringList lines =
        memoryLinesOf(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const QList<FileProblem> problems = checkMemoryLines(lines, model);
    int previousLine = 1;
    for (const FileProblem& p : problems) {
        FUZZ_CHECK(p.line >= previousLine && p.line <= qMax<qsizetype>(1, lines.size()));
        FUZZ_CHECK(recordFieldNames().contains(p.field) || p.field == QStringLiteral("Field 9"));
        FUZZ_CHECK(!p.message.isEmpty());
        previousLine = p.line;
    }

    QStringList cleaned = {QStringLiteral("Record")};
    for (const auto& [memory, texts] : expectedMemories(planUpload(lines).records, limitsOfModel(model)))
        cleaned.append(recordLine(memory, texts));
    for (const FileProblem& p : checkMemoryLines(cleaned, model)) {
        const bool noRecord = cleaned.size() == 1 && p.line == 1;
        FUZZ_CHECK(noRecord || (p.field == QStringLiteral("OVP (V)") && p.found == p.instead));
    }
    return 0;
}
