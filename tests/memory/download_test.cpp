// Download to file: the exact file, the progress window, and the old file kept whole whenever the
// download does not finish with every answer: cancelled, ended, unanswered or refused targets.

#include "app/form2.h"
#include "app/program_state.h"
#include "memory/memory_bank.h"
#include "memory/memory_download.h"
#include "support/memory_seed.h"
#include "support/panel_harness.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

const QByteArray kOldFile = "the old file\r\n";

// A connected ORX-A100 holding a hundred different memories, an old file to download over, and a
// watch on the progress window each time the download lets events run.
struct Rig
{
    PanelHarness h;
    sim::Instrument orx{0};
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("memories.csv"));
    int passes = 0;                         // times pending events ran during the download
    std::function<void(int pass)> duringIt; // runs at each pass, before the memory of that number
    QStringList progressTexts;              // the progress window's text at each pass
    int lastValue = -1;
    int lastMax = -1;
    bool watched = false;

    Rig()
    {
        h.gpib.setInterfaceAvailable(false);
        h.serial.attachInstrument(1, &orx, 9600);
        for (int i = 0; i < 100; ++i)
            orx.setMemory(i, seededMemory(i));
        h.connected();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kOldFile);
    }

    Form2* progress() const { return h.form->findChild<Form2*>(); }

    void run(const QString& answer)
    {
        h.dialogs.fileAnswers.enqueue(answer);
        h.serial.clearLog();
        setPendingEventsObserver([this] {
            if (Form2* window = progress()) {
                progressTexts.append(window->text());
                lastMax = window->max();
                if (!watched) // the bar's last value, also the one set after the last pass
                    QObject::connect(window->findChild<QProgressBar*>(QStringLiteral("PBar1")),
                                     &QProgressBar::valueChanged, [this](int value) { lastValue = value; });
                watched = true;
            }
            if (duringIt)
                duringIt(passes);
            ++passes;
        });
        h.c().sallfile->click();
        setPendingEventsObserver({});
    }

    QByteArray fileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot be read)");
    }
};

struct Download : ::testing::Test, Rig
{};

TEST_F(Download, WritesEveryMemoryByteForByte)
{
    h.c().record->setValue(42);
    h.c().autorun->select(1);
    run(path);

    QByteArray expected = kCsvHeader.toLatin1() + "\r\n";
    for (int i = 0; i < 100; ++i)
        expected += expectedRecordLine(i, seededMemory(i)).toLatin1() + "\r\n";
    EXPECT_EQ(fileBytes(), expected);
    EXPECT_EQ(fileBytes().count("\r\n"), 101);
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
    EXPECT_EQ(h.serial.commands().count(QStringLiteral("*RCL 99")), 1);
    EXPECT_EQ(h.serial.commands().filter(QStringLiteral("*RCL")).size(), 100);

    EXPECT_EQ(passes, 100) << "events run once per memory";
    EXPECT_EQ(progressTexts.first(), "Recall the setting data from #00 location.");
    EXPECT_EQ(progressTexts.last(), "Recall the setting data from #98 location.");
    EXPECT_EQ(lastMax, 100);
    EXPECT_EQ(lastValue, 100) << "the bar ends at 100 of 100";
    EXPECT_EQ(progress(), nullptr) << "the progress window is gone";

    // The panel afterwards: memory 99 active and shown, the record number as it was.
    EXPECT_TRUE(h.c().output->isSelected(0));
    EXPECT_TRUE(h.c().autorun->isSelected(0));
    EXPECT_EQ(h.c().record->value(), 42);
    EXPECT_EQ(h.c().vm->text(), expectedRecordLine(99, seededMemory(99)).section(QStringLiteral(", "), 1, 1));
    const MemoryCopies& copies = h.form->memoryBank().copies();
    for (int i = 0; i < 100; ++i) {
        const QStringList fields = expectedRecordLine(i, seededMemory(i)).split(QStringLiteral(", "));
        EXPECT_EQ(
            copies[static_cast<size_t>(i)],
            (MemoryRecordTexts{fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]}))
            << i;
    }
}

TEST_F(Download, NothingIsSentForAnAnswerThatIsNoUsableFile)
{
    const struct
    {
        const char* name;
        QString answer;
        bool warned;
    } cases[] = {
        {"dialog cancelled", QString(), false},
        {"a folder", dir.path(), true},
        {"a folder that does not exist", dir.filePath(QStringLiteral("missing/memories.csv")), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        h.dialogs.messages.clear();
        run(c.answer);
        EXPECT_TRUE(h.serial.commands().isEmpty());
        EXPECT_EQ(passes, 0);
        ASSERT_EQ(h.dialogs.messages.size(), c.warned ? 1 : 0);
        if (c.warned) {
            EXPECT_TRUE(h.dialogs.messages[0].text.startsWith(
                QStringLiteral("Can not write this file. Please try the other file.")));
            EXPECT_EQ(h.dialogs.messages[0].title, "Warning");
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"memories.csv"});
        EXPECT_EQ(fileBytes(), kOldFile);
    }
}

