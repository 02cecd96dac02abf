// Verify after upload over the pty, against an orx-sim that loses one "*SAV": the verification names
// that memory and no other; the next upload, whose saves all land, is verified whole.

#include "fault_rig.h"

#include "support/memory_seed.h"
#include "support/test_files.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

TEST(VerifyOverPty, NamesTheMemoryWhoseSaveTheInstrumentLost)
{
    FaultRig rig({QStringLiteral("--load"), QStringLiteral("10"), QStringLiteral("--ignore-save"),
                  QStringLiteral("37")});
    QTemporaryDir folder;
    ASSERT_TRUE(rig.connect());
    const QString file = folder.filePath(QStringLiteral("up.csv"));
    QByteArray bytes = kCsvHeader.toLatin1() + "\r\n";
    for (int i : {36, 37, 38})
        bytes += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
    ASSERT_TRUE(writeFileBytes(file, bytes));
    rig.c().verifyUpload->setChecked(true);
    rig.dialogs.fileAnswers << file << file;

    rig.c().rallfile->click();
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_EQ(rig.dialogs.messages[0].title, "Warning");
    const QStringList lines = rig.dialogs.messages[0].text.split(u'\n');
    EXPECT_EQ(lines.first(), "Verified: 2 of 3 memories match.");
    EXPECT_GT(lines.size(), 1);
    for (const QString& line : lines.mid(1))
        EXPECT_TRUE(line.startsWith(QStringLiteral("Memory 37: "))) << line.toStdString();
    EXPECT_TRUE(rig.sim.received().contains(QStringLiteral("9600 *SAV 37"))) << "sent, and lost there";

    rig.c().rallfile->click();
    ASSERT_EQ(rig.dialogs.messages.size(), 2);
    EXPECT_EQ(rig.dialogs.messages[1].text, "Verified: 3 of 3 memories match.");
}
