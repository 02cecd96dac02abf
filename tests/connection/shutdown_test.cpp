#include "support/panel_harness.h"

#include "connection/panel_states.h"

#include <QAction>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

struct ShutdownRig : PanelHarness
{
    sim::Instrument orx{0};
    ShutdownRig(bool tripped = false)
    {
        gpib.setInterfaceAvailable(false);
        serial.attachInstrument(2, &orx, 9600);
        if (tripped)
            orx.forceTrip(sim::Protection::Ovp);
        connected();
        serial.clearLog();
    }
};

} // namespace

TEST(Shutdown, ExitButtonReturnsToLocalAndSwitchesTheOutputOffUnlessTripped)
{
    const struct
    {
        bool tripped;
        QStringList log;
    } cases[] = {
        {false, {"COM2 9600,n,8,1: SYST:LOC", "close COM2", "open COM2", "COM2 9600,n,8,1: :OUTP:STAT 0"}},
        {true, {"COM2 9600,n,8,1: SYST:LOC", "close COM2"}},
    };
    for (const auto& c : cases) {
        ShutdownRig h(c.tripped);
        ASSERT_EQ(h.state.ProtectionTripped, c.tripped);
        h.c().cmdexit->click();
        EXPECT_EQ(h.serial.log(), c.log) << "tripped " << c.tripped;
        EXPECT_EQ(h.endings, 1);
        EXPECT_TRUE(h.form->isEnding());
    }
}

TEST(Shutdown, ClosingTheWindowReturnsToLocalTwiceAndLeavesTheOutput)
{
    ShutdownRig h;
    h.form->show();
    h.form->close();
    EXPECT_EQ(h.serial.commands(), QStringList({"SYST:LOC", "SYST:LOC"}));
    EXPECT_EQ(h.endings, 1);
}

TEST(Shutdown, ExitMenuItemEndsWithoutSendingAnything)
{
    ShutdownRig h;
    h.c().mnu_exit->trigger();
    EXPECT_TRUE(h.serial.log().isEmpty());
    EXPECT_EQ(h.endings, 1);
    h.form->close(); // the window going away afterwards sends nothing either
    EXPECT_TRUE(h.serial.log().isEmpty());
}

TEST(Shutdown, OverGpibTheDeviceGoesToLocal)
{
    PanelHarness h;
    sim::Instrument orx(1);
    h.gpib.attachInstrument(3, &orx);
    h.connected();
    h.gpib.clearLog();
    h.c().cmdexit->click();
    EXPECT_EQ(h.gpib.log(), QStringList({"local GPIB3", "GPIB3: :OUTP:STAT 0"}));
}
