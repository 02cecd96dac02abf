#pragma once
// The trend's log file, written as it grows: the header when it opens, then one line per tick, each
// written and flushed to the operating system at once, so that a program that is killed leaves every
// complete line behind. A thread of its own then syncs each line to the disk (disk_sync.h), so that a
// power cut costs at most the line being written. Unlike every other file the program writes, the log
// is not written whole: it must be readable while it grows.

#include <QFile>
#include <QString>
#include <memory>

namespace orx {

class DiskSync;

class TrendLogFile
{
public:
    TrendLogFile();
    ~TrendLogFile();
    TrendLogFile(const TrendLogFile&) = delete;
    TrendLogFile& operator=(const TrendLogFile&) = delete;

    // Creates the file, or empties one that exists (the save dialog asked before), and writes the
    // header. False, with the reason in `why`, when that failed; nothing stays open then.
    bool open(const QString& path, const QString& header, QString* why);
    // Writes one line and its line feed. False, with the reason, when it could not be written whole;
    // the file is closed then and what was written before stays.
    bool appendLine(const QString& line, QString* why);
    void close();

    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    qint64 lines() const { return m_lines; }

private:
    bool write(const QByteArray& bytes, QString* why);

    QFile m_file;
    std::unique_ptr<DiskSync> m_sync;
    qint64 m_lines = 0;
};

} // namespace orx
