#pragma once
// The main window in this process, with the real serial service and the real clock, against orx-sim
// in a process of its own behind COM1 (the other ports hidden, no GPIB). Faults are set on the
// simulator's standard input; a link observer writes down what crossed the wire.

#include "app/form1.h"
#include "base/program_state.h"
#include "link/clock.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "support/recording_link_observer.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include <QProcessEnvironment>
#include <memory>

namespace orx::test {

struct FaultRig
{
    explicit FaultRig(const QStringList& simOptions = {QStringLiteral("--load"), QStringLiteral("10")});
    ~FaultRig();

    // Builds and loads the main window and runs one connect; true when it connected.
    bool connect();
    // The operator enters a voltage and switches the output on; true once the first tick is done.
    bool startMonitoring(double volts = 5.0);
    // Lets a second of events pass, then `ms` more; the share of one core the panel's thread used
    // in those last `ms`, when nothing should be happening any more.
    double cpuShareWhileIdle(int ms);

    const Form1Controls& c() const { return form->controls(); }
    qsizetype timeOuts() const { return wire.events.filter(QStringLiteral(" timedOut")).size(); }

    SimProcess sim;
    ProgramState state;
    SteadyClock clock;
    QtSerialService serial;
    GpibLibraryService gpib{QString()}; // no GPIB interface
    ScriptedDialogs dialogs;
    RecordingLinkObserver wire;
    std::unique_ptr<Form1> form;
    int ticks = 0;
};

// The environment of the panel program run as an operator runs it, headless, with orx-sim behind
// COM2 (the other ports hidden, no GPIB) and a runtime folder of its own (made here) in the
// simulator's folder.
QProcessEnvironment panelEnvironment(const SimProcess& sim);

} // namespace orx::test
