// The trend window in the main window: one point per monitoring tick and none while the output is off,
// the log's lines matching the ticks, the log stopping with the output, and files never emptied
// without the save dialog's say.

#include "support/file_size_limit.h"
#include "support/panel_harness.h"
#include "support/scripted_panel.h"

#include "app/numbers.h"
#include "connection/connector.h"
#include "panel/monitoring_loop.h"
#include "trend/trend_chart.h"
#include "trend/trend_window.h"
#include "ui/numeric_field.h"
#include "ui/option_group.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Kind = TrendMarkerKind;
using State = TrendLogStatus::State;

const qint64 kWallStart = QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7)).toMSecsSinceEpoch();

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The tick lines of a log, each split into its time (milliseconds since the epoch, -1 when the text
// is no ISO 8601 time with milliseconds) and the rest.
struct LogLine
{
    qint64 timeMs;
    QString rest;
};

std::vector<LogLine> tickLines(const QString& path)
{
    std::vector<LogLine> out;
    for (const QByteArray& line : fileBytes(path).split('\n')) {
        if (line.isEmpty() || line.startsWith('#') || line.startsWith("Time,"))
            continue;
        const QString text = QString::fromUtf8(line);
        const QDateTime time = QDateTime::fromString(text.section(u',', 0, 0), Qt::ISODateWithMs);
        out.push_back({time.isValid() ? time.toMSecsSinceEpoch() : -1, text.section(u',', 1)});
    }
    return out;
}

// A connected-looking panel with the output switched on by the operator; the tests run the ticks.
struct TrendPanel : ScriptedPanel
{
    QTemporaryDir dir;
    std::vector<qint64> tickTimes; // wall-clock time of every tick that ran

    TrendPanel()
    {
        clock.setWallStart(kWallStart);
        form->timer1().setInterval(3'600'000); // never fires by itself during a test
        c().ovpen->select(1);
        c().output->select(1);
        QObject::connect(&form->monitoring(), &MonitoringLoop::ticked,
                         [this] { tickTimes.push_back(clock.wallMilliseconds()); });
    }
    TrendWindow* openTrend()
    {
        c().mnuTrend->trigger();
        return form->findChild<TrendWindow*>();
    }
    QPushButton* button(const char* name) { return openTrend()->findChild<QPushButton*>(name); }
    void logTo(const QString& path)
    {
        dialogs.fileAnswers.enqueue(path);
        button("logToFile")->click();
    }
    // One second later, one tick if the loop runs.
    void tick()
    {
        clock.advanceMilliseconds(1000);
        if (form->timer1().isActive())
            form->monitoring().Timer1_Timer();
    }
    const TrendRecorder& recorder() { return openTrend()->recorder(); }
};

} // namespace

