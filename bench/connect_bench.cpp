// From starting the panel program to a connected panel, against orx-sim at 9600 baud with real wire
// pacing, beside the wire time of every command and answer the connect exchanged.
//
// The instrument is behind COM1, so the first attempt of the search finds it. The panel counts as
// connected when the answer to the last query of the connect has crossed the wire.

#include "sim/instrument.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

constexpr int kBaud = 9600;
constexpr int kRuns = 5;
const QString kLastCommand = QStringLiteral(":OUTP:STAT?");

struct LogLine
{
    QDateTime time;
    QString command;
};

QList<LogLine> readLog(const QString& path)
{
    QList<LogLine> lines;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        lines.append(
            {QDateTime::fromString(line.section(u' ', 0, 0), Qt::ISODateWithMs), line.section(u' ', 2)});
    }
    return lines;
}

// Characters on the wire for every command and its answer, replaying the commands on a model of
// the same instrument to learn the answers.
qint64 wireCharacters(const QList<LogLine>& lines)
{
    orx::sim::Instrument instrument(0);
    qint64 chars = 0;
    for (const LogLine& line : lines) {
        chars += line.command.size() + 1;
        if (const auto answer = instrument.handleLine(line.command, 0))
            chars += answer->size() + 1;
    }
    return chars;
}

double runOnce(double& wireSeconds)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("orx"));
    const QString log = dir.filePath(QStringLiteral("received.log"));
    QDir(dir.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcess sim;
    sim.start(QStringLiteral(ORX_SIM_PATH),
              {"--paced", "--baud", QString::number(kBaud), "--link", link, "--log", log});
    sim.waitForReadyRead(5000);

    QProcess panel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
    environment.insert(QStringLiteral("ORX_COM1"), link);
    for (const char* other : {"ORX_COM2", "ORX_COM3", "ORX_COM4", "ORX_GPIB_LIBRARY"})
        environment.insert(QString::fromLatin1(other), QString());
    panel.setProcessEnvironment(environment);
    const QDateTime started = QDateTime::currentDateTime();
    panel.start(QStringLiteral(ORX_PANEL_PATH), {});

    QList<LogLine> lines;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        lines = readLog(log);
        if (!lines.isEmpty() && lines.last().command == kLastCommand)
            break;
        QThread::msleep(5);
    }
    panel.kill();
    panel.waitForFinished();
    sim.terminate();
    sim.waitForFinished();
    if (lines.isEmpty() || lines.last().command != kLastCommand)
        return -1;
    const qint64 chars = wireCharacters(lines);
    wireSeconds = double(chars) * 10.0 / kBaud;
    // The last answer ("0" and a line feed) still crosses the wire after the command arrived.
    const double lastAnswer = 2 * 10.0 / kBaud;
    return double(started.msecsTo(lines.last().time)) / 1000.0 + lastAnswer;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::printf("Start to connected panel, orx-sim on COM1 at %d baud, paced (%d runs)\n", kBaud, kRuns);
    for (int run = 1; run <= kRuns; ++run) {
        double wire = 0;
        const double total = runOnce(wire);
        if (total < 0) {
            std::printf("  run %d: the panel did not connect\n", run);
            return 1;
        }
        std::printf("  run %d: %.3f s to connected; wire time of the exchange %.3f s; the rest %.3f s\n", run,
                    total, wire, total - wire);
    }
    return 0;
}
