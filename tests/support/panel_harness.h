#pragma once
// The main window for window-level tests, with scripted dialogs and a manual clock: nothing blocks and
// no real time passes while the link waits. It comes with one of two lines:
// - virtual instruments (the default): in-process instruments behind `serial` and `gpib`; the window's
//   serial service is `rewriting`, which passes to `serial` and lets a test change what comes back;
// - scripted answers (PanelHarness h(scriptedAnswers)): the window is built connected-looking on a port
//   that answers each command from `answers`; a command missing from the table gets no answer (a
//   time-out on the manual clock). Every command is recorded in `sent`, and `onCommand` lets a test
//   look at the window at the moment each one goes out.
// The header also brings the types of the window's controls and procedure objects, for the tests to
// use them.

#include "app/form1.h"
#include "base/program_state.h"
#include "connection/connector.h"
#include "link/clock.h"
#include "memory/memory_bank.h"
#include "panel/monitoring_loop.h"
#include "panel/panel_states.h"
#include "panel/read_back.h"
#include "sim/instrument.h"
#include "sim/sim_gpib_service.h"
#include "sim/sim_serial_service.h"
#include "support/rewriting_serial.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_serial.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"
#include "ui/status_bar.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

namespace orx::test {

using Commands = QList<QByteArray>;

inline constexpr struct ScriptedAnswers
{
} scriptedAnswers;

struct PanelHarness
{
    ProgramState state;
    ManualClock clock;
    sim::SimSerialService serial{clock};
    RewritingSerial rewriting{serial};
    sim::SimGpibService gpib{clock};
    ScriptedSerial scriptedPort{clock};
    ScriptedDialogs dialogs;
    QHash<QByteArray, QByteArray> answers;                    // command -> answer line (with its line feed)
    Commands sent;                                            // every command, without its carriage return
    std::function<void(const QByteArray& command)> onCommand; // runs as each command is written
    bool anotherCopy = false;
    int endings = 0; // times the window ended the program
    std::unique_ptr<Form1> form;

    PanelHarness();
    // An ORX-A100 at 5 V / 1 A, OVP 6 V on, OCP 2 A off, no trip, output on, measuring 12.3456 V and
    // 0.5 A; time-outs are silent as after a connect.
    explicit PanelHarness(ScriptedAnswers);
    ~PanelHarness();

    // Builds the main window.
    Form1& create();
    // Builds the window and runs its load handler.
    bool createAndLoad();
    // Builds, loads and runs one connect (the first tick of Timer2).
    Form1& connected();
    void runConnect();

    const Form1Controls& c() const { return form->controls(); }
};

} // namespace orx::test
