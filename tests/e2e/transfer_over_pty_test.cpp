// The whole transfer path with the real serial service: the main window downloads all 100 memories
// of orx-sim over a pseudo-terminal, the memories are overwritten, the file is uploaded back, and a
// second download finds every memory as it was.

#include "app/form1.h"
#include "app/program_state.h"
#include "connection/connector.h"
#include "link/clock.h"
#include "link/command_link.h"
#include "link/gpib_library_service.h"
#include "link/qt_serial_service.h"
#include "support/memory_seed.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(TransferOverPty, DownloadAndUploadRestoreAllMemories)
{
    SimProcess sim({QStringLiteral("--baud"), QStringLiteral("9600")});
    ASSERT_TRUE(sim.started());
    qputenv("ORX_COM1", sim.linkPath().toLocal8Bit());
    QTemporaryDir dir;
    ProgramState state;
    initialiseAtStart(state, dir.path());
    QtSerialService serial;
    GpibLibraryService gpib{QString()};
    ScriptedDialogs dialogs;
    SteadyClock clock;
    Form1 form(state, Form1Services{serial, gpib, dialogs, clock, [] { return false; },
                                    [] {
                                    }});
    ASSERT_TRUE(form.load());
    form.timer2().stop();
    form.connector().Timer2_Timer();
    ASSERT_EQ(state.ConnectDone, 1);

    for (int i = 0; i < 100; ++i) {
        for (const QString& line : seedCommands(i))
            form.link().SendCommand(line);
    }
    // The instrument takes the seeding lines at its own pace; on a busy machine that may outlast one
    // answer's time-out, so ask until it answers.
    bool seeded = false;
    for (int attempt = 0; attempt < 5 && !seeded; ++attempt)
        seeded = form.link().query(QStringLiteral("*IDN?"));
    ASSERT_TRUE(seeded) << "every seeding line has been taken";

    const QString first = dir.filePath(QStringLiteral("first.csv"));
    dialogs.fileAnswers.enqueue(first);
    form.controls().sallfile->click();
    QByteArray expected = kCsvHeader.toLatin1() + "\r\n";
    for (int i = 0; i < 100; ++i)
        expected += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
    ASSERT_EQ(readAll(first), expected);

    // Every memory overwritten with the settings of memory 0.
    form.link().SendCommand(QStringLiteral("*RCL 00"));
    for (int i = 0; i < 100; ++i)
        form.link().SendCommand(QStringLiteral("*SAV %1").arg(i, 2, 10, QLatin1Char('0')));

    dialogs.fileAnswers.enqueue(first);
    form.controls().rallfile->click();

    const QString second = dir.filePath(QStringLiteral("second.csv"));
    dialogs.fileAnswers.enqueue(second);
    form.controls().sallfile->click();
    EXPECT_EQ(readAll(second), expected);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(sim.received().filter(QStringLiteral("*SAV")).size(), 300) << "seeded, overwritten, uploaded";
    qputenv("ORX_COM1", QByteArray());
}
