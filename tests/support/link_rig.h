#pragma once
// The command link alone, for tests: scripted serial and GPIB services, scripted dialogs, a status
// bar that records and a manual clock, so nothing blocks and no real time passes.

#include "link/command_link.h"
#include "support/recording_status.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_gpib.h"
#include "support/scripted_serial.h"

namespace orx::test {

struct LinkRig
{
    ProgramState state;
    ManualClock clock;
    ScriptedSerial serial{clock};
    ScriptedGpib gpib;
    ScriptedDialogs dialogs;
    RecordingStatus status;
    CommandLink link{state, serial, gpib, dialogs, status, clock};
};

} // namespace orx::test
