#pragma once
// What the download and the upload share: only one transfer runs at a time, a progress window with
// a Cancel button counts the memories, and between memories the transfer lets the window's events
// run and learns whether it must stop (Cancel, the progress window closed, or the program ending).

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace orx {

class Form2;

// Tells whether a transfer is running; the main window ignores the commands that would start a
// second one or pull the instrument away under it.
class TransferGate
{
public:
    bool running() const { return m_running; }

private:
    friend class TransferRun;
    bool m_running = false;
};

class TransferRun
{
public:
    // Marks the gate and shows the progress window with its caption, text and maximum.
    TransferRun(TransferGate& gate, QWidget* mainWindow, const QString& caption, const QString& text, int max,
                std::function<bool()> programEnding);
    // Unloads the progress window, brings the main window to the front (unless the program is
    // ending) and frees the gate.
    ~TransferRun();
    TransferRun(const TransferRun&) = delete;
    TransferRun& operator=(const TransferRun&) = delete;

    Form2& progress() { return *m_progress; }

    // Lets pending events run once; false from the moment the operator cancelled or the program
    // began to end.
    bool goOn();
    bool programEnding() const { return m_programEnding(); }

private:
    TransferGate& m_gate;
    QWidget* m_mainWindow;
    std::unique_ptr<Form2> m_progress;
    std::function<bool()> m_programEnding;
};

} // namespace orx
