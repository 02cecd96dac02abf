// The traffic console on its own link: pausing, clearing, filtering, copying and the line cap.

#include "traffic/traffic_console.h"

#include "support/link_rig.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

// Where the direction column starts: after the time, the wall clock and the interface.
constexpr qsizetype kDirectionColumn = 38;

struct ConsoleRig : LinkRig
{
    QWidget owner;
    TrafficConsole console{&owner, link, dialogs};

    void send(const QString& command) { link.SendCommand(command); }
    template <typename T>
    T* control(const char* name) const
    {
        return console.findChild<T*>(QLatin1String(name));
    }
    void click(const char* name) { control<QPushButton>(name)->click(); }
    void filter(const char* text) { control<QLineEdit>("filter")->setText(QString::fromLatin1(text)); }
    // The lines shown, without the time and interface columns.
    QStringList shown()
    {
        console.refresh();
        QStringList out;
        for (const QString& line : console.shownLines())
            out.append(line.mid(kDirectionColumn));
        return out;
    }
};

} // namespace

TEST(TrafficConsole, ControlsShapeWhatIsShown)
{
    const struct
    {
        const char* name;
        std::function<void(ConsoleRig&)> act;
        QStringList shown;
    } cases[] = {
        {"every line, in order",
         [](ConsoleRig& r) {
             r.send("A");
             r.send("B");
         },
         {"TX  A<CR>", "TX  B<CR>"}},
        {"filter ignores letter case",
         [](ConsoleRig& r) {
             r.send("*CLS");
             r.send("*IDN?");
             r.filter("idn");
         },
         {"TX  *IDN?<CR>"}},
        {"filter applies to later lines and to every column",
         [](ConsoleRig& r) {
             r.filter("tx  :meas");
             for (const char* c : {":MEAS?", "*CLS", ":meas:curr?"})
                 r.send(c);
         },
         {"TX  :MEAS?<CR>", "TX  :meas:curr?<CR>"}},
        {"pause holds later lines back",
         [](ConsoleRig& r) {
             r.send("A");
             r.click("pause");
             r.send("B");
         },
         {"TX  A<CR>"}},
        {"resuming shows what came during the pause",
         [](ConsoleRig& r) {
             r.send("A");
             r.click("pause");
             r.send("B");
             r.shown();
             r.click("pause");
         },
         {"TX  A<CR>", "TX  B<CR>"}},
        {"a filter changed during the pause shows no newer line",
         [](ConsoleRig& r) {
             r.send("A1");
             r.click("pause");
             r.send("A2");
             r.filter("a");
         },
         {"TX  A1<CR>"}},
        {"clear empties the list and later lines still come",
         [](ConsoleRig& r) {
             r.send("A");
             r.shown();
             r.click("clear");
             r.send("B");
         },
         {"TX  B<CR>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConsoleRig rig;
        c.act(rig);
        EXPECT_EQ(rig.shown(), c.shown);
    }
}

TEST(TrafficConsole, ListCatchesUpOnItsTimerNotPerExchange)
{
    ConsoleRig rig;
    const auto* view = rig.control<QListView>("lines");
    int inserts = 0;
    QObject::connect(view->model(), &QAbstractItemModel::rowsInserted, [&inserts] { ++inserts; });
    for (int i = 0; i < 50; ++i)
        rig.send(QStringLiteral("C%1").arg(i));
    EXPECT_EQ(view->model()->rowCount(), 0) << "the link only appends";
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount() == 50; }, 2000));
    EXPECT_EQ(inserts, 1) << "fifty exchanges, one update";
    EXPECT_EQ(rig.control<QLabel>("count")->text(), "50 lines");
}

TEST(TrafficConsole, CopyTakesTheSelectedLinesOrElseAllShown)
{
    const struct
    {
        QList<int> selectedRows;
        QStringList copied;
    } cases[] = {
        {{}, {"TX  L0<CR>", "TX  L1<CR>", "TX  L2<CR>", "TX  L3<CR>"}},
        {{3, 1}, {"TX  L1<CR>", "TX  L3<CR>"}},
    };
    for (const auto& c : cases) {
        ConsoleRig rig;
        for (int i = 0; i < 4; ++i)
            rig.send(QStringLiteral("L%1").arg(i));
        rig.shown();
        auto* view = rig.control<QListView>("lines");
        for (const int row : c.selectedRows)
            view->selectionModel()->select(view->model()->index(row, 0), QItemSelectionModel::Select);
        QApplication::clipboard()->clear();
        rig.click("copy");
        const QString text = QApplication::clipboard()->text();
        ASSERT_TRUE(text.endsWith(u'\n'));
        QStringList copied;
        for (const QString& line : text.chopped(1).split(u'\n'))
            copied.append(line.mid(kDirectionColumn));
        EXPECT_EQ(copied, c.copied);
    }
}

// The log keeps the last 100,000 lines; a paused or filtered list never shows a line that dropped off.
TEST(TrafficConsole, KeepsTheLastHundredThousandLines)
{
    constexpr int kSent = 100'005;
    const struct
    {
        const char* name;
        int pauseAfter; // lines sent before Pause is pressed; -1 never
        const char* filter;
        qsizetype rows;
        const char* first;
    } cases[] = {
        {"all shown", -1, "", 100'000, "TX  C5<CR>"},
        {"paused after ten", 10, "", 5, "TX  C5<CR>"},
        {"filtered", -1, "C99999<", 1, "TX  C99999<CR>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConsoleRig rig;
        rig.filter(c.filter);
        for (int i = 0; i < kSent; ++i) {
            if (i == c.pauseAfter) {
                rig.shown();
                rig.click("pause");
            }
            rig.send(QStringLiteral("C%1").arg(i));
        }
        const QStringList shown = rig.shown();
        ASSERT_EQ(shown.size(), c.rows);
        EXPECT_EQ(shown.first(), c.first);
        EXPECT_EQ(shown.last(), c.pauseAfter >= 0 ? "TX  C9<CR>"
                                : c.rows == 1     ? "TX  C99999<CR>"
                                                  : "TX  C100004<CR>");
    }
}
