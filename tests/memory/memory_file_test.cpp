// The memory data file: bounded line reading with every kind of line end, the field and status rules,
// and the check that finds a target that cannot be written. The bytes written are checked whole by
// the download and the editor tests.

#include "memory/memory_file.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orx;

namespace {

QByteArray repeated(char c, int count)
{
    return QByteArray(count, c);
}

TEST(ReadMemoryFileLines, LineEndsBoundsAndWhatIsLeftUnread)
{
    const QString longLine(kMaxMemoryFileLineLength, u'x');
    const struct
    {
        const char* name;
        QByteArray bytes;
        int maxLines;
        QStringList lines;
        QByteArray unread; // what the device still holds afterwards
    } cases[] = {
        {"empty", "", 10, {}, ""},
        {"no line end at all", "abc", 10, {"abc"}, ""},
        {"CR LF", "a\r\nb\r\n", 10, {"a", "b"}, ""},
        {"CR, LF and CR LF mixed", "a\rb\nc\r\nd", 10, {"a", "b", "c", "d"}, ""},
        {"empty lines", "\r\n\r\n", 10, {"", ""}, ""},
        {"LF CR is two line ends", "a\n\rb", 10, {"a", "", "b"}, ""},
        {"CR CR LF is two line ends", "a\r\r\nb", 10, {"a", "", "b"}, ""},
        {"Latin-1", "\xb5\r\n", 10, {QStringLiteral("\u00b5")}, ""},
        {"stops after the last wanted line", "a\nb\nc\nd\n", 2, {"a", "b"}, "c\nd\n"},
        {"stops right after a CR", "a\r\nb\r\nc", 2, {"a", "b"}, "\nc"},
        {"a last line without end counts", "a\nb", 2, {"a", "b"}, ""},
        {"over-long line is cut", repeated('x', 100000) + "\ny", 10, {longLine, "y"}, ""},
        {"CR LF across the read chunks", repeated('x', 64 * 1024 - 1) + "\r\ny", 10, {longLine, "y"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = c.bytes;
        QBuffer device(&bytes);
        ASSERT_TRUE(device.open(QIODevice::ReadOnly));
        bool failed = true;
        EXPECT_EQ(readMemoryFileLines(device, c.maxLines, &failed), c.lines);
        EXPECT_FALSE(failed);
        EXPECT_EQ(device.readAll(), c.unread);
    }
}

// A device that hands out some bytes and then fails.
class FailingDevice : public QIODevice
{
public:
    FailingDevice() { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_given)
            return -1;
        m_given = true;
        const QByteArray first = "header\r\n05, 1";
        const qint64 count = qMin<qint64>(maxSize, first.size());
        memcpy(data, first.constData(), static_cast<size_t>(count));
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool m_given = false;
};

TEST(ReadMemoryFileLines, AReadErrorIsReported)
{
    FailingDevice device;
    bool failed = false;
    EXPECT_EQ(readMemoryFileLines(device, kMaxMemoryFileLines, &failed), QStringList{"header"});
    EXPECT_TRUE(failed);
}

TEST(RecordFields, SplitTrimEmptyAndStatus)
{
    const struct
    {
        const char* line;
        QStringList fields;
        bool empty;
    } cases[] = {
        {"05, 12.500,1.000 ,  10", {"05", "12.500", "1.000", "10"}, false},
        {"", {""}, true},
        {",,", {"", "", ""}, true},
        {" , ,\t,", {"", "", "\t", ""}, true},
        {"\"7\", a b ", {"\"7\"", "a b"}, false},
        {"\t5 ,x", {"\t5", "x"}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitRecordFields(QString::fromLatin1(c.line)), c.fields) << c.line;
        EXPECT_EQ(isEmptyRecordLine(QString::fromLatin1(c.line)), c.empty) << c.line;
    }

    const std::pair<const char*, bool> statuses[] = {
        {"False", false}, {"FALSE", false}, {"fAlSe", false}, {"True", true},   {"TRUE", true},
        {"", true},       {"1", true},      {"0", true},      {"FALSE ", true}, {"falsey", true}};
    for (const auto& [text, on] : statuses)
        EXPECT_EQ(statusIsOn(QString::fromLatin1(text)), on) << text;
}

TEST(CanWriteFile, FindsUnwritableTargetsWithoutTouchingTheDisk)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("old.csv");
    const QString readOnly = dir.filePath("ro.csv");
    ASSERT_TRUE(test::writeFileBytes(existing, "old") && test::writeFileBytes(readOnly, "ro"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner));
    const bool root = geteuid() == 0; // permissions do not stop root
    const struct
    {
        const char* name;
        QString path;
        bool writable;
    } cases[] = {
        {"existing file", existing, true},
        {"new file", dir.filePath("new.csv"), true},
        {"missing folder", dir.filePath("no/new.csv"), false},
        {"no name", QString(), false},
        {"read-only file", readOnly, root},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString why;
        EXPECT_EQ(canWriteFile(c.path, &why), c.writable);
        EXPECT_EQ(why.isEmpty(), c.writable) << why.toStdString();
    }
    EXPECT_EQ(test::folderEntries(dir.path()), (QStringList{"old.csv", "ro.csv"}));
    EXPECT_EQ(test::fileBytes(existing), "old");
}

} // namespace
