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
    const struct
    {
        W watch;
        bool connected, present, automatic;
        WatchDecision decision;
    } cases[] = {
        {W::Absent, false, true, true, {W::Off, S::None}},
        {W::Off, true, true, false, {W::Present, S::None}},
        {W::Off, true, false, true, {W::Absent, S::ReportGone}},
        {W::Present, true, false, true, {W::Absent, S::ReportGone}},
        {W::Absent, true, false, true, {W::Absent, S::None}},
        {W::Absent, true, true, true, {W::Absent, S::Rejoin}},
        {W::Absent, true, true, false, {W::Offered, S::Offer}},
        {W::Offered, true, true, true, {W::Offered, S::None}},
        {W::Offered, true, false, true, {W::Absent, S::ReportGone}},
        {W::Refused, true, true, true, {W::Refused, S::None}},
        {W::Refused, true, false, false, {W::Absent, S::ReportGone}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookAtPort(c.watch, c.connected, c.present, c.automatic), c.decision)
            << int(c.watch) << c.connected << c.present << c.automatic;
    EXPECT_EQ(watchAfterRejoin(RejoinResult::NoAnswer), W::Offered) << "never asks again by itself";
    EXPECT_EQ(watchAfterRejoin(RejoinResult::PortUnavailable), W::Absent);
}

TEST(LinkWatch, ASleepIsTheBootClockRunningOnWithoutTheMonotonicOne)
{
    ManualClock clock;
    SleepWatch sleep(clock);
    clock.advanceMilliseconds(60'000); // a long busy spell is no sleep
    clock.suspendMilliseconds(2'999);
    EXPECT_FALSE(sleep.sleptSinceLastLook());
    clock.suspendMilliseconds(3'000);
    EXPECT_TRUE(sleep.sleptSinceLastLook());
    EXPECT_FALSE(sleep.sleptSinceLastLook()) << "once per sleep";
}

TEST(LinkHealth, LiveSlowOrGoneWithTheTimeOutsOfTheLastMinute)
{
    ManualClock clock;
    ProgramState state;
    LinkHealth health(clock, state, {});
    EXPECT_EQ(healthText(health.report(false)), "Link: none");
    state.ConnectDone = 1;
    health.received({}, "1\n");
    health.timedOut({}, {});
    clock.advanceMilliseconds(30'000);
    health.gpibReadFailed({});
    clock.advanceMilliseconds(2'500);
    const HealthReport slow = health.report(false);
    EXPECT_EQ(healthText(slow), "Link: slow, 2 time-outs");
    EXPECT_EQ(healthToolTip(slow), "Last good answer 32.5 s ago. Time-outs in the last minute: 2.");
    clock.advanceMilliseconds(28'000);
    EXPECT_EQ(healthText(health.report(false)), "Link: slow, 1 time-out");
    EXPECT_EQ(healthText(health.report(true)), "Link: gone");
    clock.advanceMilliseconds(30'000);
    EXPECT_EQ(healthText(health.report(false)), "Link: live");
}

// A suspend while monitoring: before the next tick the identity is checked and the state read back;
// another instrument found there is refused, and the tick does not run.
TEST(LinkRecovery, AfterASleepTheStateIsReadBackBeforeTheNextTick)
{
    for (const bool sameInstrument : {true, false}) {
        SCOPED_TRACE(sameInstrument);
        PanelHarness p;
        sim::Instrument orx{0}, other{2};
        p.gpib.setInterfaceAvailable(false);
        p.serial.attachInstrument(1, &orx, 9600);
        p.connected();
        p.c().output->select(1);
        if (!sameInstrument)
            p.serial.attachInstrument(1, &other, 9600);
        p.serial.clearLog();
        EXPECT_TRUE(p.form->recovery().beforeTick()) << "no sleep, nothing to do";
        p.clock.suspendMilliseconds(8 * 3600 * 1000);
        EXPECT_EQ(p.form->recovery().beforeTick(), sameInstrument);
        const QStringList asked = p.serial.commands();
        EXPECT_EQ(asked.mid(0, 2), QStringList({"*IDN?", ":MEAS?"}).mid(0, sameInstrument ? 2 : 1));
        EXPECT_EQ(asked.contains(":OUTP:STAT?"), sameInstrument);
        EXPECT_EQ(p.form->timer1().isActive(), sameInstrument);
        EXPECT_EQ(p.c().SBar1->panelText(1),
                  sameInstrument ? "Ready" : "Another instrument (ORX-C300) is on COM1");
        EXPECT_EQ(p.c().linkhealth->text(), sameInstrument ? "Link: live" : "Link: gone");
    }
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
    EXPECT_FALSE(p.form->timer1().isActive());
    EXPECT_FALSE(p.c().cmd_reconnectoffer->isHidden());
    p.gpib.setFault(sim::Fault::None);
    p.gpib.clearLog();
    p.c().cmd_reconnectoffer->click();
    EXPECT_EQ(p.gpib.commands().mid(0, 2), QStringList({"*IDN?", ":MEAS?"}));
    EXPECT_TRUE(p.form->timer1().isActive()) << "monitoring resumes";
    EXPECT_TRUE(p.c().cmd_reconnectoffer->isHidden());
}
