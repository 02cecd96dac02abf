// The GPIB service over a stand-in driver library (fake_gpib): the test reaches the bus of the same
// loaded library to script it and to read back which driver calls the service made.

#include "support/link_rig.h"

#include <gtest/gtest.h>

using namespace orx;
using orx::test::FakeGpibBus;

namespace {

struct GpibServiceTest : ::testing::Test
{
    FakeGpibBus* bus = &orx::test::freshFakeGpibBus();

    void SetUp() override { qputenv("ORX_GPIB_LIBRARY", FAKE_GPIB_PATH); }
};

} // namespace

TEST_F(GpibServiceTest, WithoutAUsableLibraryEverythingFailsQuietly)
{
    for (const char* path : {"", "/nonexistent-orx-dir/libgpib.so.0", FAKE_GPIB_NO_IBLOC_PATH}) {
        qputenv("ORX_GPIB_LIBRARY", path);
        GpibLibraryService gpib;
        EXPECT_FALSE(gpib.hasLibrary()) << path;
        EXPECT_FALSE(gpib.applyConfiguration()) << path;
        EXPECT_FALSE(gpib.goToLocal()) << path;
    }
}

// Each apply opens the device at the address held (0 to 30). A failed apply leaves no device in use:
// the old one went offline, and a descriptor the driver gave together with an error is released. Go to
// local addresses the device in use, and the last device goes offline with the service.
TEST_F(GpibServiceTest, DevicesAreOpenedAtTheAddressAndTakenOffline)
{
    {
        GpibLibraryService gpib;
        ASSERT_TRUE(gpib.applyConfiguration());
        EXPECT_TRUE(gpib.setPrimaryAddress(30));
        EXPECT_FALSE(gpib.setPrimaryAddress(31));
        bus->failingAddress = 30;
        for (const bool withDescriptor : {false, true}) {
            bus->failWithDescriptor = withDescriptor;
            EXPECT_FALSE(gpib.applyConfiguration()) << withDescriptor;
            EXPECT_FALSE(gpib.write("*IDN?")) << "no device is in use after a failed apply";
        }
        EXPECT_TRUE(gpib.setPrimaryAddress(0));
        EXPECT_FALSE(gpib.setPrimaryAddress(-1));
        ASSERT_TRUE(gpib.applyConfiguration());
        EXPECT_TRUE(gpib.write("*IDN?"));
        EXPECT_TRUE(gpib.goToLocal());
    }
    const std::vector<std::string> expected{"ibdev 0 8 0 11 1 0",  "ibonl 1 0", "ibdev 0 30 0 11 1 0",
                                            "ibdev 0 30 0 11 1 0", "ibonl 2 0", "ibdev 0 0 0 11 1 0",
                                            "ibwrt 3 *IDN?",       "ibloc 3",   "ibonl 3 0"};
    EXPECT_EQ(bus->calls, expected);
}

// Reads and writes pass exactly the bytes that crossed, or fail. A read returns neither more than its
// buffer nor a failure when a faulty driver claims a count beyond it or a negative one.
TEST_F(GpibServiceTest, WriteAndReadPassExactlyTheBytesThatCrossed)
{
    GpibLibraryService gpib;
    EXPECT_FALSE(gpib.read().has_value()) << "no device configured";
    EXPECT_FALSE(gpib.goToLocal()) << "no device configured";
    ASSERT_TRUE(gpib.applyConfiguration());
    const QByteArray command("*IDN?\0\r\n\xff", 9);
    EXPECT_TRUE(gpib.write(command));
    EXPECT_EQ(bus->calls.back(), "ibwrt 1 " + command.toStdString());
    EXPECT_FALSE(gpib.read().has_value()) << "time-out: nothing to read";

    const QByteArray answer("QZ.Inc,ORX-A100\0,1.0\n", 21);
    const auto maxBytes = GpibLibraryService::kReadBufferBytes;
    const std::pair<std::optional<long>, qsizetype> cases[] = {
        {std::nullopt, answer.size()}, {maxBytes + 100, maxBytes}, {-5, 0}};
    for (const auto& [reportedCount, size] : cases) {
        bus->reportedCount = reportedCount;
        bus->answer = answer.toStdString();
        const auto read = gpib.read();
        ASSERT_TRUE(read.has_value()) << size;
        EXPECT_EQ(read->size(), size);
        EXPECT_EQ(read->left(answer.size()), answer.left(read->size()));
    }

    bus->answer = "1.234\n";
    bus->failingCalls = "ibwrt ibrd ibloc";
    EXPECT_FALSE(gpib.read().has_value());
    EXPECT_FALSE(gpib.write(":MEAS?"));
    EXPECT_FALSE(gpib.goToLocal());
    EXPECT_NE(gpib.lastError(), 0);
}
