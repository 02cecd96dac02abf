// Download to file: the exact file, the progress window, the old file kept whole whenever the
// download does not finish with every answer, and one transfer at a time.

#include "support/memory_seed.h"
#include "support/panel_harness.h"
#include "support/test_files.h"
#include "support/transfer_watch.h"
#include "ui/form2.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

const QByteArray kOldFile = "the old file\r\n";

// A connected ORX-A100 holding a hundred different memories, and an old file to download over.
struct Rig
{
    PanelHarness h;
    sim::Instrument orx{0};
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("memories.csv"));
    TransferWatch watch;

    Rig()
    {
        h.gpib.setInterfaceAvailable(false);
        h.serial.attachInstrument(1, &orx, 9600);
        for (int i = 0; i < 100; ++i)
            orx.setMemory(i, seededMemory(i));
        h.connected();
        EXPECT_TRUE(writeFileBytes(path, kOldFile));
    }

    void run(const QString& answer)
    {
        h.dialogs.fileAnswers.enqueue(answer);
        h.serial.clearLog();
        watch.run(h.form.get(), [this] { h.c().sallfile->click(); });
    }
};

TEST(Download, WritesEveryMemoryByteForByte)
{
    Rig r;
    r.h.c().record->setValue(42);
    r.h.c().autorun->select(1);
    r.run(r.path);

    QByteArray expected = kCsvHeader.toLatin1() + "\r\n";
    for (int i = 0; i < 100; ++i)
        expected += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
    EXPECT_EQ(fileBytes(r.path), expected);
    EXPECT_TRUE(r.h.dialogs.messages.isEmpty());

    EXPECT_EQ(r.watch.passes, 100) << "events run once per memory";
    EXPECT_EQ(std::pair(r.watch.texts.first(), r.watch.texts.last()),
              std::pair(QString("Recall the setting data from #00 location."),
                        QString("Recall the setting data from #98 location.")));
    EXPECT_EQ(std::pair(r.watch.lastValue, r.watch.lastMax), std::pair(100, 100))
        << "the bar ends at 100 of 100";
    EXPECT_EQ(r.watch.progress(), nullptr) << "the progress window is gone";
    EXPECT_TRUE(r.h.c().output->isSelected(0) && r.h.c().autorun->isSelected(0));
    EXPECT_EQ(r.h.c().record->value(), 42);
}

TEST(Download, TheOldFileStaysUnlessEveryMemoryWasRead)
{
    using Act = std::function<void(Rig&)>;
    // A file chosen, the pass at which `act` runs, the memories recalled in all and the one message.
    const std::tuple<bool, int, Act, int, QString> cases[] = {
        {false, -1, {}, 0, {}}, // dialog cancelled
        {true, 40, [](Rig& r) { r.watch.cancel(); }, 40, {}},
        {true, 5, // only the delay of memory 05 unanswered: no other answer ends in this delay
         [](Rig& r) { r.h.rewriting.replace(QByteArray::number(seededMemory(5).delay) + '\n', ""); }, 100,
         "Memory 05 could not be read from the instrument. The file was left unchanged."},
    };
    for (const auto& [chosen, atPass, act, recalls, message] : cases) {
        SCOPED_TRACE(atPass);
        Rig r;
        r.watch.duringIt = [&](int pass) {
            if (pass == atPass)
                act(r);
        };
        r.run(chosen ? r.path : QString());
        EXPECT_EQ(fileBytes(r.path), kOldFile);
        EXPECT_EQ(folderEntries(r.dir.path()), QStringList{"memories.csv"}) << "nothing left over";
        // With no file chosen, no command at all.
        EXPECT_EQ(r.h.serial.commands().filter(QString::fromLatin1(chosen ? "*RCL" : "")).size(), recalls);
        EXPECT_EQ(r.h.dialogs.messages,
                  (message.isEmpty() ? QList<ScriptedDialogs::Message>()
                                     : QList<ScriptedDialogs::Message>{{message, "Warning"}}));
        EXPECT_EQ(r.watch.progress(), nullptr);
    }
}

// While a transfer runs, the commands that would start another one or pull the instrument away do
// nothing; afterwards they work again.
TEST(Download, OneTransferAtATime)
{
    Rig r;
    const Form1Controls& c = r.h.c();
    c.record->setValue(5);
    r.h.dialogs.fileAnswers.enqueue(r.path); // for a second download that must not start
    qsizetype commandsAtPass10 = -1;
    qsizetype commandsAtPass11 = -1;
    r.watch.duringIt = [&](int pass) {
        if (pass == 10) {
            commandsAtPass10 = r.h.serial.commands().size();
            for (QPushButton* button : {c.recall, c.save, c.rallfile, c.sallfile, c.cmd_reconnect})
                button->click();
            c.mnu_reconnect->trigger();
            c.mnuorxb200->trigger();
        }
        if (pass == 11)
            commandsAtPass11 = r.h.serial.commands().size();
    };
    r.run(r.path);
    EXPECT_EQ(r.watch.passes, 100);
    const QStringList memory10 =
        r.h.serial.commands().mid(commandsAtPass10, commandsAtPass11 - commandsAtPass10);
    EXPECT_EQ(memory10.filter(QRegularExpression(QStringLiteral("^(\\*RCL|\\*SAV|\\*IDN|:OUTP|SYST:AUTO )"))),
              QStringList{"*RCL 10"})
        << "nothing but the recall of memory 10";
    EXPECT_FALSE(r.h.form->timer2().isActive()) << "no new search";
    EXPECT_TRUE(c.mnuorxa100->isChecked());
    EXPECT_FALSE(c.mnuorxb200->isChecked());
    EXPECT_EQ(r.h.dialogs.fileAnswers.size(), 1) << "no second file dialog";
    EXPECT_NE(fileBytes(r.path), kOldFile);

    r.h.serial.clearLog();
    c.recall->click();
    EXPECT_TRUE(r.h.serial.commands().contains(QStringLiteral("*RCL 05")));
}

} // namespace
