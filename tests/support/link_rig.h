#pragma once
// The command link alone, for tests: scripted serial and GPIB services, scripted dialogs, a status
// bar that records and a manual clock, so nothing blocks and no real time passes.

#include "link/command_link.h"
#include "support/recording_status.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_gpib.h"
#include "support/scripted_serial.h"

namespace orx::test {

// The scripted services a test drives, with the program state they serve.
struct ScriptedServices
{
    ProgramState state;
    ManualClock clock;
    ScriptedSerial serial{clock};
    ScriptedGpib gpib;
    ScriptedDialogs dialogs;
};

struct LinkRig : ScriptedServices
{
    RecordingStatus status;
    CommandLink link{state, serial, gpib, dialogs, status, clock};
};

} // namespace orx::test
