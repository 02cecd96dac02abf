#pragma once
// The command link alone, for tests: a scripted serial port, the GPIB service over the stand-in driver
// library (fake_gpib), scripted dialogs, a status bar that records and a manual clock, so nothing
// blocks and no real time passes.

#include "link/command_link.h"
#include "link/gpib_library_service.h"
#include "support/fake_gpib.h"
#include "support/recording_status.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_serial.h"

#include <QLibrary>

namespace orx::test {

// The bus of the stand-in driver library as this process loaded it, reset to a quiet one.
inline FakeGpibBus& freshFakeGpibBus()
{
    auto* bus = reinterpret_cast<FakeGpibBus*>(QLibrary::resolve(FAKE_GPIB_PATH, "fake_gpib_bus"));
    return *bus = FakeGpibBus{};
}

struct LinkRig
{
    ProgramState state;
    ManualClock clock;
    ScriptedSerial serial{clock};
    FakeGpibBus& bus = freshFakeGpibBus();
    GpibLibraryService gpib{QStringLiteral(FAKE_GPIB_PATH)};
    ScriptedDialogs dialogs;
    RecordingStatus status;
    CommandLink link{state, serial, gpib, dialogs, status, clock};
};

} // namespace orx::test
