// The read-back, the monitoring tick, the output and protection switches and the Clear buttons, on a
// scripted port.

#include "panel/output_switches.h"
#include "support/panel_harness.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace orx;
using namespace orx::test;

namespace {

const Commands kTick = {":MEAS?",           "*CLS",        ":MEAS:CURR?", "*CLS", ":CURR:PROT:TRIP?",
                        ":VOLT:PROT:TRIP?", ":OUTP:STAT?", "*CLS"};
const Commands kReadBack = {":MEAS?",           ":MEAS:CURR?",      ":VOLT?",      ":CURR?",
                            ":CURR:PROT:TRIP?", ":VOLT:PROT:TRIP?", ":VOLT:PROT?", ":VOLT:PROT:STAT?",
                            ":CURR:PROT?",      ":CURR:PROT:STAT?"};

// A panel whose output was switched on by the operator (the loop runs), with the switches showing
// what the instrument reports, so that no read-back sends a switch state back.
struct Monitoring : PanelHarness
{
    Monitoring() : PanelHarness(scriptedAnswers)
    {
        c().ovpen->select(1);
        c().output->select(1);
        c().disv->setText(QStringLiteral("9.999V"));
        c().disc->setText(QStringLiteral("9.999A"));
        sent.clear();
    }
    void tick() { form->monitoring().Timer1_Timer(); }
    bool looping() { return form->timer1().isActive(); }
};

} // namespace

