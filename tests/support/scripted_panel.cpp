#include "support/scripted_panel.h"

#include "support/pass_time.h"

namespace orx::test {

ScriptedPanel::ScriptedPanel()
{
    serial.responder = [this](const QByteArray& written) {
        const QByteArray command = written.chopped(1);
        sent.append(command);
        if (onCommand)
            onCommand(command);
        return answers.value(command);
    };
    initialiseAtStart(state, QStringLiteral("/nonexistent"));
    SetDefaults(state, 8);
    state.ConnectStarted = 1;
    form = std::make_unique<Form1>(state, Form1Services{serial, gpib, dialogs, clock, [] { return false; },
                                                        [this] { ++endings; }, passTimeOnClock(clock)});
    answers = {{":MEAS?", "12.3456\n"},     {":MEAS:CURR?", "0.5\n"},    {":VOLT?", "5.000\n"},
               {":CURR?", "1.000\n"},       {":CURR:PROT:TRIP?", "0\n"}, {":VOLT:PROT:TRIP?", "0\n"},
               {":VOLT:PROT?", "6.000\n"},  {":VOLT:PROT:STAT?", "1\n"}, {":CURR:PROT?", "2.000\n"},
               {":CURR:PROT:STAT?", "0\n"}, {":OUTP:STAT?", "1\n"}};
    sent.clear();
}

} // namespace orx::test
