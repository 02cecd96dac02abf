#include "trend/trend_log_file.h"

#include "trend/disk_sync.h"

#include <QFileInfo>

namespace orx {

TrendLogFile::TrendLogFile() = default;

TrendLogFile::~TrendLogFile()
{
    close();
}

bool TrendLogFile::open(const QString& path, const QString& header, QString* why)
{
    close();
    m_lines = 0;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (why)
            *why = m_file.errorString();
        return false;
    }
    m_sync = std::make_unique<DiskSync>(m_file.handle(), QFileInfo(path).absolutePath());
    return write(header.toUtf8(), why);
}

bool TrendLogFile::appendLine(const QString& line, QString* why)
{
    if (!m_file.isOpen()) {
        if (why)
            *why = QStringLiteral("the log is not open");
        return false;
    }
    if (!write(line.toUtf8() + '\n', why))
        return false;
    ++m_lines;
    return true;
}

bool TrendLogFile::write(const QByteArray& bytes, QString* why)
{
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        if (why)
            *why = m_file.errorString();
        close();
        return false;
    }
    m_sync->request();
    return true;
}

void TrendLogFile::close()
{
    m_sync.reset(); // the last line reaches the disk before the file closes
    m_file.close();
}

} // namespace orx
