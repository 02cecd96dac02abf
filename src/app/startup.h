#pragma once
// The start procedure: program-wide state, the real serial, GPIB and dialog services, the main window.

class QApplication;

namespace orx {

// Runs the program until it ends; the result is the process exit code.
int runProgram(QApplication& app);

} // namespace orx
