// Faults during the download and the upload of all memories: the port vanishing midway, a disk that
// fills up, a target that cannot be written. The old file must stay byte-identical and nothing may
// be left behind; the operator is told.

#include "fault_rig.h"

#include "support/file_size_limit.h"
#include "ui/pending_events.h"
#include "ui/status_bar.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

const QByteArray kOldFile = "Record,old\r\n00, 1.000, 1.000, 10, 2.000, 1.000, True, True\r\n";

struct Transfer : FaultRig
{
    QTemporaryDir folder;
    QString file = folder.filePath(QStringLiteral("memories.csv"));

    Transfer()
    {
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(kOldFile);
    }
    QByteArray fileBytes() const
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    QStringList folderEntries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    // Runs `whenSent` (once) as soon as orx-sim has received a line ending in `line`.
    void onceReceived(const QString& line, const std::function<void()>& whenSent)
    {
        setPendingEventsObserver([this, line, whenSent, done = false]() mutable {
            if (!done && sim.received().join(u'\n').contains(line)) {
                done = true;
                whenSent();
            }
        });
    }
    ~Transfer() { setPendingEventsObserver({}); }
};

} // namespace

// The port vanishes in the middle of a download: it ends without hanging, names the memories it could
// not read, says the link is lost, and keeps the old file byte-identical.
TEST(TransferFaults, PortVanishingMidDownloadKeepsTheOldFile)
{
    Transfer t;
    ASSERT_TRUE(t.connect());
    t.dialogs.fileAnswers.enqueue(t.file);
    t.onceReceived(QStringLiteral("*RCL 30"), [&] { t.sim.command(QStringLiteral("unplug")); });
    t.c().sallfile->click();

    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, "Warning");
    EXPECT_TRUE(
        t.dialogs.messages[0].text.endsWith(QStringLiteral(" to 99 could not be read from the "
                                                           "instrument. The file was left unchanged.")))
        << t.dialogs.messages[0].text.toStdString();
    EXPECT_EQ(t.c().SBar1->panelText(1), "Communication error");
    EXPECT_EQ(t.fileBytes(), kOldFile);
    EXPECT_EQ(t.folderEntries(), QStringList{"memories.csv"});
    EXPECT_LT(t.cpuShareWhileIdle(1000), 0.02);
}

// The port vanishes in the middle of an upload: the records after it are not sent, and the upload
// does not end as if all went well.
TEST(TransferFaults, PortVanishingMidUploadIsReported)
{
    Transfer t;
    QByteArray records = "Record,header\r\n";
    for (int i = 0; i < 20; ++i)
        records += QStringLiteral("%1, 1.000, 0.500, 10, 2.000, 1.000, True, False\r\n")
                       .arg(i, 2, 10, QChar(u'0'))
                       .toLatin1();
    QFile out(t.file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(records);
    out.close();
    ASSERT_TRUE(t.connect());
    t.dialogs.fileAnswers.enqueue(t.file);
    t.onceReceived(QStringLiteral("*SAV 05"), [&] { t.sim.command(QStringLiteral("unplug")); });
    t.c().rallfile->click();

    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages[0].title, "Warning");
    EXPECT_TRUE(
        t.dialogs.messages[0].text.startsWith(QStringLiteral("The instrument could not be reached.")));
    EXPECT_TRUE(t.dialogs.messages[0].text.endsWith(QStringLiteral("18, 19 were not written.")))
        << t.dialogs.messages[0].text.toStdString();
    EXPECT_EQ(t.c().SBar1->panelText(1), "Communication error");
    EXPECT_FALSE(t.sim.received().join(u'\n').contains(QStringLiteral("*SAV 19")));
    EXPECT_LT(t.cpuShareWhileIdle(1000), 0.02);
}

// The download's target cannot take the file: found before anything is sent, or when the disk fills
// up while the file is written; the old file stays and no temporary file is left behind.
TEST(TransferFaults, DownloadToADiskThatFailsKeepsTheOldFile)
{
    const struct
    {
        const char* name;
        bool diskFull; // otherwise the target is a folder
        bool sendsAnything;
    } cases[] = {{"disk full", true, true}, {"a folder as target", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Transfer t;
        ASSERT_TRUE(t.connect());
        const qsizetype linesBefore = t.sim.received().size();
        ASSERT_TRUE(QDir(t.folder.path()).mkdir(QStringLiteral("folder")));
        t.dialogs.fileAnswers.enqueue(c.diskFull ? t.file : t.folder.filePath(QStringLiteral("folder")));
        {
            const FileSizeLimit limit(c.diskFull ? 1024 : RLIM_INFINITY);
            t.c().sallfile->click();
        }
        ASSERT_EQ(t.dialogs.messages.size(), 1);
        EXPECT_EQ(t.dialogs.messages[0].title, "Warning");
        EXPECT_TRUE(t.dialogs.messages[0].text.startsWith(QStringLiteral("Can not write this file.")));
        EXPECT_EQ(t.fileBytes(), kOldFile);
        EXPECT_EQ(t.folderEntries(), (QStringList{"folder", "memories.csv"}));
        EXPECT_EQ(t.sim.received().size() > linesBefore, c.sendsAnything);
    }
}
