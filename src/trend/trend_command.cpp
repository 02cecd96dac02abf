#include "trend/trend_command.h"

namespace orx {

TrendCommand::TrendCommand(QWidget* mainWindow, TrendSources sources, Dialogs& dialogs)
    : m_mainWindow(mainWindow), m_sources(std::move(sources)), m_dialogs(dialogs)
{}

TrendCommand::~TrendCommand()
{
    delete m_window.data();
}

void TrendCommand::showWindow()
{
    if (!m_window)
        m_window = new TrendWindow(m_mainWindow, m_sources, m_dialogs);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace orx