TEST(TrendWindow, OnePointAndOneLogLinePerTickNoneWhileTheOutputIsOff)
{
    // Ticks 1..n (each only while the loop runs), with a change before tick `at`.
    const auto ticks = [](int n, int at = 0, std::function<void(TrendPanel&)> change = nullptr) {
        return [=](TrendPanel& p) {
            for (int t = 1; t <= n; ++t) {
                if (t == at)
                    change(p);
                p.tick();
            }
        };
    };
    const auto answer = [](const char* query, const char* value) {
        return [=](TrendPanel& p) {
            p.answers[query] = value;
        };
    };
    const auto noAnswer = [](const char* query) {
        return [=](TrendPanel& p) {
            p.answers.remove(query);
        };
    };
    const auto output = [](std::vector<int> options) {
        return [=](TrendPanel& p) {
            for (const int option : options) {
                p.c().output->select(option);
                QCoreApplication::processEvents();
            }
        };
    };
    const auto offAndOnAtOnce = [](TrendPanel& p) {
        p.c().output->select(0);
        p.c().output->select(1);
    };
    const auto stopLog = [](TrendPanel& p) {
        p.button("stopLog")->click();
    };
    const QString on = "12.345,0.500,ON", off = "12.345,0.500,OFF";
    const struct
    {
        const char* name;
        std::function<void(TrendPanel&)> act;
        QStringList lines; // the log's tick lines after their time
        std::vector<std::pair<int, Kind>> markers;
        int runs;
        State log;
    } cases[] = {
        {"clean ticks", ticks(3), {on, on, on}, {}, 1, State::Running},
        {"a missing measurement: an empty field and a time-out marker",
         ticks(3, 2, noAnswer(":MEAS?")),
         {on, ",0.500,ON", ",0.500,ON"},
         {{2, Kind::TimeOut}, {3, Kind::TimeOut}},
         1,
         State::Running},
        {"the loop stops on a missing answer: the log waits for the next tick",
         ticks(4, 2, noAnswer(":OUTP:STAT?")),
         {on, on},
         {{2, Kind::TimeOut}},
         1,
         State::Running},
        {"a trip: its tick's line, then the log stops",
         ticks(4, 2, answer(":CURR:PROT:TRIP?", "1\n")),
         {on, off},
         {{2, Kind::Trip}},
         1,
         State::StoppedWithOutput},
        {"switched off at the instrument",
         ticks(4, 2, answer(":OUTP:STAT?", "0\n")),
         {on, off},
         {},
         1,
         State::StoppedWithOutput},
        {"switched off by the operator", ticks(5, 3, output({0})), {on, on}, {}, 1, State::StoppedWithOutput},
        {"off and on again: a new line on the chart, no new log",
         ticks(4, 3, output({0, 1})),
         {on, on},
         {},
         2,
         State::StoppedWithOutput},
        {"off and on again at once: the log stops all the same",
         ticks(2, 2, offAndOnAtOnce),
         {on},
         {},
         2,
         State::StoppedWithOutput},
        {"Stop log: the points go on, the lines stop",
         ticks(4, 3, stopLog),
         {on, on},
         {},
         1,
         State::StoppedByOperator},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrendPanel p;
        TrendWindow* window = p.openTrend();
        ASSERT_NE(window, nullptr);
        const QString path = p.dir.filePath("trend.csv");
        p.logTo(path);
        ASSERT_TRUE(p.recorder().logging());
        c.act(p);
        QCoreApplication::processEvents();

        const TrendBuffer& buffer = p.recorder().buffer();
        ASSERT_EQ(buffer.points().size(), p.tickTimes.size()) << "one point per tick";
        const std::vector<LogLine> lines = tickLines(path);
        ASSERT_EQ(lines.size(), size_t(c.lines.size()));
        for (size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(lines[i].timeMs, p.tickTimes[i]);
            EXPECT_EQ(lines[i].rest, c.lines[qsizetype(i)]);
            const TrendPoint& point = buffer.points()[i];
            EXPECT_EQ(point.timeMs, p.tickTimes[i]);
            const QString volts = c.lines[qsizetype(i)].section(u',', 0, 0);
            EXPECT_EQ(point.volts ? formatTruncated3(*point.volts) : QString(), volts);
        }
        std::vector<TrendMarker> markers;
        for (const auto& [tick, kind] : c.markers)
            markers.push_back({p.tickTimes[size_t(tick - 1)], kind});
        EXPECT_EQ(std::vector<TrendMarker>(buffer.markers().begin(), buffer.markers().end()), markers);
        EXPECT_EQ(p.recorder().logStatus().state, c.log);
        EXPECT_EQ(p.recorder().logStatus().lines, c.lines.size());
        EXPECT_TRUE(p.dialogs.messages.isEmpty());

        if (c.log == State::StoppedWithOutput) {
            EXPECT_TRUE(
                window->findChild<QLabel*>("logStatus")->text().contains("because the output went off"));
        }

        // Switching off reads the state back and zeroes the displays: none of that is a point.
        const size_t points = buffer.points().size();
        p.c().output->select(0);
        QCoreApplication::processEvents();
        EXPECT_EQ(buffer.points().size(), points);

        // The chart shows every point, one line per run of the output.
        window->refresh();
        const std::vector<QList<QPointF>> drawn = window->chart().voltsLines();
        EXPECT_EQ(int(drawn.size()), c.runs);
        QList<QPointF> drawnPoints, expectedPoints;
        for (const QList<QPointF>& line : drawn)
            drawnPoints += line;
        for (const TrendPoint& point : buffer.points()) {
            if (point.volts)
                expectedPoints.append(QPointF(double(point.timeMs), *point.volts));
        }
        EXPECT_EQ(drawnPoints, expectedPoints);
        EXPECT_EQ(window->chart().markersShown(), markers);
    }
}