TEST_F(Download, TheOldFileStaysWhenTheDownloadDoesNotComplete)
{
    const struct
    {
        const char* name;
        std::function<void(Rig&, int pass)> act;
        int recalls;     // memories recalled in all
        QString message; // the one message box, if any
        int endings;
    } cases[] = {
        {"Cancel at memory 40",
         [](Rig& t, int pass) {
             if (pass == 40)
                 t.progress()->findChild<QPushButton*>(QStringLiteral("cmdcancel"))->click();
         },
         40,
         {},
         0},
        {"the progress window closed",
         [](Rig& t, int pass) {
             if (pass == 40)
                 t.progress()->close();
         },
         40,
         {},
         0},
        {"EXIT",
         [](Rig& t, int pass) {
             if (pass == 40)
                 t.h.c().cmdexit->click();
         },
         40,
         {},
         1},
        {"the main window closed",
         [](Rig& t, int pass) {
             if (pass == 40)
                 t.h.form->close();
         },
         40,
         {},
         1},
        {"memories 03 and 07 to 09 unanswered",
         [](Rig& t, int pass) {
             const bool silent = pass == 3 || (pass >= 7 && pass <= 9);
             t.h.serial.setFault(silent ? sim::Fault::Silence : sim::Fault::None);
         },
         100, "Memories 03, 07 to 09 could not be read from the instrument. The file was left unchanged.", 0},
        {"only the delay of memory 05 unanswered",
         [](Rig& t, int pass) {
             if (pass == 5) // no other answer ends in this delay
                 t.h.rewriting.replace(QByteArray::number(seededMemory(5).delay) + '\n', "");
         },
         100, "Memory 05 could not be read from the instrument. The file was left unchanged.", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        t.duringIt = [&](int pass) {
            c.act(t, pass);
        };
        t.run(t.path);
        EXPECT_EQ(t.fileBytes(), kOldFile);
        EXPECT_EQ(QDir(t.dir.path()).entryList(QDir::Files), QStringList{"memories.csv"})
            << "nothing left over";
        EXPECT_EQ(t.h.serial.commands().filter(QStringLiteral("*RCL")).size(), c.recalls);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(t.h.dialogs.messages.isEmpty());
        } else {
            EXPECT_EQ(t.h.dialogs.messages, QList<ScriptedDialogs::Message>({{c.message, "Warning"}}));
        }
        EXPECT_EQ(t.h.endings, c.endings);
        if (c.endings) {
            const QStringList commands = t.h.serial.commands();
            EXPECT_EQ(commands.mid(commands.lastIndexOf(QStringLiteral("SYST:LOC")) + 1).filter(u"?"),
                      QStringList())
                << "nothing is asked after the program began to end";
            EXPECT_FALSE(t.h.form->isVisible()) << "the main window is not brought back";
        }
        EXPECT_EQ(t.progress(), nullptr);
    }
}

// While a transfer runs, the commands that would start another one or pull the instrument away do
// nothing; afterwards they work again.
TEST_F(Download, OneTransferAtATime)
{
    h.c().record->setValue(5);
    h.dialogs.fileAnswers.enqueue(path); // for a second download that must not start
    int commandsAtPass10 = -1;
    int commandsAtPass11 = -1;
    duringIt = [&](int pass) {
        if (pass == 10) {
            commandsAtPass10 = h.serial.commands().size();
            for (QPushButton* button :
                 {h.c().recall, h.c().save, h.c().rallfile, h.c().sallfile, h.c().cmd_reconnect})
                button->click();
            h.c().mnu_reconnect->trigger();
            h.c().mnuorxb200->trigger();
        }
        if (pass == 11)
            commandsAtPass11 = h.serial.commands().size();
    };
    run(path);
    EXPECT_EQ(passes, 100);
    const QStringList memory10 =
        h.serial.commands().mid(commandsAtPass10, commandsAtPass11 - commandsAtPass10);
    EXPECT_EQ(memory10.first(), "*RCL 10");
    EXPECT_EQ(memory10.filter(QRegularExpression(QStringLiteral("^(\\*RCL|\\*SAV|\\*IDN|:OUTP|SYST:AUTO )"))),
              QStringList{"*RCL 10"})
        << "nothing but the recall of memory 10";
    EXPECT_FALSE(h.form->timer2().isActive()) << "no new search";
    EXPECT_TRUE(h.c().mnuorxa100->isChecked());
    EXPECT_FALSE(h.c().mnuorxb200->isChecked());
    EXPECT_EQ(h.dialogs.fileAnswers.size(), 1) << "no second file dialog";
    EXPECT_NE(fileBytes(), kOldFile);

    h.serial.clearLog();
    h.c().recall->click();
    EXPECT_TRUE(h.serial.commands().contains(QStringLiteral("*RCL 05")));
}

} // namespace
