// The traffic console in the main window: the View menu in every panel state, one console, the lines
// of a whole connect and saving them.

#include "support/panel_harness.h"
#include "support/test_files.h"

#include "traffic/traffic_console.h"

#include <QDateTime>
#include <QDir>
#include <QMenuBar>
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

    // Each port and rate in turn: "*CLS" and "*IDN?", then a second later a time-out, until the answer.
    QStringList search = {"       0 ms  14:03:07.000             --  connect started"};
    const QStringList tried = {"COM1 9600", "COM1 4800", "COM1 2400", "COM1 1200", "COM2 9600", "COM2 4800"};
    const auto at = [](int ms, const QString& where) {
        return QStringLiteral("%1 ms  %2  %3  ")
            .arg(ms, 8)
            .arg(QTime(14, 3, 7).addMSecs(ms).toString("hh:mm:ss.zzz"), where);
    };
    for (int i = 0; i < tried.size(); ++i)
        search << at(1001 * i, tried[i]) + "TX  *CLS<CR>" << at(1001 * i, tried[i]) + "TX  *IDN?<CR>"
               << at(1001 * (i + 1) - (i == 5) * 1001, tried[i]) +
                      (i < 5 ? "!!  time-out, no answer" : "RX  " + orx.identity() + "<LF>");
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
        ASSERT_TRUE(writeFileBytes(dir.filePath("traffic.txt"), "old\n"));
        h.dialogs.messages.clear();
        h.dialogs.fileAnswers.enqueue(*answer ? dir.filePath(answer) : QString());
        console->findChild<QPushButton*>("save")->click();
        EXPECT_EQ(QString::fromUtf8(fileBytes(dir.filePath("traffic.txt"))),
                  saved ? consoleLines(console).join(u'\n') + u'\n' : "old\n");
        EXPECT_EQ(h.dialogs.messages, QList<ScriptedDialogs::Message>(*answer && !saved, cannotSave));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"traffic.txt"});
    }
}

// One console, modeless and owned by the main window, from a View menu before Help that no panel
// state disables (nor its Trend...). Closed, it still records.
TEST(TrafficWindow, ViewMenuOpensOneConsoleInEveryPanelState)
{
    PanelHarness h;
    h.serial.addEmptyPort(1);
    h.createAndLoad();
    const QList<QAction*> menus = h.form->menuBar()->actions();
    EXPECT_EQ(menus.indexOf(h.c().mnuview->menuAction()) + 1, menus.indexOf(h.c().mnuhelp->menuAction()));
    const auto viewUsable = [&](const char* state) {
        EXPECT_TRUE(h.c().mnuview->menuAction()->isEnabled() && h.c().mnuTraffic->isEnabled() &&
                    h.c().mnuTrend->isEnabled())
            << state;
    };
    PanelStates& states = h.form->panelStates();
    states.SetPanelEnabled(false);
    viewUsable("connecting");
    states.SetDisconnectedPanel();
    viewUsable("not connected");
    states.SetOperatingControlsEnabled(false);
    viewUsable("operating off");
    states.SetProtectionTripped(h.c().clearovp, true);
    viewUsable("tripped");
    h.runConnect();
    viewUsable("found nothing");
    h.c().mnuTraffic->trigger();
    h.form->findChild<TrafficConsole*>()->close();
    h.c().mnuTraffic->trigger(); // shown again, the same console
    const auto consoles = h.form->findChildren<TrafficConsole*>();
    ASSERT_EQ(consoles.size(), 1);
    EXPECT_TRUE(consoles[0]->isVisible() && consoles[0]->isWindow() && !consoles[0]->isModal());
    consoles[0]->close();
    const qsizetype before = consoleLines(consoles[0]).size();
    h.form->connector().StartConnect();
    h.runConnect();
    EXPECT_GT(consoleLines(consoles[0]).size(), before) << "closed, it still records";
}
