#pragma once
// A main window wired to in-process virtual instruments, scripted dialogs and a manual clock, for
// window-level tests. Nothing blocks and no real time passes while the link waits.

#include "app/form1.h"
#include "base/program_state.h"
#include "link/clock.h"
#include "sim/instrument.h"
#include "sim/sim_gpib_service.h"
#include "sim/sim_serial_service.h"
#include "support/pass_time.h"
#include "support/rewriting_serial.h"
#include "support/scripted_dialogs.h"

#include <memory>

namespace orx::test {

struct PanelHarness
{
    ProgramState state;
    ManualClock clock;
    sim::SimSerialService serial{clock};
    RewritingSerial rewriting{serial};
    sim::SimGpibService gpib{clock};
    ScriptedDialogs dialogs;
    bool anotherCopy = false;
    int endings = 0;
    std::unique_ptr<Form1> form;

    PanelHarness();
    ~PanelHarness();

    // Builds the main window (its serial service is `rewriting`, which passes to `serial`).
    Form1& create();
    // Builds the window and runs its load handler.
    bool createAndLoad();
    // Builds, loads and runs one connect (the first tick of Timer2).
    Form1& connected();
    void runConnect();

    const Form1Controls& c() const { return form->controls(); }
};

} // namespace orx::test
