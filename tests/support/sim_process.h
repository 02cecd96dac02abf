#pragma once
// orx-sim started as a separate process for a test, with a symbolic link to its pty in a temporary
// folder, a log of the lines it received, and its fault commands on standard input.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace orx::test {

class SimProcess
{
public:
    // Starts orx-sim with the given extra options; check started() before use.
    explicit SimProcess(const QStringList& options = {});
    ~SimProcess();

    bool started() const { return !m_device.isEmpty(); }
    QString devicePath() const { return m_device; }
    QString linkPath() const { return m_dir.filePath(QStringLiteral("orx")); }
    QString logPath() const { return m_dir.filePath(QStringLiteral("received.log")); }
    QString folder() const { return m_dir.path(); }

    // Sends one command on standard input and waits for its "ok" line; false on "error" or silence.
    bool command(const QString& line);

    // The received lines as "<baud> <command>", in order.
    QStringList received() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_device;
};

} // namespace orx::test