TEST(MonitoringLoop, OneTick)
{
    const struct
    {
        const char* name;
        std::function<void(Monitoring&)> arrange;
        Commands sent;
        bool outputOn, looping;
        QString disv, disc, message, status;
        bool voltsRead = true; // what the tick reports to its watchers
    } cases[] = {
        {"clean tick: eight commands, five answers, truncated", [](Monitoring&) {}, kTick, true, true,
         "12.345V", "0.500A", "", ""},
        {":MEAS? times out: the display keeps its text, the loop goes on",
         [](Monitoring& m) { m.answers.remove(":MEAS?"); }, kTick, true, true, "9.999V", "0.500A", "", "",
         false},
        {":OUTP:STAT? times out: still *CLS, then the loop stops and says so",
         [](Monitoring& m) { m.answers.remove(":OUTP:STAT?"); }, kTick, true, false, "12.345V", "0.500A", "",
         "Communication error"},
        {":OUTP:STAT? names no option: nothing changes",
         [](Monitoring& m) { m.answers[":OUTP:STAT?"] = "2\n"; }, kTick, true, true, "12.345V", "0.500A", "",
         ""},
        {"over-current trip: the tick ends, no :OUTP:STAT 0, no over-voltage trip query in the read-back",
         [](Monitoring& m) { m.answers[":CURR:PROT:TRIP?"] = "1\n"; },
         kTick.mid(0, 5) + kReadBack.mid(0, 5) + kReadBack.mid(6), false, false, "0.000V", "0.000A",
         kOcpTripMessage, ""},
        {"over-voltage trip", [](Monitoring& m) { m.answers[":VOLT:PROT:TRIP?"] = "1\n"; },
         kTick.mid(0, 6) + kReadBack, false, false, "0.000V", "0.000A", kOvpTripMessage, ""},
        {"output switched off at the front panel", [](Monitoring& m) { m.answers[":OUTP:STAT?"] = "0\n"; },
         kTick.mid(0, 7) << ":OUTP:STAT 0" << kReadBack << "*CLS", false, false, "0.000V", "0.000A", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Monitoring m;
        c.arrange(m);
        QList<TickReadings> reported;
        QObject::connect(&m.form->monitoring(), &MonitoringLoop::ticked,
                         [&](const TickReadings& r) { reported.append(r); });
        m.tick();
        EXPECT_EQ(m.sent, c.sent);
        ASSERT_EQ(reported.size(), 1) << "one report per tick";
        const TickReadings& r = reported[0];
        EXPECT_EQ(std::tuple(r.volts, r.amperes, r.outputOn, r.tripped, r.answerMissing),
                  std::tuple(c.voltsRead ? std::optional(12.3456) : std::nullopt, std::optional(0.5),
                             c.outputOn, !c.message.isEmpty(), !c.status.isEmpty()));
        EXPECT_EQ(m.c().output->isSelected(1), c.outputOn);
        EXPECT_EQ(m.looping(), c.looping);
        EXPECT_EQ(m.c().disv->text(), c.disv);
        EXPECT_EQ(m.c().disc->text(), c.disc);
        EXPECT_EQ(m.c().ovcpmsg->text(), c.message);
        EXPECT_EQ(m.c().SBar1->panelText(1), c.status);
        EXPECT_EQ(m.state.ProtectionTripped, !c.message.isEmpty());
    }
}

TEST(OutputSwitches, OnOffAndProtectionSwitches)
{
    const struct
    {
        const char* name;
        std::function<void(Monitoring&)> act;
        Commands sent;
        bool looping;
    } cases[] = {
        {"OFF: loop stopped, read-back, displays zeroed", [](Monitoring& m) { m.c().output->select(0); },
         Commands{":OUTP:STAT 0"} + kReadBack, false},
        {"OFF while tripped sends no :OUTP:STAT 0",
         [](Monitoring& m) {
             m.form->panelStates().SetProtectionTripped(m.c().clearovp, true);
             m.answers[":VOLT:PROT:TRIP?"] = "1\n";
             m.c().output->select(0);
         },
         kReadBack, false},
        {"protection switches",
         [](Monitoring& m) {
             m.c().ovpen->select(0);
             m.c().ocpen->select(1);
             m.c().ocpen->select(1);
         },
         {":VOLT:PROT:STAT 0", ":CURR:PROT:STAT 1"},
         true},
        {"ON and the protection switches while tripped: nothing",
         [](Monitoring& m) {
             m.c().output->select(0);
             m.sent.clear();
             m.form->panelStates().SetProtectionTripped(m.c().clearocp, true);
             m.c().ovpen->select(0);
             m.c().ocpen->select(1);
             m.c().output->select(1);
         },
         {},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Monitoring m;
        c.act(m);
        EXPECT_EQ(m.sent, c.sent);
        EXPECT_EQ(m.looping(), c.looping);
        if (m.c().output->isSelected(0)) {
            EXPECT_EQ(m.c().disv->text(), "0.000V");
            EXPECT_EQ(m.c().disc->text(), "0.000A");
        }
    }
}

TEST(OutputSwitches, OnLocksTheInterfaceAndWithAutorunTheOutputControlsBeforeSending)
{
    for (const bool autorun : {false, true}) {
        SCOPED_TRACE(autorun ? "autorun ON" : "autorun OFF");
        PanelHarness p(scriptedAnswers);
        p.c().autorun->select(autorun ? 1 : 0);
        bool settingsUsableWhenSent = false;
        p.onCommand = [&](const QByteArray& command) {
            if (command == ":OUTP:STAT 1")
                settingsUsableWhenSent = p.c().Frame13->isEnabled();
        };
        p.sent.clear();
        p.c().output->select(1);
        EXPECT_EQ(p.sent, Commands{":OUTP:STAT 1"});
        EXPECT_TRUE(p.form->timer1().isActive());
        EXPECT_FALSE(p.c().Frame1->isEnabled());
        EXPECT_FALSE(p.c().mnuinterface->menuAction()->isEnabled());
        EXPECT_EQ(settingsUsableWhenSent, !autorun);
        EXPECT_EQ(p.c().Frame7->isEnabled(), !autorun);
        EXPECT_EQ(p.c().ovpen->option(1)->isEnabled(), !autorun);

        p.c().output->select(0);
        EXPECT_TRUE(p.c().Frame13->isEnabled()) << "OFF makes them usable again";
        EXPECT_TRUE(p.c().Frame1->isEnabled());
        EXPECT_TRUE(p.c().mnuinterface->menuAction()->isEnabled());
    }
}

TEST(OutputSwitches, ClearReleasesTheLatchAndLeavesTheOutputOff)
{
    for (const bool ocp : {true, false}) {
        SCOPED_TRACE(ocp ? "OCP" : "OVP");
        Monitoring m;
        m.answers[ocp ? ":CURR:PROT:TRIP?" : ":VOLT:PROT:TRIP?"] = "1\n";
        m.tick();
        QPushButton* clear = ocp ? m.c().clearocp : m.c().clearovp;
        ASSERT_TRUE(clear->isEnabled());
        m.answers[ocp ? ":CURR:PROT:TRIP?" : ":VOLT:PROT:TRIP?"] = "0\n";
        m.sent.clear();
        clear->click();
        EXPECT_EQ(m.sent, Commands({"*CLS", ocp ? ":CURR:PROT:CLE" : ":VOLT:PROT:CLE"}));
        EXPECT_FALSE(m.state.ProtectionTripped);
        EXPECT_FALSE(clear->isEnabled());
        EXPECT_TRUE(m.c().ovcpmsg->text().isEmpty());
        EXPECT_TRUE(m.c().output->isSelected(0));
        EXPECT_FALSE(m.looping()) << "clearing does not restart the loop";
        EXPECT_TRUE(m.c().Frame5->isEnabled() && m.c().ovpen->option(0)->isEnabled());
    }
}

// A fresh panel shows OVP off, so the read-back of its "on" state sends it back.
TEST(ReadBack, FillsThePanelInOrderAndKeepsWhatIsNotAnswered)
{
    Commands order = kReadBack;
    order.insert(8, ":VOLT:PROT:STAT 1");
    for (const bool answered : {true, false}) {
        SCOPED_TRACE(answered ? "every query answered" : ":MEAS? and :VOLT? unanswered");
        PanelHarness p(scriptedAnswers);
        p.c().setv->setValue(7.5);
        p.c().disv->setText(QStringLiteral("9.999V"));
        if (!answered) {
            p.answers.remove(":VOLT?");
            p.answers.remove(":MEAS?");
        }
        p.form->readBack().ReadBackAll();
        EXPECT_EQ(p.sent, order) << "an unanswered query does not stop the next";
        EXPECT_EQ(p.c().disv->text(), answered ? "12.346V" : "9.999V") << "the read-back rounds";
        EXPECT_EQ(p.c().setv->value(), answered ? 5.0 : 7.5);
        EXPECT_EQ(p.c().disc->text(), "0.500A");
        EXPECT_EQ(p.c().setc->value(), 1.0);
        EXPECT_EQ(p.c().ovp->value(), 6.0);
        EXPECT_EQ(p.c().ocp->value(), 2.0);
        EXPECT_TRUE(p.c().ovpen->isSelected(1));
        EXPECT_TRUE(p.c().ocpen->isSelected(0));
        EXPECT_TRUE(p.dialogs.messages.isEmpty());
    }
}

TEST(ReadBack, TripAnswersAreJudgedByTheirValueAlone)
{
    const QString earlier = QStringLiteral("an earlier message");
    const struct
    {
        const char* query;
        std::optional<QByteArray> answer; // nothing: no answer at all
        bool tripped;
    } cases[] = {
        {":CURR:PROT:TRIP?", "1.000\n", true},  {":CURR:PROT:TRIP?", "2\n", false},
        {":CURR:PROT:TRIP?", "0.999\n", false}, {":CURR:PROT:TRIP?", std::nullopt, false},
        {":VOLT:PROT:TRIP?", "1\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query + (" " + c.answer.value_or("(none)").toStdString()));
        PanelHarness p(scriptedAnswers);
        p.c().ovcpmsg->setText(earlier);
        p.answers.remove(c.query);
        if (c.answer)
            p.answers[c.query] = *c.answer;
        p.form->readBack().ReadBackAll();
        const bool ocp = c.tripped && QByteArray(c.query) == ":CURR:PROT:TRIP?";
        const bool ovp = c.tripped && !ocp;
        EXPECT_EQ(p.state.ProtectionTripped, c.tripped);
        EXPECT_EQ(p.c().clearocp->isEnabled(), ocp);
        EXPECT_EQ(p.c().clearovp->isEnabled(), ovp);
        EXPECT_EQ(p.c().ovpen->option(0)->isEnabled(), !c.tripped);
        EXPECT_EQ(p.c().ovcpmsg->text(), ocp ? kOcpTripMessage : ovp ? kOvpTripMessage : earlier);
        EXPECT_EQ(p.sent.contains(":VOLT:PROT:TRIP?"), !ocp) << "asked only without an over-current trip";
        EXPECT_TRUE(p.sent.endsWith(":CURR:PROT:STAT?")) << "the protection is read in every case";
    }
}

TEST(ReadBack, ProtectionStateThatNamesNoOptionLeavesTheSelection)
{
    PanelHarness p(scriptedAnswers);
    p.c().ovpen->select(1);
    const struct
    {
        QByteArray answer;
        int ovpen;
    } cases[] = {{"2\n", 1}, {"0.4\n", 0}, {"1.4\n", 1}, {"0.5\n", 0}}; // halves go to the even neighbour
    for (const auto& c : cases) {
        p.answers[":VOLT:PROT:STAT?"] = c.answer;
        p.form->readBack().ReadProtection();
        EXPECT_TRUE(p.c().ovpen->isSelected(c.ovpen)) << c.answer.constData();
    }
}
