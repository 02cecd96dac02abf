#include "support/panel_harness.h"

#include "ui/pending_events.h"

namespace orx::test {
namespace {

// A wait for the main window that costs no real time: it lets events run once and moves the manual
// clock on by all the time it was allowed to sleep.
IdleWait passTimeOnClock(ManualClock& clock)
{
    return [&clock](int maxWaitMs) {
        clock.advanceMilliseconds(maxWaitMs);
        letPendingEventsRun();
    };
}

} // namespace

PanelHarness::PanelHarness()
{
    initialiseAtStart(state, QStringLiteral("/nonexistent/orx-test"));
}

PanelHarness::PanelHarness(ScriptedAnswers) : PanelHarness()
{
    scriptedPort.responder = [this](const QByteArray& written) {
        const QByteArray command = written.chopped(1);
        sent.append(command);
        if (onCommand)
            onCommand(command);
        return answers.value(command);
    };
    SetDefaults(state, 8);
    state.ConnectStarted = 1;
    create();
    answers = {{":MEAS?", "12.3456\n"},     {":MEAS:CURR?", "0.5\n"},    {":VOLT?", "5.000\n"},
               {":CURR?", "1.000\n"},       {":CURR:PROT:TRIP?", "0\n"}, {":VOLT:PROT:TRIP?", "0\n"},
               {":VOLT:PROT?", "6.000\n"},  {":VOLT:PROT:STAT?", "1\n"}, {":CURR:PROT?", "2.000\n"},
               {":CURR:PROT:STAT?", "0\n"}, {":OUTP:STAT?", "1\n"}};
    sent.clear();
}

PanelHarness::~PanelHarness() = default;

Form1& PanelHarness::create()
{
    SerialService& line = scriptedPort.responder ? static_cast<SerialService&>(scriptedPort) : rewriting;
    form = std::make_unique<Form1>(state,
                                   Form1Services{line, gpib, dialogs, clock, [this] { return anotherCopy; },
                                                 [this] { ++endings; }, passTimeOnClock(clock)});
    return *form;
}

bool PanelHarness::createAndLoad()
{
    create();
    return form->load();
}

void PanelHarness::runConnect()
{
    form->timer2().stop();
    form->connector().Timer2_Timer();
}

Form1& PanelHarness::connected()
{
    createAndLoad();
    runConnect();
    return *form;
}

} // namespace orx::test
