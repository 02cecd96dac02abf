// The log survives the program being killed: a child process monitors a virtual instrument and logs
// as fast as it can and is killed with SIGKILL mid-log; the header names the instrument, and every
// line it had reported as written is in the file, whole, and matches the tick it reported.

#include "sim/instrument.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TrendLogKill, EveryCompleteLineSurvivesSigkill)
{
    for (const int reportsBeforeKill : {1, 40, 700}) {
        SCOPED_TRACE(reportsBeforeKill);
        QTemporaryDir dir;
        const QString path = dir.filePath("trend.csv");
        QProcess child;
        child.start(QStringLiteral(TREND_LOG_CHILD), {path});
        ASSERT_TRUE(child.waitForStarted(10'000));
        QByteArray out;
        while (out.count('\n') < reportsBeforeKill && child.waitForReadyRead(30'000))
            out += child.readAllStandardOutput();
        child.kill(); // SIGKILL
        ASSERT_TRUE(child.waitForFinished(30'000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();
        out += child.readAllStandardOutput();
        QList<QByteArray> reports = out.split('\n'); // "<wall-clock ms> <volts>,<amperes>"
        reports.removeLast();                        // what follows the last line feed is no whole report
        ASSERT_GE(reports.size(), reportsBeforeKill);

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        lines.removeLast(); // cut short by the kill, or empty
        ASSERT_GE(lines.size(), 5);
        const QByteArray identity = orx::sim::Instrument{0}.identity().trimmed().toUtf8();
        EXPECT_EQ(lines.mid(0, 3), (QList<QByteArray>{"# ORX Panel trend log", "# Instrument: " + identity,
                                                      "# Interface: COM1 9600"}));
        const auto msOf = [](const QByteArray& time) {
            const QDateTime parsed = QDateTime::fromString(QString::fromLatin1(time), Qt::ISODateWithMs);
            return parsed.isValid() ? parsed.toMSecsSinceEpoch() : -1;
        };
        EXPECT_EQ(lines[3].startsWith("# Started: ") ? msOf(lines[3].mid(11)) + 1000 : -1,
                  reports[0].split(' ')[0].toLongLong())
            << "a second before the first tick";
        EXPECT_EQ(lines[4], "Time,Voltage (V),Current (A),Output,Charge (Ah),Energy (Wh)");
        lines = lines.mid(5);
        // Every reported tick has its line; a tick killed between its line and its report may have one more.
        ASSERT_GE(lines.size(), reports.size());
        ASSERT_LE(lines.size(), reports.size() + 1);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(i);
            const QList<QByteArray> f = lines[i].split(',');
            ASSERT_EQ(f.size(), 6) << lines[i].toStdString();
            ASSERT_NE(msOf(f[0]), -1) << f[0].toStdString();
            EXPECT_EQ(f[3], "ON");
            if (i < reports.size()) { // the unreported last line: whole is all that can be asked
                EXPECT_EQ(QByteArray::number(msOf(f[0])) + ' ' + f[1] + ',' + f[2], reports[i]);
            }
        }
    }
}
