// The rules of watching the instrument's port and of telling a sleep, the link's health, and, in the
// window with in-process instruments, what a suspend and a silent GPIB instrument lead to. The pulled
// cable itself is the fault suite's (recovery_faults_test.cpp).

#include "connection/link_recovery.h"
#include "support/panel_harness.h"

#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

TEST(LinkWatch, OneLookAtThePort)
{
    using W = PortWatch;
    using S = WatchStep;
    const std::tuple<W, bool, bool, bool, WatchDecision> cases[] = {
        // watch, connected, device present, automatic: what follows
        {W::Absent, false, true, true, {W::Off, S::None}},
        {W::Off, true, true, false, {W::Present, S::None}},
        {W::Present, true, false, true, {W::Absent, S::ReportGone}},
        {W::Absent, true, false, true, {W::Absent, S::None}},
        {W::Absent, true, true, true, {W::Absent, S::Rejoin}},
        {W::Absent, true, true, false, {W::Offered, S::Offer}},
        {W::Offered, true, true, true, {W::Offered, S::None}},
        {W::Refused, true, false, false, {W::Absent, S::ReportGone}},
    };
    for (const auto& [watch, connected, present, automatic, decision] : cases)
        EXPECT_EQ(lookAtPort(watch, connected, present, automatic), decision) << int(watch) << present;
    EXPECT_EQ(watchAfterRejoin(RejoinResult::NoAnswer), W::Offered) << "never asks again by itself";
}

TEST(LinkHealth, LiveSlowOrGoneWithTheTimeOutsOfTheLastMinute)
{
    ManualClock clock;
    ProgramState state;
    LinkHealth health(clock, state, {});
    health.timedOut({}, {}); // the search's: not counted
    state.ConnectDone = 1;
    health.received({}, "1\n");
    health.timedOut({}, {});
    clock.advanceMilliseconds(30'000);
    health.gpibReadFailed({});
    clock.advanceMilliseconds(2'500);
    EXPECT_EQ(healthToolTip(health.report(false)),
              "Last good answer 32.5 s ago. Time-outs in the last minute: 2.");
    clock.advanceMilliseconds(28'000);
    EXPECT_EQ(healthText(health.report(false)), "Link: slow, 1 time-out");
    clock.advanceMilliseconds(30'000);
    EXPECT_EQ(healthText(health.report(false)), "Link: live");
}

// A suspend while monitoring (the boot-time clock ran on, the monotonic one stood): before the next
// tick the identity is checked and the state read back, once. A long busy spell is no sleep.
TEST(LinkRecovery, AfterASleepTheStateIsReadBackBeforeTheNextTick)
{
    PanelHarness p;
    sim::Instrument orx{0};
    p.gpib.setInterfaceAvailable(false);
    p.serial.attachInstrument(1, &orx, 9600);
    p.connected();
    p.c().output->select(1);
    p.serial.clearLog();
    p.clock.advanceMilliseconds(60'000);
    p.clock.suspendMilliseconds(2'999);
    EXPECT_TRUE(p.form->recovery().beforeTick());
    EXPECT_TRUE(p.serial.commands().isEmpty()) << "no sleep, nothing to do";
    p.clock.suspendMilliseconds(3'000);
    for (int tick = 0; tick < 2; ++tick)
        EXPECT_TRUE(p.form->recovery().beforeTick());
    EXPECT_EQ(p.serial.commands().mid(0, 2), QStringList({"*IDN?", ":MEAS?"}));
    EXPECT_EQ(p.serial.commands().count("*IDN?"), 1);
    EXPECT_TRUE(p.serial.commands().endsWith(":OUTP:STAT?"));
}

// Over GPIB nothing is watched; when monitoring stops on a missing answer, the offer connects again
// at the same address on the operator's click.
TEST(LinkRecovery, AGpibInstrumentThatFellSilentIsOfferedAgain)
{
    PanelHarness p;
    sim::Instrument orx{1};
    p.gpib.attachInstrument(8, &orx);
    p.connected();
    p.c().output->select(1);
    p.gpib.setFault(sim::Fault::Silence);
    p.form->monitoring().Timer1_Timer();
    ASSERT_FALSE(p.c().cmd_reconnectoffer->isHidden());
    p.gpib.setFault(sim::Fault::None);
    p.gpib.clearLog();
    p.c().cmd_reconnectoffer->click();
    EXPECT_EQ(p.gpib.commands().mid(0, 2), QStringList({"*IDN?", ":MEAS?"}));
    EXPECT_TRUE(p.form->timer1().isActive() && p.c().cmd_reconnectoffer->isHidden()) << "monitoring resumes";
}