TEST(TrendWindow, LogHeaderAndReadingsOfAConnectedInstrument)
{
    PanelHarness h;
    sim::Instrument orx{0};
    h.gpib.setInterfaceAvailable(false);
    h.serial.addEmptyPort(1);
    h.serial.attachInstrument(2, &orx, 4800);
    h.clock.setWallStart(kWallStart);
    h.connected();
    h.form->timer1().setInterval(3'600'000);
    orx.setLoadOhms(10);
    h.c().setv->setValue(5);
    emit h.c().setv->keyReleased();
    h.c().output->select(1);

    h.c().mnuTrend->trigger();
    auto* window = h.form->findChild<TrendWindow*>();
    QTemporaryDir dir;
    const QString path = dir.filePath("trend.csv");
    h.dialogs.fileAnswers.enqueue(path);
    const qint64 start = h.clock.wallMilliseconds();
    window->findChild<QPushButton*>("logToFile")->click();
    QStringList expected;
    for (const double ohms : {10.0, 5.0, 20.0}) {
        orx.setLoadOhms(ohms);
        h.clock.advanceMilliseconds(1000);
        h.form->monitoring().Timer1_Timer();
        // The instrument answers in whole millivolts and milliamperes.
        expected.append(
            QStringLiteral("%1,%2,ON").arg(format3(orx.measuredVoltage()), format3(orx.measuredCurrent())));
    }
    const QStringList header = QString::fromUtf8(fileBytes(path)).split(u'\n').mid(0, 5);
    ASSERT_EQ(header.size(), 5);
    EXPECT_EQ(header.mid(0, 3),
              (QStringList{"# ORX Panel trend log", "# Instrument: " + orx.identity().trimmed(),
                           "# Interface: COM2 4800"}));
    ASSERT_TRUE(header[3].startsWith("# Started: "));
    EXPECT_EQ(QDateTime::fromString(header[3].mid(11), Qt::ISODateWithMs).toMSecsSinceEpoch(), start);
    EXPECT_EQ(header[4], "Time,Voltage (V),Current (A),Output");
    QStringList logged;
    for (const LogLine& line : tickLines(path))
        logged.append(line.rest);
    EXPECT_EQ(logged, expected);
    EXPECT_NE(expected[0], expected[1]) << "the load change shows";
    EXPECT_TRUE(window->findChild<QLabel*>("logStatus")->text().startsWith("Logging since 14:03:"));
}

