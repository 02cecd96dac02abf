#include "traffic/traffic_command.h"

#include "traffic/traffic_console.h"

namespace orx {

TrafficCommand::TrafficCommand(QWidget* mainWindow, CommandLink& link, Dialogs& dialogs)
    : m_mainWindow(mainWindow), m_link(link), m_dialogs(dialogs)
{}

TrafficCommand::~TrafficCommand()
{
    delete m_console.data();
}

void TrafficCommand::showConsole()
{
    if (!m_console)
        m_console = new TrafficConsole(m_mainWindow, m_link, m_dialogs);
    m_console->show();
    m_console->raise();
    m_console->activateWindow();
}

} // namespace orx
