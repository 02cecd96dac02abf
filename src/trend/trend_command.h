#pragma once
// The View menu's "T&rend..." command: shows the one trend window of the main window, modeless and
// owned by it, creating it on first use and bringing it forward on every later use.

#include "trend/trend_window.h"

#include <QPointer>

namespace orx {

class TrendCommand
{
public:
    TrendCommand(QWidget* mainWindow, TrendSources sources, Dialogs& dialogs);
    // The window watches the monitoring loop and writes its log until it goes, with this command.
    ~TrendCommand();
    TrendCommand(const TrendCommand&) = delete;
    TrendCommand& operator=(const TrendCommand&) = delete;

    void showWindow();

private:
    QWidget* m_mainWindow;
    TrendSources m_sources;
    Dialogs& m_dialogs;
    QPointer<TrendWindow> m_window;
};

} // namespace orx
