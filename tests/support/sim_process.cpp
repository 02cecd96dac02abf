#include "support/sim_process.h"

#include <QFile>

namespace orx::test {

SimProcess::SimProcess(const QStringList& options)
{
    QStringList arguments = {QStringLiteral("--link"), linkPath(), QStringLiteral("--log"), logPath()};
    arguments += options;
    m_process.start(QStringLiteral(ORX_SIM_PATH), arguments);
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
}

SimProcess::~SimProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(3000);
}

bool SimProcess::command(const QString& line)
{
    m_process.write((line + u'\n').toLocal8Bit());
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000))
            return false;
    }
    return m_process.readLine().startsWith("ok");
}

QStringList SimProcess::received() const
{
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    while (!file.atEnd()) {
        // "<date>T<time> <baud> <command>": drop the time stamp.
        const QString line = QString::fromLatin1(file.readLine()).trimmed();
        lines.append(line.section(u' ', 1));
    }
    return lines;
}

} // namespace orx::test
