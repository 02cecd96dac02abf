#include "panel/panel_states.h"

#include "base/program_state.h"
#include "link/command_link.h"
#include "link/gpib_service.h"
#include "panel/form1_controls.h"
#include "ui/option_group.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace orx {
namespace {

void enable(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}

void enable(std::initializer_list<QMenu*> menus, bool enabled)
{
    for (QMenu* menu : menus)
        menu->menuAction()->setEnabled(enabled);
}

} // namespace

PanelStates::PanelStates(const Form1Controls& controls, ProgramState& state, CommandLink& link,
                         QTimer& timer1)
    : m_c(controls), m_state(state), m_link(link), m_timer1(timer1)
{}

void PanelStates::SetPanelEnabled(bool e)
{
    enable({m_c.Frame1, m_c.Frame2, m_c.Frame3, m_c.Frame4, m_c.Frame5, m_c.Frame6, m_c.Frame12,
            m_c.cmd_reconnect},
           e);
    enable({m_c.mnufile, m_c.mnudevice, m_c.mnuinterface, m_c.mnuaction, m_c.mnuhelp}, e);
}

void PanelStates::SetDisconnectedPanel()
{
    enable({m_c.Frame1, m_c.cmd_reconnect}, true);
    enable({m_c.Frame2, m_c.Frame3, m_c.Frame4, m_c.Frame5, m_c.Frame6, m_c.Frame12}, false);
    enable({m_c.mnuinterface, m_c.mnuaction, m_c.mnuhelp}, true);
}

void PanelStates::SetOperatingControlsEnabled(bool e)
{
    enable({m_c.Frame1, m_c.Frame3, m_c.Frame4, m_c.Frame5, m_c.Frame6, m_c.Frame7, m_c.Frame13,
            m_c.cmd_reconnect},
           e);
    enable({m_c.mnufile, m_c.mnudevice, m_c.mnuinterface}, e);
    m_c.mnu_reconnect->setEnabled(e);
}

void PanelStates::SetOutputControlsEnabled(bool e)
{
    enable({m_c.Frame7, m_c.Frame13}, e);
    m_c.ovpen->setAllEnabled(e);
    m_c.ocpen->setAllEnabled(e);
}

void PanelStates::SetProtectionTripped(QPushButton* clearButton, bool tripped)
{
    m_state.ProtectionTripped = tripped;
    clearButton->setEnabled(tripped);
    m_c.ovpen->setAllEnabled(!tripped);
    m_c.ocpen->setAllEnabled(!tripped);
    SetOperatingControlsEnabled(!tripped);
    if (tripped)
        m_timer1.stop();
}

void PanelStates::ReturnToLocal()
{
    if (m_state.InterfaceMode != 1) {
        m_link.gpib().goToLocal();
        return;
    }
    m_link.SendCommand(QStringLiteral("SYST:LOC"));
    m_link.CloseSerialPort();
}

} // namespace orx
