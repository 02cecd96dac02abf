#pragma once
// What the download and the upload take from the main window.

#include <QString>
#include <functional>

class QWidget;

namespace orx {

class Dialogs;
class MemoryBank;
class TransferGate;
struct Form1Controls;
struct ProgramState;

struct TransferParts
{
    QWidget* mainWindow;
    const Form1Controls& controls;
    ProgramState& state;
    Dialogs& dialogs;
    MemoryBank& bank;
    TransferGate& gate;
    std::function<bool()> programEnding;
};

} // namespace orx
