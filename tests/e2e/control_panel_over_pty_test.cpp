// The control panel driving orx-sim over a pseudo-terminal: the main window in this process with the
// real serial service, the instrument in its own process.

#include "app/form1.h"
#include "app/program_state.h"
#include "connection/connector.h"
#include "link/clock.h"
#include "link/qt_serial_service.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_gpib.h"
#include "support/sim_process.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

qsizetype countOf(const QStringList& lines, const QString& command)
{
    qsizetype n = 0;
    for (const QString& line : lines)
        n += line.endsWith(u' ' + command) ? 1 : 0;
    return n;
}

} // namespace

TEST(ControlPanelOverPty, MonitorsUntilTheOverCurrentProtectionTrips)
{
    SimProcess sim({QStringLiteral("--load"), QStringLiteral("10")});
    ASSERT_TRUE(sim.started());
    qputenv("ORX_COM1", sim.linkPath().toLocal8Bit());
    ProgramState state;
    initialiseAtStart(state, QStringLiteral("/nonexistent"));
    SteadyClock clock;
    QtSerialService serial;
    ScriptedGpib gpib;
    gpib.failApplyAt = 0; // no GPIB interface
    ScriptedDialogs dialogs;
    Form1 form(state, Form1Services{serial, gpib, dialogs, clock, [] { return false; },
                                    [] {
                                    }});
    ASSERT_TRUE(form.load());
    form.timer2().stop();
    form.connector().Timer2_Timer();
    ASSERT_EQ(state.ConnectDone, 1);
    const Form1Controls& c = form.controls();

    c.setv->setValue(5); // the operator types 5 V and releases the key
    emit c.setv->keyReleased();
    c.output->select(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return countOf(sim.received(), ":OUTP:STAT?") >= 3; }, 10000))
        << "the connect's question and at least two ticks";
    EXPECT_TRUE(c.output->isSelected(1));
    EXPECT_EQ(c.disv->text(), "5.000V");
    EXPECT_EQ(c.disc->text(), "0.500A") << "5 V across the 10 ohm load";

    ASSERT_TRUE(sim.command(QStringLiteral("trip ocp")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return state.ProtectionTripped; }, 5000));
    EXPECT_EQ(c.ovcpmsg->text(), "The overcurrent protection is tripped and not cleared!");
    EXPECT_TRUE(c.output->isSelected(0));
    EXPECT_FALSE(form.timer1().isActive());
    const QStringList received = sim.received();
    EXPECT_EQ(countOf(received, ":OUTP:STAT 0"), 0) << "no switch-off while a trip is latched";
    qputenv("ORX_COM1", QByteArray());
}
