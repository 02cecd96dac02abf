// The download and the upload of all memories over the pty: a clean round trip, and faults during
// them: the port vanishing midway, a disk that fills up, a target that cannot be written. The old
// file must stay byte-identical and nothing may be left behind; the operator is told.

#include "fault_rig.h"

#include "connection/link_recovery.h"
#include "support/file_size_limit.h"
#include "support/memory_seed.h"
#include "support/test_files.h"
#include "support/transfer_watch.h"
#include "ui/status_bar.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

const QByteArray kOldFile = "Record,old\r\n00, 1.000, 1.000, 10, 2.000, 1.000, True, True\r\n";
constexpr auto kDownload = &Form1Controls::sallfile;
constexpr auto kUpload = &Form1Controls::rallfile;

QByteArray twentyMemories()
{
    QByteArray records = "Record,header\r\n";
    for (int i = 0; i < 20; ++i)
        records += QString::asprintf("%02d, 1.000, 0.500, 10, 2.000, 1.000, True, False\r\n", i).toLatin1();
    return records;
}

} // namespace

// Twenty different memories are uploaded from a file, and a download writes each of them back as it
// was. The upload paces its lines and the download asks one question at a time, so the instrument
// never has a backlog to work through while an answer is awaited.
TEST(TransferOverPty, UploadedMemoriesComeBackByteForByteInADownload)
{
    FaultRig rig;
    QTemporaryDir folder;
    ASSERT_TRUE(rig.connect());
    QByteArray uploaded = kCsvHeader.toLatin1() + "\r\n";
    for (int i = 0; i < 100; i += 5)
        uploaded += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
    ASSERT_TRUE(writeFileBytes(folder.filePath(QStringLiteral("up.csv")), uploaded));
    rig.dialogs.fileAnswers << folder.filePath(QStringLiteral("up.csv"))
                            << folder.filePath(QStringLiteral("down.csv"));
    rig.c().rallfile->click();
    rig.c().sallfile->click();

    EXPECT_TRUE(rig.dialogs.messages.isEmpty()) << rig.dialogs.messages.value(0).text.toStdString();
    const QList<QByteArray> downloaded = fileBytes(folder.filePath(QStringLiteral("down.csv"))).split('\n');
    ASSERT_EQ(downloaded.size(), 102) << "the header, a hundred records and nothing after the last line end";
    for (int i = 0; i < 100; i += 5)
        EXPECT_EQ(downloaded[i + 1], expectedRecordLine(i, seededMemory(i)).toLatin1() + '\r');
}

TEST(TransferFaults, TheOldFileStaysNothingIsLeftAndTheOperatorIsTold)
{
    const QString kReadFailed = QStringLiteral(" to 99 could not be read from the instrument. The file was "
                                               "left unchanged.");
    const struct
    {
        const char* name;
        QByteArray file; // on disk before
        QPushButton* Form1Controls::*button;
        const char* target;      // what the operator picks in the file dialog
        const char* unplugAfter; // the port vanishes once orx-sim has received this line
        rlim_t diskSpace;
        QString messageStart, messageEnd;
        bool sendsAnything;
        const char* notReached; // a line the transfer must not get to, if any
    } cases[] = {
        {"port vanishing mid-download", kOldFile, kDownload, "memories.csv", "*RCL 30", RLIM_INFINITY, "",
         kReadFailed, true, "*RCL 99"},
        {"port vanishing mid-upload", twentyMemories(), kUpload, "memories.csv", "*SAV 05", RLIM_INFINITY,
         "The instrument could not be reached.", "18, 19 were not written.", true, "*SAV 19"},
        {"disk full during the download", kOldFile, kDownload, "memories.csv", nullptr, 1024,
         "Can not write this file.", "", true, nullptr},
        {"a folder as the download's target", kOldFile, kDownload, "folder", nullptr, RLIM_INFINITY,
         "Can not write this file.", "", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FaultRig rig;
        QTemporaryDir folder;
        ASSERT_TRUE(writeFileBytes(folder.filePath(QStringLiteral("memories.csv")), c.file));
        ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder")));
        ASSERT_TRUE(rig.connect());
        const qsizetype linesBefore = rig.sim.received().size();
        rig.dialogs.fileAnswers.enqueue(folder.filePath(QString::fromLatin1(c.target)));
        TransferWatch watch;
        watch.duringIt = [&, unplugged = false](int) mutable {
            if (c.unplugAfter && !unplugged && rig.sim.received().join(u'\n').contains(c.unplugAfter))
                unplugged = rig.sim.command(QStringLiteral("unplug"));
        };
        {
            const FileSizeLimit limit(c.diskSpace);
            watch.run(rig.form.get(), [&] { (rig.c().*c.button)->click(); });
        }

        ASSERT_EQ(rig.dialogs.messages.size(), 1);
        const ScriptedDialogs::Message& message = rig.dialogs.messages[0];
        EXPECT_EQ(message.title, "Warning");
        EXPECT_TRUE(message.text.startsWith(c.messageStart) && message.text.endsWith(c.messageEnd))
            << message.text.toStdString();
        EXPECT_EQ(rig.c().SBar1->panelText(1) == "Communication error", c.unplugAfter != nullptr);
        EXPECT_EQ(fileBytes(folder.filePath(QStringLiteral("memories.csv"))), c.file);
        EXPECT_EQ(folderEntries(folder.path()), (QStringList{"folder", "memories.csv"}));
        const QStringList received = rig.sim.received().mid(linesBefore);
        EXPECT_EQ(!received.isEmpty(), c.sendsAnything) << "a bad target is found before anything is sent";
        if (c.notReached) {
            EXPECT_FALSE(received.join(u'\n').contains(QString::fromLatin1(c.notReached)));
        }
        if (c.unplugAfter) {
            // Once the watch has reported the port gone, nothing may keep trying it.
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return rig.form->recovery().watch() == PortWatch::Absent; }, 3000));
            EXPECT_LT(rig.cpuShareWhileIdle(2000), 0.02) << "nothing keeps trying the vanished port";
        }
    }
}
