#include "support/panel_harness.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

// The three ways out. Only the EXIT button switches the output off (unless a protection tripped);
// closing the window asks the device to go to local twice; the menu item sends nothing at all.
TEST(Shutdown, EachWayOutSendsItsOwnCommands)
{
    enum Way
    {
        Exit,
        CloseWindow,
        ExitItem // then the window goes
    };
    const QString local = QStringLiteral("COM2 9600,n,8,1: SYST:LOC");
    const struct
    {
        const char* name;
        bool tripped, overGpib;
        Way way;
        QStringList log; // of the serial port, only its written lines when closing the window
    } cases[] = {
        {"EXIT", false, false, Exit, {local, "close COM2", "open COM2", "COM2 9600,n,8,1: :OUTP:STAT 0"}},
        {"EXIT, tripped", true, false, Exit, {local, "close COM2"}},
        {"EXIT over GPIB", false, true, Exit, {"local GPIB2", "GPIB2: :OUTP:STAT 0"}},
        {"closing the window", false, false, CloseWindow, {local, local}},
        {"the Exit item", false, false, ExitItem, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelHarness h;
        sim::Instrument orx(0);
        h.gpib.setInterfaceAvailable(c.overGpib);
        c.overGpib ? h.gpib.attachInstrument(2, &orx) : h.serial.attachInstrument(2, &orx, 9600);
        if (c.tripped)
            orx.forceTrip(sim::Protection::Ovp);
        h.connected();
        ASSERT_EQ(h.state.ProtectionTripped, c.tripped);
        h.serial.clearLog();
        h.gpib.clearLog();
        if (c.way == Exit) {
            h.c().cmdexit->click();
        } else {
            c.way == ExitItem ? h.c().mnu_exit->trigger() : h.form->show();
            h.form->close();
        }
        EXPECT_EQ(c.overGpib             ? h.gpib.log()
                  : c.way == CloseWindow ? h.serial.lines()
                                         : h.serial.log(),
                  c.log);
        EXPECT_EQ(h.endings, 1);
        EXPECT_TRUE(h.form->isEnding());
    }
}
