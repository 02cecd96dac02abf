#pragma once
// The main window as the benchmarks drive it: the real serial service (or a wrapper around it that the
// benchmark chooses), no GPIB, silent dialogs and the real clock, loaded and connected by one connect.

#include "app/form1.h"
#include "base/program_state.h"
#include "base/silent_dialogs.h"
#include "link/clock.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"

#include <memory>

namespace orx::bench {

struct ConnectedPanel
{
    explicit ConnectedPanel(const QString& folder);
    ~ConnectedPanel();

    // Builds the window on `serial` (`port` itself or a wrapper around it), loads it and runs one
    // connect; false, with a line on standard error, when the panel did not connect.
    bool connect(SerialService& serial);
    // The same with dialogs of the benchmark's own instead of silent ones.
    bool connect(SerialService& serial, Dialogs& dialogs);
    // The operator enters 5 V and switches the output on: the monitoring loop starts.
    void startMonitoring();

    ProgramState state;
    SteadyClock clock;
    QtSerialService port;
    GpibLibraryService gpib{QString()};
    SilentDialogs dialogs;
    std::unique_ptr<Form1> form;
};

} // namespace orx::bench
