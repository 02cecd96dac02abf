// The trend window in the main window: one point per monitoring tick and none while the output is off,
// the log's lines matching the ticks, the log stopping with the output, and files never emptied
// without the save dialog's say.

#include "support/file_size_limit.h"
#include "support/panel_harness.h"
#include "support/test_files.h"
#include "trend/trend_chart.h"
#include "trend/trend_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;
using namespace orx::test;

namespace {

using Kind = TrendMarkerKind;

// The tick lines of a log, each split into its time (milliseconds since the epoch, -1 when the text
// is no ISO 8601 time with milliseconds) and its readings and output (the totals left out).
std::vector<std::pair<qint64, QString>> tickLines(const QString& path)
{
    std::vector<std::pair<qint64, QString>> out;
    for (const QByteArray& line : fileBytes(path).split('\n')) {
        if (line.isEmpty() || line.startsWith('#') || line.startsWith("Time,"))
            continue;
        const QString text = QString::fromUtf8(line);
        const QDateTime time = QDateTime::fromString(text.section(u',', 0, 0), Qt::ISODateWithMs);
        out.emplace_back(time.isValid() ? time.toMSecsSinceEpoch() : -1, text.section(u',', 1, 3));
    }
    return out;
}

// A connected-looking panel with the output switched on by the operator; the tests run the ticks.
struct TrendPanel : PanelHarness
{
    QTemporaryDir dir;
    std::vector<qint64> tickTimes; // wall-clock time of every tick that ran

