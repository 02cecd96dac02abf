// The traffic console on its own link: how it shows bytes, pause, clear, filter, copy, the line cap
// and that the list catches up on a timer.

#include "traffic/traffic_console.h"

#include "support/link_rig.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

using namespace orx;
using namespace orx::test;

namespace {

// The command of each console line, without its <CR>.
QStringList commands(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out.append(line.mid(42).chopped(4));
    return out;
}

struct ConsoleRig : LinkRig
{
    QWidget owner;
    TrafficConsole console{&owner, link, dialogs};
    QListView* view = console.findChild<QListView*>("lines");

    // Each step sends its text as a command, except "click <button>", "filter=<text>", "select <row>"
    // and "show" (bring the list up to date).
    void run(const QStringList& steps)
    {
        for (const QString& step : steps) {
            if (step.startsWith("click "))
                console.findChild<QPushButton*>(step.mid(6))->click();
            else if (step.startsWith("filter="))
                console.findChild<QLineEdit*>("filter")->setText(step.mid(7));
            else if (step.startsWith("select "))
                view->selectionModel()->select(view->model()->index(step.mid(7).toInt(), 0),
                                               QItemSelectionModel::Select);
            else if (step == "show")
                console.refresh();
            else
                link.SendCommand(step);
        }
    }
    QStringList shown()
    {
        console.refresh();
        return commands(console.shownLines());
    }
};

} // namespace

TEST(TrafficConsole, ControlBytesAreMadeVisible)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {"*IDN?\r", "*IDN?<CR>"},          {"1.234\r\n", "1.234<CR><LF>"}, {QByteArray("a\0b", 3), "a\\x00b"},
        {"\x07\t\x7f", "\\x07\\x09\\x7F"}, {"\xb5\xff", "\\xB5\\xFF"},     {"C:\\x07", "C:\\\\x07"}};
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(visibleText(bytes), QString::fromLatin1(shown));
}

// What is shown, and what Copy takes: the selected lines, or else all shown.
TEST(TrafficConsole, ControlsShapeWhatIsShownAndCopied)
{
    const struct
    {
        const char* name;
        QStringList steps;
        QStringList shown;
        QStringList copied; // empty: as shown
    } cases[] = {
        {"filter: any column, any case",
         {"*CLS", ":MEAS?", "filter=tx  :meas", ":meas:curr?"},
         {":MEAS?", ":meas:curr?"},
         {}},
        {"pause holds later lines back", {"A", "click pause", "B"}, {"A"}, {}},
        {"resuming shows them", {"A", "click pause", "B", "show", "click pause"}, {"A", "B"}, {}},
        {"refiltering in a pause shows no newer line", {"A1", "click pause", "A2", "filter=a"}, {"A1"}, {}},
        {"clear, then new lines", {"A", "show", "click clear", "B"}, {"B"}, {}},
        {"the selected lines are copied",
         {"L0", "L1", "L2", "show", "select 2", "select 0"},
         {"L0", "L1", "L2"},
         {"L0", "L2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConsoleRig rig;
        rig.run(c.steps);
        EXPECT_EQ(rig.shown(), c.shown);
        rig.run({"click copy"});
        QStringList copied = QApplication::clipboard()->text().split(u'\n');
        EXPECT_EQ(copied.takeLast(), "") << "every line ends";
        EXPECT_EQ(commands(copied), c.copied.isEmpty() ? c.shown : c.copied);
    }
}

TEST(TrafficConsole, ListCatchesUpOnItsTimerNotPerExchange)
{
    ConsoleRig rig;
    int updates = 0;
    QObject::connect(rig.view->model(), &QAbstractItemModel::rowsInserted, [&updates] { ++updates; });
    for (int i = 0; i < 50; ++i)
        rig.link.SendCommand(QStringLiteral("C%1").arg(i));
    EXPECT_EQ(rig.view->model()->rowCount(), 0) << "the link only appends";
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.view->model()->rowCount() == 50; }, 2000));
    EXPECT_EQ(updates, 1);
}

// The last 100,000 lines stay; a paused or filtered list never shows one that dropped off.
TEST(TrafficConsole, KeepsTheLastHundredThousandLines)
{
    // Lines sent before Pause (-1: never), the filter, and what is shown then.
    for (const auto& [pauseAfter, filter, rows, first, last] :
         std::initializer_list<std::tuple<int, const char*, qsizetype, const char*, const char*>>{
             {-1, "", 100'000, "C5", "C100004"},
             {10, "", 5, "C5", "C9"},
             {-1, "C99999<", 1, "C99999", "C99999"}}) {
        ConsoleRig rig;
        rig.run({QStringLiteral("filter=") + filter});
        for (int i = 0; i < 100'005; ++i) {
            if (i == pauseAfter)
                rig.run({"show", "click pause"});
            rig.link.SendCommand(QStringLiteral("C%1").arg(i));
        }
        const QStringList shown = rig.shown();
        ASSERT_EQ(shown.size(), rows) << filter << pauseAfter;
        EXPECT_EQ(shown.first(), first);
        EXPECT_EQ(shown.last(), last);
    }
}
