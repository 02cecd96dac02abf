// The traffic console in the main window: the View menu in every panel state, one console, the lines
// of a whole connect and saving them.

#include "support/panel_harness.h"

#include "connection/panel_states.h"
#include "traffic/traffic_console.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// COM1 opens but nothing answers; an ORX-A100 answers on COM2 at 4800 baud; no GPIB.
struct TwoPorts : PanelHarness
{
    sim::Instrument orx{0};
    TwoPorts()
    {
        gpib.setInterfaceAvailable(false);
        serial.addEmptyPort(1);
        serial.attachInstrument(2, &orx, 4800);
        clock.setWallStart(QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7)).toMSecsSinceEpoch());
    }

    TrafficConsole* openConsole()
    {
        c().mnuTraffic->trigger();
        return form->findChild<TrafficConsole*>();
    }
};

QStringList consoleLines(TrafficConsole* console)
{
    console->refresh();
    return console->shownLines();
}

// The text column of a line ("*IDN?<CR>"), and its direction ("TX").
QString textOf(const QString& line)
{
    return line.mid(42);
}

QString directionOf(const QString& line)
{
    return line.mid(38, 2);
}

} // namespace

TEST(TrafficWindow, ShowsEveryLineOfAConnectInOrderWithTimeOutsMarked)
{
    TwoPorts h;
    h.createAndLoad();
    TrafficConsole* console = h.openConsole();
    ASSERT_NE(console, nullptr);
    h.runConnect();
    const QStringList lines = consoleLines(console);

    const QString identity = "  RX  " + h.orx.identity() + "<LF>";
    const QStringList search = {
        "       0 ms  14:03:07.000             --  connect started",
        "       0 ms  14:03:07.000  COM1 9600  TX  *CLS<CR>",
        "       0 ms  14:03:07.000  COM1 9600  TX  *IDN?<CR>",
        "    1001 ms  14:03:08.001  COM1 9600  !!  time-out, no answer",
        "    1001 ms  14:03:08.001  COM1 4800  TX  *CLS<CR>",
        "    1001 ms  14:03:08.001  COM1 4800  TX  *IDN?<CR>",
        "    2002 ms  14:03:09.002  COM1 4800  !!  time-out, no answer",
        "    2002 ms  14:03:09.002  COM1 2400  TX  *CLS<CR>",
        "    2002 ms  14:03:09.002  COM1 2400  TX  *IDN?<CR>",
        "    3003 ms  14:03:10.003  COM1 2400  !!  time-out, no answer",
        "    3003 ms  14:03:10.003  COM1 1200  TX  *CLS<CR>",
        "    3003 ms  14:03:10.003  COM1 1200  TX  *IDN?<CR>",
        "    4004 ms  14:03:11.004  COM1 1200  !!  time-out, no answer",
        "    4004 ms  14:03:11.004  COM2 9600  TX  *CLS<CR>",
        "    4004 ms  14:03:11.004  COM2 9600  TX  *IDN?<CR>",
        "    5005 ms  14:03:12.005  COM2 9600  !!  time-out, no answer",
        "    5005 ms  14:03:12.005  COM2 4800  TX  *CLS<CR>",
        "    5005 ms  14:03:12.005  COM2 4800  TX  *IDN?<CR>",
        "    5005 ms  14:03:12.005  COM2 4800" + identity,
    };
    ASSERT_GT(lines.size(), search.size());
    EXPECT_EQ(lines.mid(0, search.size()), search);

    // After the identification: every command that went over the wire, in order, each query followed
    // at once by its answer, and nothing else.
    QStringList sent;
    const QStringList rest = lines.mid(search.size());
    for (qsizetype i = 0; i < rest.size(); ++i) {
        ASSERT_EQ(directionOf(rest[i]), "TX") << rest[i].toStdString();
        ASSERT_TRUE(textOf(rest[i]).endsWith("<CR>")) << rest[i].toStdString();
        sent.append(textOf(rest[i]).chopped(4));
        if (sent.last().endsWith(u'?')) {
            ASSERT_LT(i + 1, rest.size());
            EXPECT_EQ(directionOf(rest[++i]), "RX") << rest[i].toStdString();
        }
    }
    const QStringList commands = h.serial.commands();
    EXPECT_EQ(sent, commands.mid(commands.lastIndexOf(QStringLiteral("*IDN?")) + 1));
    EXPECT_FALSE(sent.isEmpty());
}

