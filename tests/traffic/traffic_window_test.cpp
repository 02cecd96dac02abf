// The traffic console in the main window: the View menu in every panel state, one console, the lines
// of a whole connect and saving them.

#include "support/panel_harness.h"

#include "connection/connector.h"
#include "connection/panel_states.h"
#include "traffic/traffic_console.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

QStringList consoleLines(TrafficConsole* console)
{
    console->refresh();
    return console->shownLines();
}

} // namespace

TEST(TrafficWindow, ShowsEveryLineOfAConnectInOrderWithTimeOutsMarkedAndSavesThem)
{
    // COM1 opens but nothing answers; an ORX-A100 answers on COM2 at 4800 baud; no GPIB.
    PanelHarness h;
    sim::Instrument orx{0};
    h.gpib.setInterfaceAvailable(false);
    h.serial.addEmptyPort(1);
    h.serial.attachInstrument(2, &orx, 4800);
    h.clock.setWallStart(QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7)).toMSecsSinceEpoch());
    h.createAndLoad();
    h.c().mnuTraffic->trigger();
    auto* console = h.form->findChild<TrafficConsole*>();
    ASSERT_NE(console, nullptr);
    h.runConnect();
    const QStringList lines = consoleLines(console);

    const QString identity = "  RX  " + orx.identity() + "<LF>";
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
    QStringList expected;
    const QStringList commands = h.serial.commands();
    for (const QString& command : commands.mid(commands.lastIndexOf(QStringLiteral("*IDN?")) + 1))
        expected += command.endsWith(u'?') ? QStringList{"TX  " + command + "<CR>", "RX"}
                                           : QStringList{"TX  " + command + "<CR>"};
    QStringList shown;
    for (const QString& line : lines.mid(search.size()))
        shown.append(line.mid(38, 2) == u"RX" ? QStringLiteral("RX") : line.mid(38));
    EXPECT_GT(expected.size(), 20);
    EXPECT_EQ(shown, expected);

    // Saving writes every line shown, over the old file, or leaves that file alone and warns.
    const ScriptedDialogs::Message cannotSave{"Can not save this file. Please try the other file.",
                                              "Warning"};
    for (const auto& [answer, saved] : {std::pair{"", false}, {"traffic.txt", true}, {"no/t.txt", false}}) {
        SCOPED_TRACE(answer);
        QTemporaryDir dir;
        QFile old(dir.filePath("traffic.txt"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        old.close();
        h.dialogs.messages.clear();
        h.dialogs.fileAnswers.enqueue(*answer ? dir.filePath(answer) : QString());
        console->findChild<QPushButton*>("save")->click();
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(old.readAll()),
                  saved ? consoleLines(console).join(u'\n') + u'\n' : "old\n");
        EXPECT_EQ(h.dialogs.messages, QList<ScriptedDialogs::Message>(*answer && !saved, cannotSave));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"traffic.txt"});
    }
}

// One console, modeless and owned by the main window, from a View menu before Help that no panel
// state disables (nor its Trend...). Closed, it still records.
TEST(TrafficWindow, ViewMenuOpensOneConsoleInEveryPanelState)
{
    for (const QString state : {"connecting", "not connected", "operating off", "tripped", "found nothing"}) {
        SCOPED_TRACE(state.toStdString());
        PanelHarness h;
        h.serial.addEmptyPort(1);
        h.createAndLoad();
        const QList<QAction*> menus = h.form->menuBar()->actions();
        EXPECT_EQ(menus.indexOf(h.c().mnuview->menuAction()) + 1, menus.indexOf(h.c().mnuhelp->menuAction()));
        if (state == "connecting")
            h.form->panelStates().SetPanelEnabled(false);
        else if (state == "not connected")
            h.form->panelStates().SetDisconnectedPanel();
        else if (state == "operating off")
            h.form->panelStates().SetOperatingControlsEnabled(false);
        else if (state == "tripped")
            h.form->panelStates().SetProtectionTripped(h.c().clearovp, true);
        else
            h.runConnect();
        EXPECT_TRUE(h.c().mnuview->menuAction()->isEnabled() && h.c().mnuTraffic->isEnabled() &&
                    h.c().mnuTrend->isEnabled());
        for (int i = 0; i < 2; ++i) {
            h.c().mnuTraffic->trigger();
            const auto consoles = h.form->findChildren<TrafficConsole*>();
            ASSERT_EQ(consoles.size(), 1);
            EXPECT_TRUE(consoles[0]->isVisible() && consoles[0]->isWindow() && !consoles[0]->isModal());
            consoles[0]->close();
        }
        auto* console = h.form->findChild<TrafficConsole*>();
        const qsizetype before = consoleLines(console).size();
        h.form->connector().StartConnect();
        h.runConnect();
        EXPECT_GT(consoleLines(console).size(), before) << "closed, it still records";
    }
}