    TrendPanel() : PanelHarness(scriptedAnswers)
    {
        clock.setWallStart(QDateTime(QDate(2024, 5, 1), QTime(14, 3, 7)).toMSecsSinceEpoch());
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
    QString status() { return openTrend()->findChild<QLabel*>("logStatus")->text(); }
    void logTo(const QString& path)
    {
        dialogs.fileAnswers.enqueue(path);
        button("logToFile")->click();
    }
    // "tick": one second later, one tick if the loop runs; "off", "on": the operator switches the
    // output; "off+on": both, and no event runs before the next step; "stop": Stop log;
    // "mute <query>": no answer to it; "<query>=<answer>": a new answer.
    void run(const QStringList& steps)
    {
        for (const QString& step : steps) {
            if (step == "tick") {
                clock.advanceMilliseconds(1000);
                if (form->timer1().isActive())
                    form->monitoring().Timer1_Timer();
            } else if (step == "off" || step == "on") {
                c().output->select(step == "on");
            } else if (step == "off+on") {
                c().output->select(0);
                c().output->select(1);
                continue;
            } else if (step == "stop") {
                button("stopLog")->click();
            } else if (step.startsWith("mute ")) {
                answers.remove(step.mid(5).toLatin1());
            } else {
                answers[step.section(u'=', 0, 0).toLatin1()] = step.section(u'=', 1).toLatin1() + '\n';
            }
            QCoreApplication::processEvents();
        }
    }
    const TrendRecorder& recorder() { return openTrend()->recorder(); }
};

} // namespace

TEST(TrendWindow, OnePointAndOneLogLinePerTickNoneWhileTheOutputIsOff)
{
    const QString on = "12.345,0.500,ON", off = "12.345,0.500,OFF", t = "tick";
    constexpr Kind timeOut = Kind::TimeOut, trip = Kind::Trip;
    const struct
    {
        const char* name;
        QStringList steps;
        QStringList lines; // the log's tick lines after their time
        std::vector<std::pair<int, Kind>> markers;
        int runs;
        const char* status; // part of the window's log status
    } cases[] = {
        {"clean ticks", {t, t, t}, {on, on, on}, {}, 1, "Logging since 14:03:07: 3 lines in"},
        {"the loop stopped", {t, "mute :OUTP:STAT?", t, t}, {on, on}, {{2, timeOut}}, 1, "since 14:03:07: 2"},
        {"a trip", {t, ":CURR:PROT:TRIP?=1", t, t}, {on, off}, {{2, trip}}, 1, "went off: 2 lines"},
        {"off at the instrument", {t, ":OUTP:STAT?=0", t, t}, {on, off}, {}, 1, "09 because the output"},
        {"off by the operator", {t, t, "off", t, t}, {on, on}, {}, 1, "went off: 2 lines"},
        {"off and on: a new line on the chart, no new log", {t, "off", "on", t}, {on}, {}, 2, "off: 1 line"},
        {"off and on at once: the log stops all the same", {t, "off+on", t}, {on}, {}, 2, "off: 1 line"},
        {"Stop log: the points go on", {t, t, "stop", t}, {on, on}, {}, 1, "stopped at 14:03:09: 2 lines"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrendPanel p;
        const QString path = p.dir.filePath("trend.csv");
        p.logTo(path);
        p.run(c.steps);
        std::vector<std::pair<qint64, QString>> lines;
        for (qsizetype i = 0; i < c.lines.size() && size_t(i) < p.tickTimes.size(); ++i)
            lines.emplace_back(p.tickTimes[size_t(i)], c.lines[i]);
        EXPECT_EQ(tickLines(path), lines);
        EXPECT_EQ(lines.size(), size_t(c.lines.size()));
        EXPECT_TRUE(p.status().contains(c.status)) << p.status().toStdString();
        EXPECT_TRUE(p.dialogs.messages.isEmpty());

        // Switching off reads the state back and zeroes the displays: none of that is a point. The chart
        // shows one point per tick, one line per run of the output, and the trips and time-outs.
        p.run({"off"});
        TrendWindow* window = p.openTrend();
        window->refresh();
        const std::vector<QList<QPointF>> drawn = window->chart().voltsLines();
        EXPECT_EQ(int(drawn.size()), c.runs);
        QList<QPointF> drawnPoints, tickPoints;
        for (const QList<QPointF>& line : drawn)
            drawnPoints += line;
        for (const qint64 time : p.tickTimes)
            tickPoints.append(QPointF(double(time), 12.3456));
        EXPECT_EQ(drawnPoints, tickPoints);
        std::vector<TrendMarker> markers;
        for (const auto& [tick, kind] : c.markers)
            markers.push_back({p.tickTimes.at(size_t(tick - 1)), kind});
        EXPECT_EQ(window->chart().markersShown(), markers);
    }
}

TEST(TrendWindow, AnExistingFileIsEmptiedOnlyWhenTheDialogChoseIt)
{
    const ScriptedDialogs::Message cannotSave{"Can not save this file. Please try the other file.",
                                              "Warning"},
        outputOff{"The output is off. The log runs only while the output is on.", ""};
    const struct
    {
        const char* name;
        bool logRunning;       // a log to run.csv runs when Log to file... is chosen
        const char* answer;    // the file chosen; empty: cancelled
        QStringList meanwhile; // steps while the dialog is open
        bool keepUntouched;    // keep.csv is byte-identical afterwards
        const char* loggingTo; // the file the ticks go to afterwards; empty: none
        QList<ScriptedDialogs::Message> messages;
    } cases[] = {
        {"cancelled", false, "", {}, true, "", {}},
        {"cancelled while a log runs: it goes on", true, "", {}, true, "run.csv", {}},
        {"chosen: the dialog asked, the file is replaced", false, "keep.csv", {}, false, "keep.csv", {}},
        {"no such folder: a warning, the log goes on", true, "none/x.csv", {}, true, "run.csv", {cannotSave}},
        {"the running log's own file: it starts again", true, "run.csv", {}, true, "run.csv", {}},
        {"the output went off while the dialog was open", false, "keep.csv", {"off"}, true, "", {outputOff}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrendPanel p;
        ASSERT_TRUE(writeFileBytes(p.dir.filePath("keep.csv"), "kept\n"));
        if (c.logRunning) {
            p.logTo(p.dir.filePath("run.csv"));
            p.run({"tick"});
        }
        p.dialogs.whileFileDialogOpen = [&] {
            p.run(c.meanwhile);
        };
        p.logTo(*c.answer ? p.dir.filePath(c.answer) : QString());
        p.dialogs.whileFileDialogOpen = nullptr;
        p.run({"tick"});

        EXPECT_EQ(fileBytes(p.dir.filePath("keep.csv")) == "kept\n", c.keepUntouched);
        EXPECT_EQ(p.dialogs.messages, c.messages);
        EXPECT_EQ(p.recorder().logging(), *c.loggingTo != 0);
        if (*c.loggingTo) {
            EXPECT_EQ(QFileInfo(p.recorder().logStatus().path).fileName(), c.loggingTo);
            EXPECT_EQ(tickLines(p.dir.filePath(c.loggingTo)).back().first, p.tickTimes.back())
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
    p.run({"tick"});
    const qint64 written = QFileInfo(path).size();
    {
        FileSizeLimit full(written + 10);
        p.run({"tick", "tick"});
    }
    p.run({"tick"});
    EXPECT_EQ(p.recorder().buffer().points().size(), 4u) << "the trend goes on";
    ASSERT_EQ(tickLines(path).size(), 2u) << "the first line whole, the second cut short";
    EXPECT_EQ(QFileInfo(path).size(), written + 10);
    EXPECT_TRUE(p.dialogs.messages.isEmpty()) << "no box in the middle of a tick";
    EXPECT_TRUE(p.status().contains("could not be written")) << p.status().toStdString();
    EXPECT_TRUE(p.status().endsWith(": 1 line in " + path + "."));
    EXPECT_FALSE(p.button("stopLog")->isEnabled());
    EXPECT_TRUE(p.button("logToFile")->isEnabled());
}

// One window, modeless and owned by the main window; closed, it goes on recording, and its log only
// starts while the output is on.
TEST(TrendWindow, ViewMenuShowsOneWindowThatGoesOnWhenClosed)
{
    TrendPanel p;
    TrendWindow* window = p.openTrend();
    EXPECT_TRUE(window->isVisible() && window->isWindow() && !window->isModal());
    window->close();
    p.run({"tick", "tick"});
    p.c().mnuTrend->trigger();
    ASSERT_EQ(p.form->findChildren<TrendWindow*>(), QList<TrendWindow*>{window})
        << "shown again, the same one";
    QCoreApplication::processEvents();
    EXPECT_EQ(window->chart().voltsLines().front().size(), 2) << "shown again, it shows what came meanwhile";
    p.clock.advanceMilliseconds(65'000);
    p.run({"tick"});
    EXPECT_EQ(window->chart().voltsLines().front().size(), 3) << "the last ten minutes";
    window->findChild<QComboBox*>("span")->setCurrentIndex(0);
    EXPECT_EQ(window->chart().voltsLines().front().size(), 1) << "the last minute";
    EXPECT_EQ(window->chart().timeAxis(), (TimeSpan{p.tickTimes.back() - 60'000, p.tickTimes.back()}));
    for (const char* step : {"on", "off", "on"}) {
        p.run({step});
        EXPECT_EQ(p.button("logToFile")->isEnabled(), QString(step) == "on") << step;
    }
}

// Each export written whole and read back, the readings only those in view; a failing disk leaves the
// earlier export byte-identical and says so.
TEST(TrendWindow, ExportsReadBackAndAFailingDiskKeepsTheOldFile)
{
    TrendPanel p;
    TrendWindow* window = p.openTrend();
    p.run({"tick", "tick", ":MEAS:CURR?=0.7", "tick"});
    p.clock.advanceMilliseconds(65'000);
    p.run({"tick", "tick"});
    window->findChild<QComboBox*>("span")->setCurrentIndex(0); // the last minute: the last two ticks
    const TrendChart& chart = window->chart();
    const struct
    {
        const char* action;
        std::function<void(const QString& path)> check;
    } cases[] = {
        {"exportCsv",
         [&](const QString& path) {
             EXPECT_TRUE(fileBytes(path).startsWith("# ORX Panel trend readings\n"));
             EXPECT_EQ(tickLines(path),
                       (std::vector<std::pair<qint64, QString>>{{p.tickTimes[3], "12.345,0.700,ON"},
                                                                {p.tickTimes[4], "12.345,0.700,ON"}}));
         }},
        {"exportPng",
         [&](const QString& path) {
             EXPECT_EQ(QImage(path, "PNG").size(), chart.size());
         }},
        {"exportSvg",
         [&](const QString& path) {
             EXPECT_TRUE(QSvgRenderer(path).isValid());
             for (const char* trace : {"#1f5fbf", "#c05000"}) // a line stroked in each trace's colour
                 EXPECT_TRUE(QString::fromUtf8(fileBytes(path))
                                 .contains(QRegularExpression(
                                     QStringLiteral("stroke=\"%1\"[^>]*>\\s*<(polyline|path)").arg(trace))))
                     << trace;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        const QString path = p.dir.filePath(c.action);
        p.dialogs.fileAnswers.enqueue(path);
        window->findChild<QAction*>(c.action)->trigger();
        c.check(path);
        const QByteArray before = fileBytes(path);
        p.run({":MEAS?=3.5", "tick"});
        {
            FileSizeLimit full(64);
            p.dialogs.fileAnswers.enqueue(path);
            window->findChild<QAction*>(c.action)->trigger();
        }
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(p.dialogs.messages,
                  (QList<ScriptedDialogs::Message>{
                      {"Can not save this file. Please try the other file.", "Warning"}}));
        p.dialogs.messages.clear();
    }
    EXPECT_EQ(folderEntries(p.dir.path()), (QStringList{"exportCsv", "exportPng", "exportSvg"}));
}

// The totals count the ticks while the output is on and go into the log; a gap counts nothing and
// Reset empties them. The statistics are those of the span in view, scrolled back or not. The cursor
// names the tick under the pointer.
TEST(TrendWindow, EnergyStatisticsAndCursorFollowTheTicksAndTheView)
{
    TrendPanel p;
    const QString path = p.dir.filePath("trend.csv");
    p.logTo(path);
    p.run({"tick", "tick", "tick", ":MEAS:CURR?=1.5", "tick", "tick"});
    TrendWindow* window = p.openTrend();
    const auto text = [&](const char* name) {
        return window->findChild<QLabel*>(name)->text();
    };
    // 0.5 A for two seconds, the step to 1.5 A, 1.5 A for one: 3.5 As, at 12.3456 V 43.2096 Ws.
    EXPECT_EQ(text("charge") + u',' + text("energy"), "0.000972,0.012003");
    EXPECT_EQ(fileBytes(path).trimmed().split('\n').back().split(',').mid(4),
              (QList<QByteArray>{"0.000972", "0.012003"}));
    const auto amperes = [&] {
        return QStringList{text("amperesMin"), text("amperesMax"), text("amperesMean")};
    };
    EXPECT_EQ(amperes(), (QStringList{"0.500", "1.500", "0.900"}));
    EXPECT_EQ(text("wattsMax") + u' ' + text("voltsMean"), "18.518 12.346");

    p.clock.advanceMilliseconds(65'000);
    p.run({"tick"});
    EXPECT_EQ(text("charge"), "0.000972") << "a gap counts nothing";
    window->findChild<QComboBox*>("span")->setCurrentIndex(0);
    EXPECT_EQ(amperes(), (QStringList{"1.500", "1.500", "1.500"})) << "the last minute";
    auto* scroll = window->findChild<QScrollBar*>("scroll");
    scroll->setValue(0);
    EXPECT_EQ(amperes(), (QStringList{"0.500", "1.500", "0.900"})) << "scrolled back to the first minute";
    p.run({"tick"});
    EXPECT_EQ(window->chart().timeAxis().fromMs, p.tickTimes[0]) << "a scrolled view stays where it is";
    scroll->setValue(scroll->maximum());
    EXPECT_EQ(window->chart().timeAxis().toMs, p.tickTimes.back()) << "at the end it follows again";

    window->findChild<QPushButton*>("resetEnergy")->click();
    EXPECT_EQ(text("charge"), "0.000000");

    window->findChild<QCheckBox*>("power")->setChecked(true);
    EXPECT_DOUBLE_EQ(window->chart().wattsLines().front().back().y(), 12.3456 * 1.5);
    const TrendChart& chart = window->chart();
    const QRectF plot = chart.chart()->plotArea();
    const qint64 time = p.tickTimes[p.tickTimes.size() - 2];
    const QPointF near(plot.left() + *markerOffset(time, chart.timeAxis(), plot.width()) + 3,
                       plot.center().y());
    const QPoint at = chart.mapFromScene(chart.chart()->mapToScene(near));
    QMouseEvent move(QEvent::MouseMove, at, chart.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     {});
    QCoreApplication::sendEvent(chart.viewport(), &move);
    ASSERT_TRUE(chart.cursorPoint().has_value());
    EXPECT_EQ(chart.cursorPoint()->timeMs, time);
}
