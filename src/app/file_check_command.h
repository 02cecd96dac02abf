#pragma once
// "orx-panel --check FILE --model MODEL": checks a memory data file against a model and prints one
// problem a line, without a window, a port or a desktop.

#include "app/command_line.h"

namespace orx {

// Exit code 0 when the file has no problem, 1 when it has (each printed as "FILE:LINE: FIELD:
// message" on standard output), 2 when it cannot be read.
inline constexpr int kFileProblemsExitCode = 1;

CommandLine runFileCheck(const QString& file, int modelIndex);

} // namespace orx
