// The GPIB service over a stand-in driver library (fake_gpib): the test loads the same library to
// script the bus and to read back which driver calls the service made.

#include "link/gpib_library_service.h"

#include "app/program_state.h"
#include "env_guard.h"

#include <QLibrary>
#include <gtest/gtest.h>

using namespace orx;
using orx::test::EnvGuard;

namespace {

struct FakeBus
{
    void (*reset)();
    void (*failAddress)(int pad, int negative);
    void (*failCall)(const char* name);
    void (*queueAnswer)(const char* bytes, long count);
    void (*overrideCount)(long count);
    long (*lastWrite)(char* buf, long size);
    const char* (*log)();
};

template <typename Function>
void resolveInto(QLibrary& library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    ASSERT_NE(function, nullptr) << name;
}

struct GpibServiceTest : ::testing::Test
{
    EnvGuard library{"ORX_GPIB_LIBRARY", QByteArray(FAKE_GPIB_PATH)};
    FakeBus bus{};

    void SetUp() override
    {
        QLibrary fake(QStringLiteral(FAKE_GPIB_PATH));
        ASSERT_TRUE(fake.load()) << qPrintable(fake.errorString());
        resolveInto(fake, "fake_gpib_reset", bus.reset);
        resolveInto(fake, "fake_gpib_fail_address", bus.failAddress);
        resolveInto(fake, "fake_gpib_fail_call", bus.failCall);
        resolveInto(fake, "fake_gpib_queue_answer", bus.queueAnswer);
        resolveInto(fake, "fake_gpib_override_count", bus.overrideCount);
        resolveInto(fake, "fake_gpib_last_write", bus.lastWrite);
        resolveInto(fake, "fake_gpib_log", bus.log);
        bus.reset();
    }

    QStringList calls() const { return QString::fromLatin1(bus.log()).split(u';', Qt::SkipEmptyParts); }
    QByteArray lastWrite() const
    {
        QByteArray bytes(256, '\0');
        bytes.truncate(bus.lastWrite(bytes.data(), bytes.size()));
        return bytes;
    }
    void queueAnswer(const QByteArray& bytes) const { bus.queueAnswer(bytes.constData(), bytes.size()); }
};

} // namespace

TEST_F(GpibServiceTest, WithoutAUsableLibraryEverythingFailsQuietly)
{
    const struct
    {
        const char* name;
        QByteArray library;
    } cases[] = {
        {"no library", ""},
        {"missing file", "/nonexistent-orx-dir/libgpib.so.0"},
        {"library without ibloc", FAKE_GPIB_NO_IBLOC_PATH},
    };
    for (const auto& c : cases) {
        const EnvGuard path("ORX_GPIB_LIBRARY", c.library);
        GpibLibraryService gpib;
        EXPECT_FALSE(gpib.hasLibrary()) << c.name;
        EXPECT_TRUE(gpib.setPrimaryAddress(5)) << c.name;
        EXPECT_FALSE(gpib.applyConfiguration()) << c.name;
        EXPECT_FALSE(gpib.write("*IDN?")) << c.name;
        EXPECT_FALSE(gpib.read().has_value()) << c.name;
        EXPECT_FALSE(gpib.goToLocal()) << c.name;
    }
    EXPECT_TRUE(calls().isEmpty()) << "no call may reach a library that lacks one: "
                                   << qPrintable(calls().join(u';'));
}

TEST_F(GpibServiceTest, PrimaryAddressStaysWithinZeroToThirty)
{
    GpibLibraryService gpib;
    EXPECT_EQ(gpib.primaryAddress(), kDefaultGpibAddress);
    const struct
    {
        int address;
        bool accepted;
        int held;
    } cases[] = {{0, true, 0}, {-1, false, 0}, {30, true, 30}, {31, false, 30}, {17, true, 17}};
    for (const auto& c : cases) {
        EXPECT_EQ(gpib.setPrimaryAddress(c.address), c.accepted) << c.address;
        EXPECT_EQ(gpib.primaryAddress(), c.held) << c.address;
    }
}

TEST_F(GpibServiceTest, ApplyingOpensTheDeviceAtTheAddress)
{
    GpibLibraryService gpib;
    ASSERT_TRUE(gpib.hasLibrary());
    EXPECT_TRUE(gpib.applyConfiguration());
    EXPECT_EQ(calls(), QStringList{"ibdev 0 8 0 11 1 0"});
}

