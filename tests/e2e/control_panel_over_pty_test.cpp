// The control panel driving orx-sim over a pseudo-terminal: the main window in this process with the
// real serial service, the instrument in its own process.

#include "app/form1.h"
#include "base/program_state.h"
#include "connection/connector.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "support/memory_seed.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"
#include "support/test_files.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
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

// orx-sim with `options` behind COM1 and a main window connected to it, without a GPIB interface.
struct PanelOverPty
{
    SimProcess sim;
    QTemporaryDir dir;
    ProgramState state;
    SteadyClock clock;
    std::unique_ptr<QtSerialService> serial;
    GpibLibraryService gpib{QString()};
    ScriptedDialogs dialogs;
    std::unique_ptr<Form1> form;

    explicit PanelOverPty(const QStringList& options) : sim(options)
    {
        qputenv("ORX_COM1", sim.linkPath().toLocal8Bit());
        initialiseAtStart(state, dir.path());
        serial = std::make_unique<QtSerialService>();
        form =
            std::make_unique<Form1>(state, Form1Services{*serial, gpib, dialogs, clock, [] { return false; },
                                                         [] {
                                                         }});
    }
    ~PanelOverPty() { qputenv("ORX_COM1", QByteArray()); }
    bool connect()
    {
        if (!sim.started() || !form->load())
            return false;
        form->timer2().stop();
        form->connector().Timer2_Timer();
        return state.ConnectDone == 1;
    }
    const Form1Controls& c() const { return form->controls(); }
};

} // namespace

TEST(ControlPanelOverPty, MonitorsUntilTheOverCurrentProtectionTrips)
{
    PanelOverPty p({QStringLiteral("--load"), QStringLiteral("10")});
    ASSERT_TRUE(p.connect());
    p.c().setv->setValue(5); // the operator types 5 V and releases the key
    emit p.c().setv->keyReleased();
    p.c().output->select(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return countOf(p.sim.received(), ":OUTP:STAT?") >= 3; }, 10000))
        << "the connect's question and at least two ticks";
    EXPECT_TRUE(p.c().output->isSelected(1));
    EXPECT_EQ(p.c().disv->text(), "5.000V");
    EXPECT_EQ(p.c().disc->text(), "0.500A") << "5 V across the 10 ohm load";

    ASSERT_TRUE(p.sim.command(QStringLiteral("trip ocp")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.state.ProtectionTripped; }, 5000));
    EXPECT_EQ(p.c().ovcpmsg->text(), "The overcurrent protection is tripped and not cleared!");
    EXPECT_TRUE(p.c().output->isSelected(0));
    EXPECT_FALSE(p.form->timer1().isActive());
    EXPECT_EQ(countOf(p.sim.received(), ":OUTP:STAT 0"), 0) << "no switch-off while a trip is latched";
}

// The main window downloads all 100 memories, the memories are overwritten, the file is uploaded back,
// and a second download finds every memory as it was.
TEST(TransferOverPty, DownloadAndUploadRestoreAllMemories)
{
    PanelOverPty p({QStringLiteral("--baud"), QStringLiteral("9600")});
    ASSERT_TRUE(p.connect());
    CommandLink& link = p.form->link();
    for (int i = 0; i < 100; ++i) {
        for (const QString& line : seedCommands(i))
            link.SendCommand(line);
    }
    // The instrument takes the seeding lines at its own pace; on a busy machine that may outlast one
    // answer's time-out, so ask until it answers.
    bool seeded = false;
    for (int attempt = 0; attempt < 5 && !seeded; ++attempt)
        seeded = link.query(QStringLiteral("*IDN?"));
    ASSERT_TRUE(seeded) << "every seeding line has been taken";

    const QString first = p.dir.filePath(QStringLiteral("first.csv"));
    p.dialogs.fileAnswers.enqueue(first);
    p.c().sallfile->click();
    QByteArray expected = kCsvHeader.toLatin1() + "\r\n";
    for (int i = 0; i < 100; ++i)
        expected += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
    ASSERT_EQ(fileBytes(first), expected);

    link.SendCommand(QStringLiteral("*RCL 00")); // every memory overwritten with memory 0
    for (int i = 0; i < 100; ++i)
        link.SendCommand(QStringLiteral("*SAV %1").arg(i, 2, 10, QLatin1Char('0')));
    p.dialogs.fileAnswers.enqueue(first);
    p.c().rallfile->click();

    const QString second = p.dir.filePath(QStringLiteral("second.csv"));
    p.dialogs.fileAnswers.enqueue(second);
    p.c().sallfile->click();
    EXPECT_EQ(fileBytes(second), expected);
    EXPECT_TRUE(p.dialogs.messages.isEmpty());
    EXPECT_EQ(p.sim.received().filter(QStringLiteral("*SAV")).size(), 300) << "seeded, overwritten, uploaded";
}
