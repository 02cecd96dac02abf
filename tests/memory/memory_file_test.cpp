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

TEST(ReadMemoryFileLines, LineEndsBoundsAndWhatIsLeftUnread)
{
    const QString longLine(kMaxMemoryFileLineLength, u'x');
    const QByteArray chunk(64 * 1024 - 1, 'x');
    // The bytes, the lines wanted, the lines read and what the device still holds afterwards.
    const std::tuple<QByteArray, int, QStringList, QByteArray> cases[] = {
        {"", 10, {}, ""},
        {"a\rb\nc\r\nd", 10, {"a", "b", "c", "d"}, ""},   // CR, LF and CR LF mixed; no end at the last
        {"\r\n\r\n", 10, {"", ""}, ""},                   // empty lines
        {"a\n\rb", 10, {"a", "", "b"}, ""},               // LF CR is two line ends
        {"a\r\r\nb", 10, {"a", "", "b"}, ""},             // CR CR LF too
        {"\xb5\r\n", 10, {QStringLiteral("\u00b5")}, ""}, // Latin-1
        {"a\nb\nc\nd\n", 2, {"a", "b"}, "c\nd\n"},        // stops after the last wanted line
        {"a\r\nb\r\nc", 2, {"a", "b"}, "\nc"},            // right after a CR
        {QByteArray(100000, 'x') + "\ny", 10, {longLine, "y"}, ""}, // an over-long line is cut
        {chunk + "\r\ny", 10, {longLine, "y"}, ""},                 // CR LF across the read chunks
    };
    for (auto [bytes, maxLines, lines, unread] : cases) {
        SCOPED_TRACE(lines.join(u'|').left(20).toStdString());
        QBuffer device(&bytes);
        ASSERT_TRUE(device.open(QIODevice::ReadOnly));
        bool failed = true;
        EXPECT_EQ(readMemoryFileLines(device, maxLines, &failed), lines);
        EXPECT_FALSE(failed);
        EXPECT_EQ(device.readAll(), unread);
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
    for (const auto& [line, fields, empty] :
         {std::tuple{"05, 12.500,1.000 ,  10", QStringList{"05", "12.500", "1.000", "10"}, false},
          {"", {""}, true},
          {" , ,\t,", {"", "", "\t", ""}, true},
          {"\"7\", a b ", {"\"7\"", "a b"}, false},
          {"\t5 ,x", {"\t5", "x"}, false}}) {
        EXPECT_EQ(splitRecordFields(QString::fromLatin1(line)), fields) << line;
        EXPECT_EQ(isEmptyRecordLine(QString::fromLatin1(line)), empty) << line;
    }
    for (const char* off : {"False", "FALSE", "fAlSe"})
        EXPECT_FALSE(statusIsOn(QString::fromLatin1(off))) << off;
    for (const char* on : {"True", "", "1", "0", "FALSE ", "falsey"})
        EXPECT_TRUE(statusIsOn(QString::fromLatin1(on))) << on;
}

TEST(CanWriteFile, FindsUnwritableTargetsWithoutTouchingTheDisk)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("old.csv");
    const QString readOnly = dir.filePath("ro.csv");
    ASSERT_TRUE(test::writeFileBytes(existing, "old") && test::writeFileBytes(readOnly, "ro"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner));
    const bool root = geteuid() == 0; // permissions do not stop root
    for (const auto& [path, writable] : {std::pair{existing, true},
                                         {dir.filePath("new.csv"), true},
                                         {dir.filePath("no/new.csv"), false},
                                         {QString(), false},
                                         {readOnly, root}}) {
        QString why;
        EXPECT_EQ(canWriteFile(path, &why), writable) << path.toStdString();
        EXPECT_EQ(why.isEmpty(), writable) << why.toStdString();
    }
    EXPECT_EQ(test::folderEntries(dir.path()), (QStringList{"old.csv", "ro.csv"}));
    EXPECT_EQ(test::fileBytes(existing), "old");
}

} // namespace
