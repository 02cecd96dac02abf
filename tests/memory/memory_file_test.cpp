// The memory data file: bounded line reading with every kind of line end, the field and status rules,
// the exact bytes written, and atomic replacement that never harms the old file.

#include "app/program_state.h"
#include "memory/memory_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
        {"Latin-1 and NUL bytes",
         QByteArray("\xb5"
                    "A\0z\r\n",
                    5),
         10,
         {QStringLiteral("\u00b5A") + QChar(0) + u'z'},
         ""},
        {"stops after the last wanted line", "a\nb\nc\nd\n", 2, {"a", "b"}, "c\nd\n"},
        {"stops right after a CR", "a\r\nb\r\nc", 2, {"a", "b"}, "\nc"},
        {"a last line without end counts", "a\nb", 2, {"a", "b"}, ""},
        {"over-long line is cut", repeated('x', 100000) + "\ny", 10, {longLine, "y"}, ""},
        {"CR LF across the read chunks", repeated('x', 64 * 1024 - 1) + "\r\ny", 10, {longLine, "y"}, ""},
        {"a huge file without line ends",
         repeated('7', 3 * 1024 * 1024),
         10,
         {QString(kMaxMemoryFileLineLength, u'7')},
         ""},
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

TEST(ReadMemoryFileLines, AFileOfManyLinesIsReadOnlyAsFarAsTheFormatHolds)
{
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += QByteArray::number(i % 100) + ", 1.000\r\n";
    QBuffer device(&bytes);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    const QStringList lines = readMemoryFileLines(device);
    ASSERT_EQ(lines.size(), kMaxMemoryFileLines);
    EXPECT_EQ(lines.last(), QStringLiteral("1, 1.000"));
    EXPECT_LT(device.pos(), bytes.size() / 4);
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

TEST(ReadMemoryFile, OpensOnlyReadableFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("m.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Record\r\n00, 1\n");
    file.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));

    const struct
    {
        const char* name;
        QString path;
        std::optional<QStringList> lines;
    } cases[] = {{"file", dir.filePath("m.csv"), QStringList{"Record", "00, 1"}},
                 {"missing", dir.filePath("none.csv"), std::nullopt},
                 {"a folder", dir.filePath("folder"), std::nullopt},
                 {"no name", QString(), std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString why;
        EXPECT_EQ(readMemoryFile(c.path, &why), c.lines);
        EXPECT_EQ(why.isEmpty(), c.lines.has_value()) << why.toStdString();
    }
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
    EXPECT_TRUE(statusIsOn(statusText(true)));
    EXPECT_FALSE(statusIsOn(statusText(false)));
}

TEST(MemoryFileBytes, HeaderAndOneHundredRecordLinesEachEndingInCrLf)
{
    std::array<MemoryRecordTexts, kMemoryCount> records;
    records[5] = {"12.500", "1.000", "10", "13.000", "1.100", "True", "False"};
    records[99] = {"0.000", "0.000", "1", "1.000", "0.000", QStringLiteral("\u00b5"), "x"};
    const QByteArray bytes = memoryFileBytes(kCsvHeader, records);

    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 102); // the last line end leaves an empty piece
    EXPECT_TRUE(lines.last().isEmpty());
    EXPECT_EQ(lines[0], kCsvHeader.toLatin1() + '\r');
    EXPECT_EQ(lines[1], "00, , , , , , , \r");
    EXPECT_EQ(lines[6], "05, 12.500, 1.000, 10, 13.000, 1.100, True, False\r");
    EXPECT_EQ(lines[100], "99, 0.000, 0.000, 1, 1.000, 0.000, \xb5, x\r");
    for (int i = 0; i <= kMemoryCount; ++i)
        EXPECT_EQ(lines[i].count('\r'), 1) << i;
    EXPECT_EQ(recordLine(7, records[5]), QStringLiteral("07, 12.500, 1.000, 10, 13.000, 1.100, True, False"));
}

// A folder with one old file in it; tells whether it still holds exactly that file, unchanged.
struct OldFile
{
    OldFile()
    {
        QFile file(path());
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    QString path() const { return dir.filePath("memories.csv"); }
    bool untouched() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) && file.readAll() == content &&
               QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) ==
                   QStringList{"memories.csv"};
    }

    QTemporaryDir dir;
    const QByteArray content = "Record\r\n00, 1.000\r\n";
};

// Lowers the largest file this process may write, and makes writing past it an error instead of a
// signal, for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFileAndLeavesNothingBehind)
{
    const QByteArray big = repeated('z', 100000);
    const struct
    {
        const char* name;
        std::function<QString(OldFile&)> target; // prepares the failure, gives the path to write
        std::function<std::unique_ptr<FileSizeLimit>()> limit;
    } cases[] = {
        {"the target is a folder",
         [](OldFile& old) {
             QDir(old.dir.path()).mkdir("folder");
             return old.dir.filePath("folder");
         },
         [] {
             return nullptr;
         }},
        {"the folder does not exist", [](OldFile& old) { return old.dir.filePath("no/such.csv"); },
         [] {
             return nullptr;
         }},
        {"the disk takes no more", [](OldFile& old) { return old.path(); },
         [] {
             return std::make_unique<FileSizeLimit>(4096);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OldFile old;
        const QString path = c.target(old);
        QStringList before = QDir(old.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QString why;
        bool written = true;
        {
            const auto limit = c.limit();
            written = writeFileAtomically(path, big, &why);
        }
        EXPECT_FALSE(written);
        EXPECT_FALSE(why.isEmpty());
        QFile file(old.path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), old.content);
        EXPECT_EQ(QDir(old.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  before);
    }
}

TEST(WriteFileAtomically, ReplacesTheWholeFile)
{
    OldFile old;
    QString why;
    ASSERT_TRUE(writeFileAtomically(old.path(), "new", &why)) << why.toStdString();
    QFile file(old.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "new");
}

TEST(CanWriteFile, FindsUnwritableTargetsWithoutTouchingTheDisk)
{
    OldFile old;
    ASSERT_TRUE(QDir(old.dir.path()).mkdir("folder"));
    QFile readOnly(old.dir.filePath("ro.csv"));
    ASSERT_TRUE(readOnly.open(QIODevice::WriteOnly));
    readOnly.close();
    const bool root = geteuid() == 0; // permissions do not stop root
    ASSERT_TRUE(readOnly.setPermissions(QFileDevice::ReadOwner));
    const QStringList before = QDir(old.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const struct
    {
        const char* name;
        QString path;
        bool writable;
    } cases[] = {
        {"existing file", old.path(), true},
        {"new file", old.dir.filePath("new.csv"), true},
        {"a folder", old.dir.filePath("folder"), false},
        {"missing folder", old.dir.filePath("no/new.csv"), false},
        {"no name", QString(), false},
        {"read-only file", readOnly.fileName(), root},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString why;
        EXPECT_EQ(canWriteFile(c.path, &why), c.writable);
        EXPECT_EQ(why.isEmpty(), c.writable) << why.toStdString();
    }
    EXPECT_EQ(QDir(old.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(QFile(old.path()).size() == old.content.size());
}

} // namespace
