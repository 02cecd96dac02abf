#pragma once
// The start procedure: program-wide state, the real serial, GPIB and dialog services, the main window.

#include <QtGlobal>
#include <optional>

class QApplication;

namespace orx {

// Runs the program until it ends; the result is the process exit code. With a remote port the panel
// serves remote clients on it for this run, else as the operator's saved choice says.
int runProgram(QApplication& app, std::optional<quint16> remotePort = std::nullopt);

} // namespace orx
