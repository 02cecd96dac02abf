#pragma once
// What the download and the upload share: only one transfer runs at a time, a progress window with
// a Cancel button counts the memories, and between memories the transfer lets the window's events
// run and learns whether it must stop (Cancel, the progress window closed, or the program ending).

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace orx {

class DeferredPainting;
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
    // Paints the main window and the progress window: their painting waits for this call, so that a
    // transfer paints while a line of its own is on the wire rather than while the line stands idle.
    void paintWindows();

private:
    TransferGate& m_gate;
    QWidget* m_mainWindow;
    std::unique_ptr<Form2> m_progress;
    std::unique_ptr<DeferredPainting> m_painting;
    std::function<bool()> m_programEnding;
};

} // namespace orx