TEST(TrendWindow, AnExistingFileIsEmptiedOnlyWhenTheDialogChoseIt)
{
    const struct
    {
        const char* name;
        bool logRunning;                            // a log to run.csv runs when Log to file... is chosen
        const char* answer;                         // the file chosen; empty: cancelled
        std::function<void(TrendPanel&)> meanwhile; // while the dialog is open
        bool keepUntouched;                         // keep.csv is byte-identical afterwards
        const char* loggingTo;                      // the file the ticks go to afterwards; empty: none
        QList<ScriptedDialogs::Message> messages;
    } cases[] = {
        {"cancelled", false, "", nullptr, true, "", {}},
        {"cancelled while a log runs: it goes on", true, "", nullptr, true, "run.csv", {}},
        {"chosen: the dialog asked, the file is replaced", false, "keep.csv", nullptr, false, "keep.csv", {}},
        {"no such folder: a warning, the running log goes on",
         true,
         "none/x.csv",
         nullptr,
         true,
         "run.csv",
         {{"Can not save this file. Please try the other file.", "Warning"}}},
        {"the running log's own file: it starts again", true, "run.csv", nullptr, true, "run.csv", {}},
        {"the output went off while the dialog was open: nothing starts",
         false,
         "keep.csv",
         [](TrendPanel& p) { p.c().output->select(0); },
         true,
         "",
         {{"The output is off. The log runs only while the output is on.", ""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrendPanel p;
        p.openTrend();
        const QByteArray old = "kept\n";
        QFile keep(p.dir.filePath("keep.csv"));
        ASSERT_TRUE(keep.open(QIODevice::WriteOnly) && keep.write(old) == old.size());
        keep.close();
        if (c.logRunning) {
            p.logTo(p.dir.filePath("run.csv"));
            p.tick();
        }
        if (c.meanwhile)
            p.dialogs.whileFileDialogOpen = [&] {
                c.meanwhile(p);
            };
        if (*c.answer)
            p.dialogs.fileAnswers.enqueue(p.dir.filePath(c.answer));
        p.button("logToFile")->click();
        p.dialogs.whileFileDialogOpen = nullptr;
        p.tick();

        EXPECT_EQ(fileBytes(keep.fileName()) == old, c.keepUntouched);
        EXPECT_EQ(p.dialogs.messages, c.messages);
        EXPECT_EQ(p.recorder().logging(), *c.loggingTo != 0);
        if (*c.loggingTo) {
            EXPECT_EQ(QFileInfo(p.recorder().logStatus().path).fileName(), c.loggingTo);
            EXPECT_EQ(tickLines(p.dir.filePath(c.loggingTo)).back().timeMs, p.tickTimes.back())
                << "the last tick went to it";
        }
        EXPECT_EQ(QDir(p.dir.path()).entryList(QDir::Files).size(), c.logRunning ? 2 : 1)
            << "no other file made";
    }
}

TEST(TrendWindow, AFullDiskStopsTheLogAndSaysSoInTheWindow)
{
    TrendPanel p;
    const QString path = p.dir.filePath("trend.csv");
    p.logTo(path);
    p.tick();
    const qint64 written = QFileInfo(path).size();
    {
        FileSizeLimit full(written + 10);
        p.tick();
        p.tick();
    }
    p.tick();
    EXPECT_EQ(p.recorder().logStatus().state, State::WriteFailed);
    EXPECT_EQ(p.recorder().logStatus().lines, 1);
    EXPECT_EQ(p.recorder().buffer().points().size(), 4u) << "the trend goes on";
    ASSERT_EQ(tickLines(path).size(), 2u) << "the first line whole, the second cut short";
    EXPECT_EQ(tickLines(path)[0].rest, "12.345,0.500,ON");
    EXPECT_EQ(QFileInfo(path).size(), written + 10);
    EXPECT_TRUE(p.dialogs.messages.isEmpty()) << "no box in the middle of a tick";
    p.openTrend()->refresh();
    EXPECT_TRUE(p.openTrend()->findChild<QLabel*>("logStatus")->text().contains("could not be written"));
    EXPECT_FALSE(p.button("stopLog")->isEnabled());
    EXPECT_TRUE(p.button("logToFile")->isEnabled());
}

// One window, modeless and owned by the main window; closed, it goes on recording, and its log only
// starts while the output is on.
TEST(TrendWindow, ViewMenuShowsOneWindowThatGoesOnWhenClosed)
{
    TrendPanel p;
    for (int i = 0; i < 2; ++i) {
        p.c().mnuTrend->trigger();
        const auto windows = p.form->findChildren<TrendWindow*>();
        ASSERT_EQ(windows.size(), 1);
        EXPECT_TRUE(windows[0]->isVisible() && windows[0]->isWindow() && !windows[0]->isModal());
        windows[0]->close();
    }
    p.tick();
    p.tick();
    TrendWindow* window = p.openTrend();
    EXPECT_EQ(window->recorder().buffer().points().size(), 2u);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->chart().voltsLines().front().size(), 2) << "shown again, it shows what came meanwhile";
    p.clock.advanceMilliseconds(65'000);
    p.tick();
    window->refresh();
    EXPECT_EQ(window->chart().voltsLines().front().size(), 3) << "the last ten minutes";
    window->findChild<QComboBox*>("span")->setCurrentIndex(0);
    EXPECT_EQ(window->chart().voltsLines().front().size(), 1) << "the last minute";
    EXPECT_EQ(window->chart().timeAxis(), (TimeSpan{p.tickTimes.back() - 60'000, p.tickTimes.back()}));
    EXPECT_TRUE(p.button("logToFile")->isEnabled());
    p.c().output->select(0);
    EXPECT_FALSE(p.button("logToFile")->isEnabled());
    p.c().output->select(1);
    EXPECT_TRUE(p.button("logToFile")->isEnabled());
}
