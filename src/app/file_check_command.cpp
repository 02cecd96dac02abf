#include "app/file_check_command.h"

#include "memory/memory_check.h"

namespace orx {

CommandLine runFileCheck(const QString& file, int modelIndex)
{
    CommandLine result;
    result.exits = true;
    const FileCheck check = checkMemoryFile(file, modelIndex);
    if (!check.readable) {
        result.exitCode = kUsageExitCode;
        result.err = QStringLiteral("orx-panel: cannot read %1: %2\n").arg(file, check.why);
        return result;
    }
    for (const FileProblem& problem : check.problems)
        result.out += problemLine(file, problem) + u'\n';
    result.exitCode = check.problems.isEmpty() ? 0 : kFileProblemsExitCode;
    return result;
}

} // namespace orx
