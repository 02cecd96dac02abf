#include "support/panel_harness.h"

#include "connection/panel_states.h"
#include "ui/option_group.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// One control of the state table: its name and its own Enabled state (a control inside a disabled
// group keeps its own state, as the table describes it).
struct Control
{
    const char* name;
    std::function<bool(const Form1Controls&)> get;
    std::function<void(const Form1Controls&, bool)> set;
};

using WidgetOf = QWidget* (*)(const Form1Controls&);
using MenuOf = QMenu* (*)(const Form1Controls&);
using PairOf = OptionGroup* (*)(const Form1Controls&);

Control widget(const char* name, WidgetOf of)
{
    return {name, [of](const Form1Controls& c) { return !of(c)->testAttribute(Qt::WA_ForceDisabled); },
            [of](const Form1Controls& c, bool e) {
                of(c)->setEnabled(e);
            }};
}

Control menu(const char* name, MenuOf of)
{
    return {name, [of](const Form1Controls& c) { return of(c)->menuAction()->isEnabled(); },
            [of](const Form1Controls& c, bool e) {
                of(c)->menuAction()->setEnabled(e);
            }};
}

Control pair(const char* name, PairOf of)
{
    return {name,
            [of](const Form1Controls& c) {
                return !of(c)->option(0)->testAttribute(Qt::WA_ForceDisabled) &&
                       !of(c)->option(1)->testAttribute(Qt::WA_ForceDisabled);
            },
            [of](const Form1Controls& c, bool e) {
                of(c)->setAllEnabled(e);
            }};
}

const std::vector<Control>& controls()
{
    static const std::vector<Control> list = {
        widget("Frame1", [](const Form1Controls& c) -> QWidget* { return c.Frame1; }),
        widget("Frame2", [](const Form1Controls& c) -> QWidget* { return c.Frame2; }),
        widget("Frame3", [](const Form1Controls& c) -> QWidget* { return c.Frame3; }),
        widget("Frame4", [](const Form1Controls& c) -> QWidget* { return c.Frame4; }),
        widget("Frame5", [](const Form1Controls& c) -> QWidget* { return c.Frame5; }),
        widget("Frame6", [](const Form1Controls& c) -> QWidget* { return c.Frame6; }),
        widget("Frame7", [](const Form1Controls& c) -> QWidget* { return c.Frame7; }),
        widget("Frame12", [](const Form1Controls& c) -> QWidget* { return c.Frame12; }),
        widget("Frame13", [](const Form1Controls& c) -> QWidget* { return c.Frame13; }),
        menu("mnufile", [](const Form1Controls& c) { return c.mnufile; }),
        menu("mnudevice", [](const Form1Controls& c) { return c.mnudevice; }),
        menu("mnuinterface", [](const Form1Controls& c) { return c.mnuinterface; }),
        menu("mnuaction", [](const Form1Controls& c) { return c.mnuaction; }),
        {"mnu_reconnect", [](const Form1Controls& c) { return c.mnu_reconnect->isEnabled(); },
         [](const Form1Controls& c, bool e) {
             c.mnu_reconnect->setEnabled(e);
         }},
        menu("mnuhelp", [](const Form1Controls& c) { return c.mnuhelp; }),
        widget("cmd_reconnect", [](const Form1Controls& c) -> QWidget* { return c.cmd_reconnect; }),
        pair("ovpen", [](const Form1Controls& c) { return c.ovpen; }),
        pair("ocpen", [](const Form1Controls& c) { return c.ocpen; }),
        widget("cmdexit", [](const Form1Controls& c) -> QWidget* { return c.cmdexit; }),
    };
    return list;
}

} // namespace

// Each procedure, started once from all controls enabled and once from all disabled: 'e' follows the
// argument, '+' is always enabled, '-' always disabled, '.' untouched.
TEST(PanelStates, EachProcedureSetsExactlyItsControls)
{
    const struct
    {
        const char* name;
        std::function<void(PanelStates&, bool)> run;
        const char* table; // one character per control, in the order of controls()
    } procedures[] = {
        // Frames 1-6, 7, 12, 13 | Edit, Device, Interface, Action, Reconnect item, Help |
        // Reconnect button, ovpen, ocpen, EXIT
        {"SetPanelEnabled", [](PanelStates& p, bool e) { p.SetPanelEnabled(e); }, "eeeeee.e.eeee.ee..."},
        {"SetDisconnectedPanel", [](PanelStates& p, bool) { p.SetDisconnectedPanel(); },
         "+-----.-...++.++..."},
        {"SetOperatingControlsEnabled", [](PanelStates& p, bool e) { p.SetOperatingControlsEnabled(e); },
         "e.eeeee.eeee.e.e..."},
        {"SetOutputControlsEnabled", [](PanelStates& p, bool e) { p.SetOutputControlsEnabled(e); },
         "......e.e.......ee."},
    };
    for (const auto& procedure : procedures) {
        for (const bool start : {true, false}) {
            for (const bool argument : {true, false}) {
                PanelHarness h;
                h.serial.addEmptyPort(1);
                h.createAndLoad();
                for (const Control& control : controls())
                    control.set(h.c(), start);
                procedure.run(h.form->panelStates(), argument);
                const std::string table = procedure.table;
                ASSERT_EQ(table.size(), controls().size()) << procedure.name;
                for (size_t i = 0; i < controls().size(); ++i) {
                    const char rule = table[i];
                    const bool expected = rule == 'e'   ? argument
                                          : rule == '+' ? true
                                          : rule == '-' ? false
                                                        : start;
                    EXPECT_EQ(controls()[i].get(h.c()), expected)
                        << procedure.name << "(" << argument << ") from " << start << ": "
                        << controls()[i].name;
                }
            }
        }
    }
}

TEST(PanelStates, TripLocksAndClearingReleasesAllButMonitoring)
{
    PanelHarness h;
    h.serial.addEmptyPort(1);
    h.createAndLoad();
    h.form->timer1().start();
    PanelStates& states = h.form->panelStates();
    states.SetProtectionTripped(h.c().clearovp, true);
    EXPECT_TRUE(h.state.ProtectionTripped);
    EXPECT_TRUE(h.c().clearovp->isEnabled());
    EXPECT_FALSE(h.c().clearocp->isEnabled());
    EXPECT_FALSE(h.c().ovpen->option(0)->isEnabled());
    EXPECT_FALSE(h.c().ocpen->option(1)->isEnabled());
    EXPECT_FALSE(h.c().Frame13->isEnabled());
    EXPECT_FALSE(h.form->timer1().isActive());

    states.SetProtectionTripped(h.c().clearovp, false);
    EXPECT_FALSE(h.state.ProtectionTripped);
    EXPECT_FALSE(h.c().clearovp->isEnabled());
    EXPECT_TRUE(h.c().ovpen->option(0)->isEnabled());
    EXPECT_TRUE(h.c().Frame13->isEnabled());
    EXPECT_FALSE(h.form->timer1().isActive()) << "monitoring is not restarted";
}
