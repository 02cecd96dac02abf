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

// What the upload and the comparison say when the chosen file cannot be opened.
inline const QString kCannotOpenFile = QStringLiteral("Can not open this file. Please try the other file.");

// A message box titled "Warning": how every transfer reports what went wrong.
void warnOperator(const TransferParts& parts, const QString& text);

} // namespace orx
