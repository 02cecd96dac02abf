// The log survives the program being killed: a child process monitors and logs as fast as it can and
// is killed with SIGKILL mid-log; every line it had reported as written is in the file, whole, and
// matches the tick it reported.

#include "app/numbers.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Report
{
    qint64 timeMs;
    QString volts, amperes; // as the displays show them; empty when the reading went missing
};

QString shown(const QByteArray& field)
{
    return field == "-" ? QString() : orx::formatTruncated3(field.toDouble());
}

} // namespace

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

        std::vector<Report> reports;
        QList<QByteArray> reportLines = out.split('\n');
        reportLines.removeLast(); // what follows the last line feed is no whole report
        for (const QByteArray& line : reportLines) {
            const QList<QByteArray> f = line.split(' ');
            ASSERT_EQ(f.size(), 3) << line.toStdString();
            reports.push_back({f[0].toLongLong(), shown(f[1]), shown(f[2])});
        }
        ASSERT_GE(int(reports.size()), reportsBeforeKill);

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        lines.removeLast(); // cut short by the kill, or empty
        ASSERT_GE(lines.size(), 5);
        EXPECT_EQ(lines[2], "# Interface: COM1 9600");
        EXPECT_EQ(lines[4], "Time,Voltage (V),Current (A),Output");
        lines = lines.mid(5);
        // Every reported tick has its line; a tick killed between its line and its report may have one more.
        ASSERT_GE(lines.size(), qsizetype(reports.size()));
        ASSERT_LE(lines.size(), qsizetype(reports.size()) + 1);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE(i);
            const QList<QByteArray> f = lines[i].split(',');
            ASSERT_EQ(f.size(), 4) << lines[i].toStdString();
            const QDateTime time = QDateTime::fromString(QString::fromLatin1(f[0]), Qt::ISODateWithMs);
            ASSERT_TRUE(time.isValid()) << f[0].toStdString();
            EXPECT_EQ(f[3], "ON");
            if (size_t(i) == reports.size())
                break; // the unreported last line: whole is all that can be asked
            EXPECT_EQ(time.toMSecsSinceEpoch(), reports[size_t(i)].timeMs);
            EXPECT_EQ(QString::fromLatin1(f[1]), reports[size_t(i)].volts);
            EXPECT_EQ(QString::fromLatin1(f[2]), reports[size_t(i)].amperes);
        }
    }
}