TEST(TrafficWindow, SavingWritesEveryLineShownOrWarns)
{
    enum class Target
    {
        Cancelled,
        NewFile,
        ExistingFile,
        MissingFolder,
        FolderOfThatName
    };
    const struct
    {
        const char* name;
        Target target;
        bool saved;
        bool warned;
    } cases[] = {
        {"cancelled", Target::Cancelled, false, false},
        {"new file", Target::NewFile, true, false},
        {"existing file replaced", Target::ExistingFile, true, false},
        {"folder that does not exist", Target::MissingFolder, false, true},
        {"a folder of that name", Target::FolderOfThatName, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TwoPorts h;
        h.createAndLoad();
        TrafficConsole* console = h.openConsole();
        h.runConnect();
        const QStringList lines = consoleLines(console);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path =
            dir.filePath(c.target == Target::MissingFolder ? "missing/traffic.txt" : "traffic.txt");
        const QByteArray old = "old traffic\n";
        if (c.target == Target::ExistingFile || c.target == Target::Cancelled) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
        }
        ASSERT_TRUE(c.target != Target::FolderOfThatName || QDir().mkpath(path));
        if (c.target != Target::Cancelled)
            h.dialogs.fileAnswers.enqueue(path);

        console->findChild<QPushButton*>("save")->click();

        QFile file(path);
        if (c.saved) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(QString::fromUtf8(file.readAll()), lines.join(u'\n') + u'\n');
        } else if (c.target == Target::Cancelled) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), old);
        } else {
            EXPECT_FALSE(QFileInfo(path).isFile());
        }
        const QList<ScriptedDialogs::Message> warning = {
            {"Can not save this file. Please try the other file.", "Warning"}};
        EXPECT_EQ(h.dialogs.messages, c.warned ? warning : QList<ScriptedDialogs::Message>());
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                  c.saved || c.target == Target::Cancelled ? 1 : 0)
            << "no temporary file is left behind";
    }
}

TEST(TrafficWindow, ViewMenuStaysUsableInEveryPanelState)
{
    const struct
    {
        const char* name;
        std::function<void(PanelHarness&)> enter;
    } states[] = {
        {"connecting",
         [](PanelHarness& h) {
             h.form->panelStates().SetPanelEnabled(false);
         }},
        {"not connected",
         [](PanelHarness& h) {
             h.form->panelStates().SetDisconnectedPanel();
         }},
        {"operating controls off",
         [](PanelHarness& h) {
             h.form->panelStates().SetOperatingControlsEnabled(false);
         }},
        {"output controls off",
         [](PanelHarness& h) {
             h.form->panelStates().SetOutputControlsEnabled(false);
         }},
        {"protection tripped",
         [](PanelHarness& h) {
             h.form->panelStates().SetProtectionTripped(h.c().clearovp, true);
         }},
        {"search found nothing",
         [](PanelHarness& h) {
             h.runConnect();
         }},
    };
    for (const auto& s : states) {
        SCOPED_TRACE(s.name);
        PanelHarness h;
        h.serial.addEmptyPort(1);
        h.createAndLoad();
        s.enter(h);
        EXPECT_TRUE(h.c().mnuview->menuAction()->isEnabled());
        EXPECT_TRUE(h.c().mnuTraffic->isEnabled());
        h.c().mnuTraffic->trigger();
        const auto consoles = h.form->findChildren<TrafficConsole*>();
        ASSERT_EQ(consoles.size(), 1);
        EXPECT_TRUE(consoles.first()->isVisible());
    }
}

TEST(TrafficWindow, OneModelessConsoleOwnedByTheMainWindowBeforeHelp)
{
    TwoPorts h;
    h.createAndLoad();
    const QList<QAction*> menus = h.form->menuBar()->actions();
    const qsizetype view = menus.indexOf(h.c().mnuview->menuAction());
    ASSERT_GE(view, 0);
    EXPECT_EQ(menus.value(view + 1), h.c().mnuhelp->menuAction());

    TrafficConsole* console = h.openConsole();
    ASSERT_NE(console, nullptr);
    console->close();
    for (int i = 0; i < 3; ++i)
        h.c().mnuTraffic->trigger();
    EXPECT_EQ(h.form->findChildren<TrafficConsole*>().size(), 1);
    EXPECT_TRUE(console->isVisible());
    EXPECT_TRUE(console->isWindow());
    EXPECT_EQ(console->parentWidget(), h.form.get());
    EXPECT_FALSE(console->isModal());

    // Hidden, it still records: the lines of a connect made meanwhile are there when it comes back.
    console->close();
    h.runConnect();
    h.c().mnuTraffic->trigger();
    EXPECT_GT(consoleLines(console).size(), 20);
}