TEST_F(GpibServiceTest, AddressWhereTheDriverFailsIsRefused)
{
    for (const int negativeDescriptor : {1, 0}) {
        bus.reset();
        bus.failAddress(17, negativeDescriptor);
        GpibLibraryService gpib;
        ASSERT_TRUE(gpib.setPrimaryAddress(17));
        EXPECT_FALSE(gpib.applyConfiguration()) << "negative descriptor " << negativeDescriptor;
        EXPECT_FALSE(gpib.write("*IDN?")) << "no device is configured after a failed apply";
        ASSERT_TRUE(gpib.setPrimaryAddress(16));
        EXPECT_TRUE(gpib.applyConfiguration()) << "negative descriptor " << negativeDescriptor;
        EXPECT_TRUE(gpib.write("*IDN?"));
    }
}

TEST_F(GpibServiceTest, WriteAndReadPassTheExactBytes)
{
    GpibLibraryService gpib;
    ASSERT_TRUE(gpib.applyConfiguration());
    const QByteArray command("*IDN?\0\r\n\xff", 9);
    EXPECT_TRUE(gpib.write(command));
    EXPECT_EQ(lastWrite(), command);
    EXPECT_EQ(calls().last(), "ibwrt 1 9");

    const QByteArray answer("QZ.Inc,ORX-A100\0,1.0\n", 21);
    queueAnswer(answer);
    const auto read = gpib.read();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, answer);
}

TEST_F(GpibServiceTest, ReadReturnsOnlyWhatArrived)
{
    const struct
    {
        const char* name;
        std::optional<long> reportedCount; // what the driver claims; nullopt = the true count
        std::optional<qsizetype> size;     // nullopt = the read fails
    } cases[] = {
        {"true count", std::nullopt, 6},
        {"driver claims more than the buffer", GpibLibraryService::kReadBufferBytes + 100,
         GpibLibraryService::kReadBufferBytes},
        {"driver claims a negative count", -5, 0},
    };
    for (const auto& c : cases) {
        bus.reset();
        if (c.reportedCount)
            bus.overrideCount(*c.reportedCount);
        GpibLibraryService gpib;
        ASSERT_TRUE(gpib.applyConfiguration());
        queueAnswer("1.234\n");
        const auto read = gpib.read();
        ASSERT_TRUE(read.has_value()) << c.name;
        EXPECT_EQ(read->size(), *c.size) << c.name;
        EXPECT_EQ(read->left(6), QByteArray("1.234\n").left(read->size())) << c.name;
    }
}

TEST_F(GpibServiceTest, FailedCallsReportFailure)
{
    GpibLibraryService gpib;
    EXPECT_FALSE(gpib.read().has_value()) << "no device configured";
    EXPECT_FALSE(gpib.goToLocal()) << "no device configured";
    ASSERT_TRUE(gpib.applyConfiguration());
    EXPECT_FALSE(gpib.read().has_value()) << "time-out: nothing to read";
    queueAnswer("1.234\n");
    bus.failCall("ibrd");
    EXPECT_FALSE(gpib.read().has_value());
    bus.failCall("ibwrt");
    EXPECT_FALSE(gpib.write(":MEAS?"));
    bus.failCall("ibloc");
    EXPECT_FALSE(gpib.goToLocal());
    EXPECT_NE(gpib.lastError(), 0);
}

TEST_F(GpibServiceTest, GoToLocalAddressesTheConfiguredDevice)
{
    GpibLibraryService gpib;
    ASSERT_TRUE(gpib.applyConfiguration());
    ASSERT_TRUE(gpib.applyConfiguration());
    EXPECT_TRUE(gpib.goToLocal());
    EXPECT_EQ(calls().last(), "ibloc 2");
}

TEST_F(GpibServiceTest, EachDeviceGoesOfflineWhenReplacedOrDestroyed)
{
    {
        GpibLibraryService gpib;
        ASSERT_TRUE(gpib.applyConfiguration());
        ASSERT_TRUE(gpib.setPrimaryAddress(17));
        bus.failAddress(17, 1);
        EXPECT_FALSE(gpib.applyConfiguration());
        EXPECT_FALSE(gpib.write("*IDN?")) << "the old device must not be used after a failed apply";
        ASSERT_TRUE(gpib.setPrimaryAddress(12));
        ASSERT_TRUE(gpib.applyConfiguration());
    }
    const QStringList expected{"ibdev 0 8 0 11 1 0", "ibonl 1 0", "ibdev 0 17 0 11 1 0",
                               "ibdev 0 12 0 11 1 0", "ibonl 2 0"};
    EXPECT_EQ(calls(), expected);
}
