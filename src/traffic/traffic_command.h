#pragma once
// The View menu's "&Traffic..." command: shows the one traffic console of the main window, modeless
// and owned by it, creating it on first use and bringing it forward on every later use.

#include <QPointer>

class QWidget;

namespace orx {

class CommandLink;
class Dialogs;
class TrafficConsole;

class TrafficCommand
{
public:
    TrafficCommand(QWidget* mainWindow, CommandLink& link, Dialogs& dialogs);
    // The console watches the link, so it goes with this command, before the link does.
    ~TrafficCommand();
    TrafficCommand(const TrafficCommand&) = delete;
    TrafficCommand& operator=(const TrafficCommand&) = delete;

    void showConsole();

private:
    QWidget* m_mainWindow;
    CommandLink& m_link;
    Dialogs& m_dialogs;
    QPointer<TrafficConsole> m_console;
};

} // namespace orx
