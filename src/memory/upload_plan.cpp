#include "memory/upload_plan.h"

#include "memory/memory_file.h"

namespace orx {

UploadPlan planUpload(const QStringList& fileLines)
{
    UploadPlan plan;
    for (qsizetype i = 1; i < fileLines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        if (isEmptyRecordLine(fileLines[i]))
            continue;
        QStringList fields = splitRecordFields(fileLines[i]);
        if (fields.size() < kRecordFields) {
            plan.shortLines.append(line);
            continue;
        }
        plan.records.append({line, fields.mid(0, kRecordFields)});
    }
    return plan;
}

} // namespace orx
