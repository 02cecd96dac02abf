#include "memory/memory_file.h"

#include "base/numbers.h"

#include <QFile>
#include <QIODevice>

namespace orx {
namespace {

constexpr qint64 kChunkSize = 4096;

void setWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
}

// Splits bytes into lines as they arrive, keeping at most kMaxMemoryFileLineLength characters of each.
class LineSplitter
{
public:
    explicit LineSplitter(int maxLines) : m_maxLines(maxLines) {}

    bool full() const { return m_lines.size() >= m_maxLines; }

    // Takes bytes until the last wanted line has ended; returns how many bytes it took.
    qint64 take(const char* bytes, qint64 count)
    {
        qint64 used = 0;
        while (used < count && !full()) {
            const char c = bytes[used++];
            const bool lfOfCrLf = m_afterCr && c == '\n';
            m_afterCr = false;
            if (lfOfCrLf)
                continue;
            if (c == '\r' || c == '\n') {
                endLine();
                m_afterCr = c == '\r';
            } else {
                m_inLine = true;
                if (m_line.size() < kMaxMemoryFileLineLength)
                    m_line.append(c);
            }
        }
        return used;
    }

    // The lines; a last line that had no line end is one of them only when the input is complete.
    QStringList finish(bool complete)
    {
        if (complete && m_inLine && !full())
            endLine();
        return m_lines;
    }

private:
    void endLine()
    {
        m_lines.append(QString::fromLatin1(m_line));
        m_line.clear();
        m_inLine = false;
    }

    int m_maxLines;
    QStringList m_lines;
    QByteArray m_line;
    bool m_inLine = false;
    bool m_afterCr = false;
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedOfSpaces(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.mid(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

} // namespace

QStringList readMemoryFileLines(QIODevice& device, int maxLines, bool* readFailed)
{
    LineSplitter splitter(maxLines);
    QByteArray chunk(kChunkSize, Qt::Uninitialized);
    bool failed = false;
    // Peek first and skip only what the wanted lines used, so nothing past them is consumed.
    while (!splitter.full()) {
        const qint64 count = device.peek(chunk.data(), chunk.size());
        if (count <= 0) {
            failed = count < 0;
            break;
        }
        const qint64 used = splitter.take(chunk.constData(), count);
        if (device.skip(used) != used) {
            failed = true;
            break;
        }
    }
    if (readFailed)
        *readFailed = failed;
    return splitter.finish(!failed);
}

std::optional<QStringList> readMemoryFile(const QString& path, QString* why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setWhy(why, file.errorString());
        return std::nullopt;
    }
    bool failed = false;
    QStringList lines = readMemoryFileLines(file, kMaxMemoryFileLines, &failed);
    if (failed) {
        setWhy(why, file.errorString());
        return std::nullopt;
    }
    return lines;
}

QStringList splitRecordFields(QStringView line)
{
    QStringList fields;
    for (QStringView field : line.split(u','))
        fields.append(trimmedOfSpaces(field).toString());
    return fields;
}

bool isEmptyRecordLine(QStringView line)
{
    for (QChar c : line) {
        if (c != u',' && !isBlank(c))
            return false;
    }
    return true;
}

std::optional<qint16> editorRecordNumber(const QString& text)
{
    const std::optional<double> value = parseNumber(text);
    return value ? wholeNumber16(*value) : std::nullopt;
}

bool statusIsOn(QStringView text)
{
    return text.compare(u"FALSE", Qt::CaseInsensitive) != 0;
}

QString statusText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

QString recordLine(int number, const MemoryRecordTexts& t)
{
    return QStringList{formatTwoDigit(number),
                       t.voltage,
                       t.current,
                       t.delay,
                       t.ovpLevel,
                       t.ocpLevel,
                       t.ovpStatus,
                       t.ocpStatus}
        .join(QStringLiteral(", "));
}

QByteArray memoryFileBytes(const QString& header, const std::array<MemoryRecordTexts, kMemoryCount>& records)
{
    QByteArray bytes = header.toLatin1() + "\r\n";
    for (int i = 0; i < kMemoryCount; ++i)
        bytes += recordLine(i, records[static_cast<size_t>(i)]).toLatin1() + "\r\n";
    return bytes;
}

} // namespace orx
